#include "ui/config_document.h"

#include "model/change_label.h"
#include "model/new_configuration.h"

#include <algorithm>

namespace zx {

ConfigDocument::ConfigDocument(DatabaseRecord& record, QObject* parent)
    : QObject(parent), record_(record) {
    history_.markClean(record_.toBytes());
}

void ConfigDocument::setModel(DeviceModel model) {
    if (model == model_) return;
    model_ = model;
    // The steps name controls and offsets of the previous model's layout.
    startHistory();
    emit modelChanged(model_);
}

void ConfigDocument::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void ConfigDocument::markModified() {
    history_.forgetClean();
    setModified(true);
}

void ConfigDocument::followClean() {
    setModified(history_.differsFromClean(record_.toBytes()));
}

void ConfigDocument::startHistory() {
    history_.clear();
    emit historyChanged();
}

void ConfigDocument::setCurrentFileName(const QString& name) {
    currentFileName_ = name;
    emit fileNameChanged(currentFileName_);
}

void ConfigDocument::recordChange(const DatabaseRecord& before, const ChangeSource& source) {
    // What changed names the step, and its row, unless the source says them.
    StepLabel label;
    if (source.name.empty() || source.row == 0)
        label = describeChange(before, record_, model_, source.namedBy);
    if (!source.name.empty()) {
        label.name = source.name;
        label.mergeKey.clear();
    }
    label.place.control = source.control;
    if (source.row > 0) label.place.row = source.row;
    history_.record(before.toBytes(), record_.toBytes(), std::move(label));
    ++changes_;
    emit imageChanged();
    emit historyChanged();
    followClean();
}

int ConfigDocument::apply(const ImagePatch& patch, const ChangeSource& source) {
    if (ended_) return 0;
    const DatabaseRecord before = record_;
    const int changed = patch.applyTo(record_.image);
    if (changed > 0) recordChange(before, source);
    return changed;
}

void ConfigDocument::replaceImage(const ConfigImage& image) {
    record_.image = image;
    history_.clear();
    emit imageChanged();
    emit historyChanged();
    followClean();
}

bool ConfigDocument::replaceRecord(const DatabaseRecord& record, const ChangeSource& source) {
    if (ended_ || record == record_) return false;
    const DatabaseRecord before = record_;
    record_ = record;
    recordChange(before, source);
    return true;
}

void ConfigDocument::takeFile(const DatabaseRecord& record, const QString& fileName,
                              const QDateTime& lastModified) {
    record_ = record;
    lastModified_ = lastModified;
    setCurrentFileName(fileName);
    history_.markClean(record_.toBytes());
    startHistory();
    emit imageChanged();
    setModified(false);
}

void ConfigDocument::markSaved(const QString& fileName, const QDateTime& lastModified) {
    lastModified_ = lastModified;
    if (fileName != currentFileName_) setCurrentFileName(fileName);
    history_.markClean(record_.toBytes());
    setModified(false);
}

void ConfigDocument::newConfiguration() {
    applyNewConfiguration(record_, model_);
    lastModified_ = QDateTime();
    setCurrentFileName(QString());
    history_.markClean(record_.toBytes());
    startHistory();
    emit imageChanged();
    setModified(false);
}

void ConfigDocument::setText(DatabaseRecord::Slot slot, const RawText& text) {
    record_.setText(slot, text);
    const auto bytes = record_.toBytes();
    const std::size_t at = DatabaseRecord::slotOffset(slot);
    history_.carryIntoClean(at, std::span<const Byte>(bytes).subspan(at, ShortStringSlotSize));
}

QString ConfigDocument::undoName() const {
    const StepLabel* next = canUndo() ? history_.nextUndo() : nullptr;
    return next ? QString::fromStdString(next->name) : QString();
}

QString ConfigDocument::redoName() const {
    const StepLabel* next = canRedo() ? history_.nextRedo() : nullptr;
    return next ? QString::fromStdString(next->name) : QString();
}

std::optional<StepPlace> ConfigDocument::undo() {
    return step(true);
}

std::optional<StepPlace> ConfigDocument::redo() {
    return step(false);
}

std::optional<StepPlace> ConfigDocument::step(bool back) {
    if (ended_) return std::nullopt;
    auto bytes = record_.toBytes();
    const std::optional<StepLabel> label = back ? history_.undo(bytes) : history_.redo(bytes);
    if (!label) return std::nullopt;
    record_ = DatabaseRecord::fromBytes(bytes);
    emit imageChanged();
    emit historyChanged();
    followClean();
    return label->place;
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

bool ConfigDocument::commitPendingEditsAsOwnStep() {
    const bool wasFenced = history_.fenced();
    const unsigned long changesBefore = changes_;
    history_.fence();
    const bool accepted = commitPendingEdits();
    if (changes_ == changesBefore && !wasFenced) history_.unfence();
    return accepted;
}

} // namespace zx
