#include "ui/config_document.h"

#include "model/new_configuration.h"

#include <algorithm>

namespace zx {

ConfigDocument::ConfigDocument(DatabaseRecord& record, QObject* parent)
    : QObject(parent), record_(record) {}

void ConfigDocument::setModel(DeviceModel model) {
    if (model == model_) return;
    model_ = model;
    emit modelChanged(model_);
}

void ConfigDocument::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void ConfigDocument::setCurrentFileName(const QString& name) {
    currentFileName_ = name;
    emit fileNameChanged(currentFileName_);
}

int ConfigDocument::apply(const ImagePatch& patch, Flag flag) {
    if (ended_) return 0;
    const int changed = patch.applyTo(record_.image);
    if (flag == Flag::SetIfChanged && changed > 0) setModified(true);
    if (changed > 0) emit imageChanged();
    return changed;
}

void ConfigDocument::replaceImage(const ConfigImage& image) {
    record_.image = image;
    emit imageChanged();
}

bool ConfigDocument::replaceRecord(const DatabaseRecord& record) {
    if (ended_ || record == record_) return false;
    record_ = record;
    emit imageChanged();
    setModified(true);
    return true;
}

void ConfigDocument::takeFile(const DatabaseRecord& record, const QString& fileName,
                              const QDateTime& lastModified) {
    record_ = record;
    lastModified_ = lastModified;
    setCurrentFileName(fileName);
    emit imageChanged();
    setModified(false);
}

void ConfigDocument::markSaved(const QString& fileName) {
    if (fileName != currentFileName_) setCurrentFileName(fileName);
    setModified(false);
}

void ConfigDocument::newConfiguration() {
    applyNewConfiguration(record_, model_);
    setCurrentFileName(QString());
    emit imageChanged();
    setModified(false);
}

void ConfigDocument::setText(DatabaseRecord::Slot slot, const RawText& text) {
    record_.setText(slot, text);
}

void ConfigDocument::addCommitter(const QObject* owner, Committer committer) {
    committers_.emplace_back(owner, std::move(committer));
}

void ConfigDocument::removeCommitter(const QObject* owner) {
    std::erase_if(committers_, [owner](const auto& c) { return c.first == owner; });
}

bool ConfigDocument::commitPendingEdits() {
    if (ended_ || committing_) return !ended_;
    // Runs no event loop: nothing queued (a transfer's end, a port delivery, a page built late)
    // can run in the middle of the command that asked.
    committing_ = true;
    bool accepted = true;
    // A committer may register or remove others (a view built late), so the list is copied.
    const auto committers = committers_;
    for (const auto& [owner, commit] : committers) {
        if (!commit()) {
            accepted = false;
            break;
        }
    }
    committing_ = false;
    return accepted;
}

} // namespace zx
