#pragma once
// The "Behívás" view: call-in number, call-in switches and area codes barred from call-in.
#include "model/number_tables.h"
#include "ui/views/config_view.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zx {

class CallInView : public ConfigView {
    Q_OBJECT
  public:
    static constexpr int BarredCount = BarredAreaCount;

    CallInView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void refill(const EditorView& v) override;

  private:
    QLineEdit *edBehiv, *edGW;
    QCheckBox *chkIntGW, *chkNatGW;
    QListWidget* lbGW;
    QLabel *lblNoGW, *lblKorz;
    QPushButton *btnGWAdd, *btnGWDel;

    // The call-in controls as they stand.
    CallInForm form() const;
    std::optional<int> selectedArea() const;
    // A selected entry's text into the area field.
    void showArea();
    void applyBarred(const Checked<CallInStore>& result);
};

} // namespace zx
