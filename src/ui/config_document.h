#pragma once
// The configuration being edited: the one record with its image, the model it is read with,
// the modified flag, the database file it came from and that file's time, and the undo history
// of every change. Editors and commands change the record only through it; the window, the
// status bar and the commands follow its signals. It also owns the commit step that every command
// reading the configuration runs first, so that what the window shows is what is saved, sent or
// printed.
#include "model/database_record.h"
#include "model/edit_history.h"
#include "model/image_patch.h"
#include "model/memory_map.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zx {

// Who makes a change, for the undo history: the name the undo command gives the step (when
// empty, the settings it changed name it, those of `namedBy` alone when any of them changed)
// and the control (its object name) and row that show it (when 0, the first element of a list
// that changed). A step with a name of its own never merges with another.
struct ChangeSource {
    std::string name = {};
    std::string control = {};
    int row = 0;
    std::optional<Field> namedBy = {};
};

class ConfigDocument : public QObject {
    Q_OBJECT
  public:
    explicit ConfigDocument(DatabaseRecord& record, QObject* parent = nullptr);

    const DatabaseRecord& record() const { return record_; }
    const ConfigImage& image() const { return record_.image; }

    // The model every part of the program reads the image with, and its map.
    DeviceModel model() const { return model_; }
    const MemoryMap& map() const { return MemoryMap::of(model_); }
    // Installs the map of another model; the image is not touched, the history starts anew.
    void setModel(DeviceModel model);

    // The modified flag: set while the record differs from the state last opened, saved or
    // created, and after a download until the next of those. It follows the undo history: undoing
    // back to that state clears it. The working copies (the code grid, the free-number list) set
    // it only through their stores.
    bool isModified() const { return modified_; }
    // No saved state any more (a download): the flag stays set until the next save, open or new.
    void markModified();
    // The configuration shown is the untouched new one: no file and no change since New.
    bool isUntouchedNew() const { return currentFileName_.isEmpty() && !modified_; }

    QString currentFileName() const { return currentFileName_; }
    // The modification time of the database file last read (invalid before any).
    QDateTime lastModified() const { return lastModified_; }

    // Writes a store's bytes as one step of the undo history; returns how many bytes changed.
    // A patch that changes nothing adds no step. After editing has ended nothing is written.
    int apply(const ImagePatch& patch, const ChangeSource& source = {});
    // The whole image at once (a download): a new history. The download command then marks
    // the configuration modified.
    void replaceImage(const ConfigImage& image);
    // The whole record at once (the preferences' texts and code table), one step; true when a
    // byte of the record changed.
    bool replaceRecord(const DatabaseRecord& record, const ChangeSource& source = {});
    // A database file taken: its record, name and time; nothing unsaved any more, a new history.
    void takeFile(const DatabaseRecord& record, const QString& fileName,
                  const QDateTime& lastModified);
    // The record was written to fileName, which now has the time lastModified: it is the
    // current file and the state saved; the history stays.
    void markSaved(const QString& fileName, const QDateTime& lastModified = {});
    // The defaults of the current model into the record; no file name and so no file time, no
    // change, a new history.
    void newConfiguration();
    // Changes to the record outside the image (the connection name a save records): no step,
    // and no change of the configuration.
    void setText(DatabaseRecord::Slot slot, const RawText& text);

    // The undo history. Undo and redo write the step's bytes back and tell where the change is
    // shown; nothing when there is no step (or editing has ended).
    bool canUndo() const { return !ended_ && history_.canUndo(); }
    bool canRedo() const { return !ended_ && history_.canRedo(); }
    // The names of the steps the next undo and redo take; empty when there is none.
    QString undoName() const;
    QString redoName() const;
    std::optional<StepPlace> undo();
    std::optional<StepPlace> redo();
    // The next store is a step of its own, even of the setting the last step stored.
    void fenceHistory() { history_.fence(); }

    // The commit step. Every view that may hold an edit not yet stored (the field being typed
    // in, the code grid's open cell, the working copies) registers what stores it; the step runs
    // them in order, without running the event loop. False when one
    // refused: its message was shown, the focus and the typed text stay, and the command that
    // asked must stop.
    using Committer = std::function<bool()>;
    void addCommitter(const QObject* owner, Committer committer);
    void removeCommitter(const QObject* owner);
    bool commitPendingEdits();
    // The same, with what it stores a step of its own (not merged into the last step of its
    // setting), as an undo runs it: the step the undo then takes is the one the commands name.
    // When nothing was stored the history merges as before.
    bool commitPendingEditsAsOwnStep();

    // The window that edits the document is going away: no store is taken from now on.
    void endEditing() { ended_ = true; }

  signals:
    void imageChanged();
    void modelChanged(DeviceModel model);
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& name);
    // Steps were added, undone, redone or dropped.
    void historyChanged();

  private:
    void setModified(bool modified);
    // A change from `before` to the record as it now is, as one step; the flag and the signals
    // follow.
    void recordChange(const DatabaseRecord& before, const ChangeSource& source);
    void followClean();
    void startHistory();
    std::optional<StepPlace> step(bool back);
    void setCurrentFileName(const QString& name);

    DatabaseRecord& record_;
    DeviceModel model_ = DeviceModel::Line4;
    bool modified_ = false;
    EditHistory history_;
    QString currentFileName_;
    QDateTime lastModified_;
    std::vector<std::pair<const QObject*, Committer>> committers_;
    bool committing_ = false;
    unsigned long changes_ = 0; // steps recorded, for a commit that stored nothing
    bool ended_ = false;
};

} // namespace zx
