#include "ui/config_view.h"

#include "ui/config_document.h"

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

void ConfigView::bindEdit(QLineEdit* edit, Field field, int add) {
    edits_.push_back({edit, field, add});
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
