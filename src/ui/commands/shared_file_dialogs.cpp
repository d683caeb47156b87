#include "ui/commands/shared_file_dialogs.h"

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

void SharedFileDialogs::DatabaseDialogDefaults() {
    namespace d = zx::DatabaseDialogDefaults;
    open_.defaultSuffix = save_.defaultSuffix = QString::fromUtf8(d::DefaultExtension);
    open_.title = QString::fromUtf8(d::OpenTitle);
    save_.title = QString::fromUtf8(d::SaveTitle);
}

void SharedFileDialogs::setDatabaseFilter() {
    open_.filter = save_.filter = qtFilter(zx::DatabaseDialogDefaults::Filter);
}

QString SharedFileDialogs::open(QWidget* parent, Interaction& interaction) {
    const QString file = interaction.openFileName(parent, open_);
    remember(file);
    return file;
}

QString SharedFileDialogs::save(QWidget* parent, Interaction& interaction) {
    const QString file = interaction.saveFileName(parent, save_);
    remember(file);
    return file;
}

void SharedFileDialogs::remember(const QString& file) {
    if (file.isEmpty()) return;
    open_.directory = save_.directory = QFileInfo(file).absolutePath();
}

} // namespace zx
