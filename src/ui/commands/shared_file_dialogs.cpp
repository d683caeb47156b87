#include "ui/commands/shared_file_dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace zx {

namespace {

void apply(Interaction::FileRequest& r, const FileDialogSettings& s) {
    r.defaultSuffix = QString::fromUtf8(s.defaultExtension);
    r.filter = qtFilter(s.filter);
    r.title = QString::fromUtf8(s.title);
}

} // namespace

SharedFileDialogs::SharedFileDialogs() {
    namespace d = zx::DatabaseDialogDefaults;
    open_.title = QString::fromUtf8(d::InitialOpenTitle);
    save_.title = QString::fromUtf8(d::InitialSaveTitle);
    open_.defaultSuffix = save_.defaultSuffix = QString::fromUtf8(d::DefaultExtension);
    setDatabaseFilter();
}

void SharedFileDialogs::setOpen(const FileDialogSettings& settings) {
    apply(open_, settings);
}

void SharedFileDialogs::setSave(const FileDialogSettings& settings) {
    apply(save_, settings);
}

void SharedFileDialogs::restoreDatabaseDefaults() {
    namespace d = zx::DatabaseDialogDefaults;
    open_.defaultSuffix = save_.defaultSuffix = QString::fromUtf8(d::DefaultExtension);
    open_.title = QString::fromUtf8(d::OpenTitle);
    save_.title = QString::fromUtf8(d::SaveTitle);
}

void SharedFileDialogs::setDatabaseFilter() {
    open_.filter = save_.filter = qtFilter(zx::DatabaseDialogDefaults::Filter);
}

QString SharedFileDialogs::open(QWidget* parent, Interaction& interaction) {
    open_.directory = startFolder();
    return interaction.openFileName(parent, open_);
}

QString SharedFileDialogs::save(QWidget* parent, Interaction& interaction) {
    save_.directory = startFolder();
    return interaction.saveFileName(parent, save_);
}

void SharedFileDialogs::rememberFolderOf(const QString& file) {
    if (!file.isEmpty()) remembered_ = QFileInfo(file).absolutePath();
}

QString SharedFileDialogs::startFolder() const {
    // Until a command has succeeded, where a dialog without a folder would start.
    const QString folder = remembered_.isEmpty() ? QDir::currentPath() : remembered_;
    // A link into /proc, /sys or /dev is judged by where it leads.
    const QString real = QFileInfo(folder).canonicalFilePath();
    return dialogStartFolder(real.isEmpty() ? folder : real, QDir::homePath());
}

} // namespace zx
