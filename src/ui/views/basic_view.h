#pragma once
// The "Alap" view: SMDR link and record settings, PIN and summer-time switches.
#include "ui/views/config_view.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace zx {

class RadioGroup;

class BasicView : public ConfigView {
    Q_OBJECT
  public:
    BasicView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;
    // The focus goes to the speed choice, as a new configuration shows the view.
    void focusSpeedChoice();

  private:
    // CBcokar left: a width the operator chose rewrites the CO numbers in it, after asking when
    // a number would lose characters ("Nem" puts the box back).
    bool storeCoWidthChoice(DeviceModel model);

    RadioGroup *RGspeed, *RGbit, *RGmod, *RG20h;
    QLineEdit *MEcopos, *MEcallpos, *MErzk, *MEszamz;
    QComboBox* CBcokar;
    QLabel* lblSzamz;
    QCheckBox *chkPinEna, *chkDSTena;
};

} // namespace zx
