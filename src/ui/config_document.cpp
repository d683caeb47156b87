#include "ui/config_document.h"

#include "model/new_configuration.h"

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
    const int changed = patch.applyTo(record_.image);
    if (flag == Flag::Set || (flag == Flag::SetIfChanged && changed > 0)) setModified(true);
    if (changed > 0) emit imageChanged();
    return changed;
}

void ConfigDocument::replaceImage(const ConfigImage& image) {
    record_.image = image;
    emit imageChanged();
}

void ConfigDocument::replaceRecord(const DatabaseRecord& record) {
    record_ = record;
    emit imageChanged();
}

void ConfigDocument::newConfiguration() {
    applyNewConfiguration(record_, model_);
    setCurrentFileName(QString());
    emit imageChanged();
}

void ConfigDocument::setText(DatabaseRecord::Slot slot, const RawText& text) {
    record_.setText(slot, text);
}

} // namespace zx
