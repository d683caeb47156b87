#pragma once
// The "Kódok" view: the code table grid.
#include "ui/config_view.h"

namespace zx {

class CodeGrid;

class CodesView : public ConfigView {
    Q_OBJECT
  public:
    CodesView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;

    CodeGrid* StringGrid1;
};

} // namespace zx
