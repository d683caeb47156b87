#include "ui/dialogs/interaction.h"

#include "ui/dialogs/open_file_dialog.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>

namespace zx {

namespace {

const QString AppTitle = QStringLiteral("Zendrax");

// Button captions in Hungarian whatever translations the system has.
void hungarianButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "OK"},
        {QMessageBox::Yes, "&Igen"},
        {QMessageBox::No, "&Nem"},
        {QMessageBox::Cancel, "Mégse"},
    };
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(caption));
}

// Room a title bar takes beside its text: the window's icon and its buttons.
constexpr int TitleBarRoom = 150;

int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
            const Interaction::Captions& captions = {}) {
    return DesktopInteraction::messageBox(parent, icon, title, text, int(buttons),
                                          int(defaultButton), captions)
        ->exec();
}

QString runSaveDialog(QWidget* parent, const Interaction::FileRequest& request) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    // Qt's own dialog, not the desktop's: its texts and dates are Hungarian like the program's,
    // where a native one would follow the session's language and locale.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::unique_ptr<QMessageBox>
DesktopInteraction::messageBox(QWidget* parent, int icon, const QString& title, const QString& text,
                               int buttons, int defaultButton, const Captions& captions) {
    // The closing " !!!" stays on the line of the words it closes.
    QString shown = text;
    shown.replace(QStringLiteral(" !!!"), QStringLiteral("\u00A0!!!"));
    auto box = std::make_unique<QMessageBox>(static_cast<QMessageBox::Icon>(icon), title, shown,
                                             QMessageBox::StandardButtons(buttons), parent);
    box->setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
    hungarianButtons(*box);
    const std::pair<QMessageBox::StandardButton, QString> own[] = {
        {QMessageBox::Yes, captions.yes},
        {QMessageBox::No, captions.no},
        {QMessageBox::Cancel, captions.cancel},
    };
    for (const auto& [button, caption] : own)
        if (QAbstractButton* b = box->button(button); b && !caption.isEmpty()) b->setText(caption);
    // A short message would give a box too narrow for its title, which the window's frame then
    // cuts to its first letter: the box is kept at least as wide as the title bar needs.
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + TitleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

void DesktopInteraction::message(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void DesktopInteraction::error(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Critical, QStringLiteral("Hiba"), text, QMessageBox::Ok,
            QMessageBox::Ok);
}

Interaction::Answer DesktopInteraction::askYesNoCancel(QWidget* parent, const QString& title,
                                                       const QString& text,
                                                       const Captions& captions) {
    switch (showBox(parent, QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                    captions)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Interaction::Answer DesktopInteraction::askYesNo(QWidget* parent, const QString& title,
                                                 const QString& text, Answer defaultAnswer) {
    return showBox(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                   defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No) ==
                   QMessageBox::Yes
               ? Answer::Yes
               : Answer::No;
}

bool DesktopInteraction::confirm(QWidget* parent, const QString& text) {
    return showBox(parent, QMessageBox::Question, QString::fromUtf8("Megerősítés"), text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool DesktopInteraction::errorOkCancel(QWidget* parent, const QString& text) {
    return showBox(parent, QMessageBox::Critical, QStringLiteral("Hiba"), text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

QString DesktopInteraction::openFileName(QWidget* parent, const FileRequest& request) {
    OpenFileDialog dialog(parent, request.title, request.directory, request.filter,
                          request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.chosenFile();
}

QString DesktopInteraction::saveFileName(QWidget* parent, const FileRequest& request) {
    return runSaveDialog(parent, request);
}

QString DesktopInteraction::folderName(QWidget* parent, const QString& title,
                                       const QString& start) {
    QFileDialog dialog(parent, title, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

int DesktopInteraction::runDialog(QDialog& dialog) {
    return dialog.exec();
}

} // namespace zx
