#pragma once
// The configuration being edited: the one record with its image, the model it is read with,
// the modified flag, the database file it came from and that file's time. Editors and commands
// change the image only through it; the window, the status bar and the commands follow its
// signals. It also owns the commit step that every command reading the configuration runs
// first, so that what the window shows is what is saved, sent or printed.
#include "model/database_record.h"
#include "model/image_patch.h"
#include "model/memory_map.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace zx {

class ConfigDocument : public QObject {
    Q_OBJECT
  public:
    explicit ConfigDocument(DatabaseRecord& record, QObject* parent = nullptr);

    const DatabaseRecord& record() const { return record_; }
    const ConfigImage& image() const { return record_.image; }

    // The model every part of the program reads the image with, and its map.
    DeviceModel model() const { return model_; }
    const MemoryMap& map() const { return MemoryMap::of(model_); }
    // Installs the map of another model; the image is not touched.
    void setModel(DeviceModel model);

    // The modified flag: set by a store or a replaced record that changed a byte, or by a
    // download; cleared by a new configuration, a file taken and a file written. The working
    // copies (the code grid, the free-number list) set it only through their stores.
    bool isModified() const { return modified_; }
    void markModified() { setModified(true); }
    // The configuration shown is the untouched new one: no file and no change since New.
    bool isUntouchedNew() const { return currentFileName_.isEmpty() && !modified_; }

    QString currentFileName() const { return currentFileName_; }
    // The modification time of the database file last read (invalid before any).
    QDateTime lastModified() const { return lastModified_; }

    // What a store does to the modified flag. The one rule: a store marks the configuration
    // modified only when it changed a byte, so a patch that writes what is already there (a
    // field entered and left, a list imported again) leaves the flag as it was.
    enum class Flag {
        Keep,         // never touches it
        SetIfChanged, // sets it when at least one byte changed
    };
    // Writes a store's bytes; returns how many bytes changed. After editing has ended nothing
    // is written.
    int apply(const ImagePatch& patch, Flag flag);
    // The whole image at once (a download); the flag is the download command's.
    void replaceImage(const ConfigImage& image);
    // The whole record at once (the preferences' texts and code table); by the same rule it
    // marks the configuration modified only when a byte of the record changed. True then.
    bool replaceRecord(const DatabaseRecord& record);
    // A database file taken: its record, name and time; nothing unsaved any more.
    void takeFile(const DatabaseRecord& record, const QString& fileName,
                  const QDateTime& lastModified);
    // The record was written to fileName: it is the current file and nothing is unsaved.
    void markSaved(const QString& fileName);
    // The defaults of the current model into the record; no file name and no change.
    void newConfiguration();
    // Changes to the record outside the image (the connection name a save records).
    void setText(DatabaseRecord::Slot slot, const RawText& text);

    // The commit step. Every view that may hold an edit not yet stored (the field being typed
    // in, the code grid's open cell, the working copies) registers what stores it; the step runs
    // them in order, without running the event loop. False when one
    // refused: its message was shown, the focus and the typed text stay, and the command that
    // asked must stop.
    using Committer = std::function<bool()>;
    void addCommitter(const QObject* owner, Committer committer);
    void removeCommitter(const QObject* owner);
    bool commitPendingEdits();

    // The window that edits the document is going away: no store is taken from now on.
    void endEditing() { ended_ = true; }

  signals:
    void imageChanged();
    void modelChanged(DeviceModel model);
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& name);

  private:
    void setModified(bool modified);
    void setCurrentFileName(const QString& name);

    DatabaseRecord& record_;
    DeviceModel model_ = DeviceModel::Line4;
    bool modified_ = false;
    QString currentFileName_;
    QDateTime lastModified_;
    std::vector<std::pair<const QObject*, Committer>> committers_;
    bool committing_ = false;
    bool ended_ = false;
};

} // namespace zx
