#include "ui/dialogs/open_file_dialog.h"

#include "files/file_dialogs.h"

#include <QFileInfo>

namespace zx {

OpenFileDialog::OpenFileDialog(QWidget* parent, const QString& title, const QString& directory,
                               const QString& filter, const QString& defaultExtension)
    : QFileDialog(parent, title, directory, filter), extension_(defaultExtension) {
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog: its texts and dates follow the program's Hungarian, and accept() is ours.
    setOption(QFileDialog::DontUseNativeDialog);
}

QString OpenFileDialog::chosenFile() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : openedFileName(files.constFirst(), extension_);
}

void OpenFileDialog::accept() {
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
        const QString opened = openedFileName(files.constFirst(), extension_);
        if (opened != files.constFirst() && QFileInfo(opened).isFile())
            selectFile(QFileInfo(opened).fileName());
    }
    QFileDialog::accept();
}

} // namespace zx
