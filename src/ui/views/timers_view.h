#pragma once
// The "Időzítők" view: the unit's timers, timer set #2 for the 16-line unit, the loop/impulse
// difference for the 4-line unit.
#include "ui/views/config_view.h"

class QLabel;

namespace zx {

class TimersView : public ConfigView {
    Q_OBJECT
  public:
    TimersView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;

  private:
    QLineEdit *MEibe, *MEibo, *MEintd;
    QLineEdit *firstToneEdit1, *secondToneEdit1, *coTimeoutEdit1, *coResetEdit1;
    QLineEdit *firstToneEdit2, *secondToneEdit2, *coTimeoutEdit2, *coResetEdit2;
    QLineEdit* edLI;
    QLabel *groupHeading2, *lblDeltaLI;
};

} // namespace zx
