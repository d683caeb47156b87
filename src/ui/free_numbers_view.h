#pragma once
// The "Számok" view: numbers that may be called without a code. The list is the working copy;
// StoreFreeNumbers writes it into the image.
#include "ui/config_view.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zx {

class FreeNumbersView : public ConfigView {
    Q_OBJECT
  public:
    FreeNumbersView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void refill(const EditorView& v) override;

    // Writes the list into the image as it stands.
    void StoreFreeNumbers();

    QLabel *Label34, *Label50;
    QListWidget* lbFreeCall;
    QLineEdit* MEfreecall;
    QPushButton *BTNfreejav, *BTNujszam1, *BTNfreedel;
};

} // namespace zx
