#pragma once
// The one open dialog and the one save dialog every file command shares. Each command gives
// them its own default extension, filter and title before it shows one; the import and export
// commands give the database settings back when they end (DatabaseDialogDefaults). Both
// remember the folder of the last file chosen.
#include "files/file_dialogs.h"
#include "ui/dialogs/interaction.h"

namespace zx {

class SharedFileDialogs {
  public:
    SharedFileDialogs();

    // Extension, filter and title of an import (open) or export (save) command.
    void setOpen(const FileDialogSettings& settings);
    void setSave(const FileDialogSettings& settings);
    // The database extension and titles on both dialogs.
    void DatabaseDialogDefaults();
    // The database filter on both (Open, Save and Save As set it themselves).
    void setDatabaseFilter();

    // The file chosen, empty when the dialog was cancelled.
    QString open(QWidget* parent, Interaction& interaction);
    QString save(QWidget* parent, Interaction& interaction);

    const Interaction::FileRequest& openRequest() const { return open_; }
    const Interaction::FileRequest& saveRequest() const { return save_; }

  private:
    void remember(const QString& file);

    Interaction::FileRequest open_;
    Interaction::FileRequest save_;
};

} // namespace zx
