#pragma once
// The configuration being edited: the one record with its image, the model it is read with,
// the modified flag, the database file it came from and that file's time. Editors and commands
// change the image only through it; the window, the status bar and the commands follow its
// signals.
#include "model/database_record.h"
#include "model/image_patch.h"
#include "model/memory_map.h"

#include <QDateTime>
#include <QObject>
#include <QString>

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

    bool isModified() const { return modified_; }
    void setModified(bool modified);

    QString currentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString& name);
    // The modification time of the database file last read (invalid before any).
    QDateTime lastModified() const { return lastModified_; }
    void setLastModified(const QDateTime& time) { lastModified_ = time; }

    // What a store does to the modified flag.
    enum class Flag {
        Keep,         // never touches it
        Set,          // sets it, whatever changed
        SetIfChanged, // sets it when at least one byte changed
    };
    // Writes a store's bytes; returns how many bytes changed.
    int apply(const ImagePatch& patch, Flag flag);
    // The whole image at once (a download, a new configuration).
    void replaceImage(const ConfigImage& image);
    // The whole record at once (a database file read).
    void replaceRecord(const DatabaseRecord& record);
    // The defaults of the current model into the record; no file name any more.
    void newConfiguration();
    // Changes to the record outside the image (the preferences' texts).
    void setText(DatabaseRecord::Slot slot, const RawText& text);

  signals:
    void imageChanged();
    void modelChanged(DeviceModel model);
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString& name);

  private:
    DatabaseRecord& record_;
    DeviceModel model_ = DeviceModel::Line4;
    bool modified_ = false;
    QString currentFileName_;
    QDateTime lastModified_;
};

} // namespace zx
