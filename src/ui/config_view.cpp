#include "ui/config_view.h"

#include "model/editor_store.h"
#include "ui/config_document.h"
#include "ui/interaction.h"
#include "ui/view_helpers.h"

#include <QLineEdit>

namespace zx {

ConfigView::ConfigView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QWidget(parent), document_(document), interaction_(interaction) {}

void ConfigView::layoutFor(DeviceModel) {
    boundModel_.reset();
}

void ConfigView::refill(const EditorView& view) {
    boundModel_ = view.model;
}

bool ConfigView::store(const Checked<ImagePatch>& result, QWidget* control, Mark mark) {
    if (!result) {
        refuse(result.message(), control);
        return false;
    }
    if (!result->empty())
        document_.apply(*result, mark == Mark::WhenStored ? ConfigDocument::Flag::Set
                                                          : ConfigDocument::Flag::SetIfChanged);
    return true;
}

void ConfigView::refuse(const std::string& message, QWidget* control) {
    interaction_.message(this, QString::fromStdString(message));
    if (control) control->setFocus();
}

void ConfigView::bindEdit(QLineEdit* edit, Field field, int add) {
    edits_.push_back({edit, field, add});
    // The byte-range check stores the number when the operator leaves the edit.
    if (isByteRangeField(field))
        onLeave(edit, [this, edit, field] {
            if (const auto model = shownModel())
                store(storeByteRange(*model, field, edit->text().toStdString()), edit,
                      Mark::WhenStored);
        });
}

std::optional<int> ConfigView::boundOffset(const QWidget* edit) const {
    if (!boundModel_) return std::nullopt;
    for (const ByteEdit& e : edits_) {
        if (static_cast<const QWidget*>(e.edit) != edit) continue;
        const auto offset = MemoryMap::of(*boundModel_).offset(e.field);
        if (!offset) return std::nullopt;
        return int(*offset) + e.add;
    }
    return std::nullopt;
}

} // namespace zx
