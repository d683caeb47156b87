#pragma once
// The "Számhosszak" view: number lengths, domestic exceptions, mobile and international
// prefixes.
#include "ui/config_view.h"

#include <array>
#include <utility>

class QListWidget;
class QPushButton;

namespace zx {

class NumbersView : public ConfigView {
    Q_OBJECT
  public:
    static constexpr int ExceptionCount = 16;

    NumbersView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;

    // What the exception list draws for an entry: area code and length.
    std::pair<QString, QString> exceptionTexts(int row) const;

    QLineEdit *MEloclen, *MEnatlen;
    QListWidget* lbKiv;
    QLineEdit *edKivSzam, *edKivHossz;
    QPushButton *btnKivEdit, *btnKivDel;
    QWidget* pnlPref;
    std::array<QLineEdit*, 4> edMP{};
    std::array<QLineEdit*, 2> edIP{};
};

} // namespace zx
