#pragma once
// The one open dialog and the one save dialog every file command shares. Each command gives
// them its own default extension, filter and title before it shows one; the import and export
// commands give the database settings back when they end (DatabaseDialogDefaults). Both start
// in the folder of the last file a command succeeded with (rememberFolderOf), never in the
// system's pseudo file systems (dialogStartFolder); a file chosen but not read or written is
// not remembered.
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
    void restoreDatabaseDefaults();
    // The database filter on both (Open, Save and Save As set it themselves).
    void setDatabaseFilter();

    // The file chosen, empty when the dialog was cancelled.
    QString open(QWidget* parent, Interaction& interaction);
    QString save(QWidget* parent, Interaction& interaction);

    // Called by a command once it has read or written `file`: the next dialogs start there.
    void rememberFolderOf(const QString& file);

    // The requests as the dialogs were last given them (the folder as shown).
    const Interaction::FileRequest& openRequest() const { return open_; }
    const Interaction::FileRequest& saveRequest() const { return save_; }

  private:
    QString startFolder() const;

    QString remembered_;

    Interaction::FileRequest open_;
    Interaction::FileRequest save_;
};

} // namespace zx
