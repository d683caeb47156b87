#pragma once
// The "Számhosszak" view: number lengths, domestic exceptions, mobile and international
// prefixes.
#include "model/number_tables.h"
#include "ui/views/config_view.h"

#include <array>
#include <utility>

class QListWidget;
class QPushButton;

namespace zx {

class NumbersView : public ConfigView {
    Q_OBJECT
  public:
    NumbersView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;

    // What the exception list draws for an entry: area code and length.
    std::pair<QString, QString> exceptionTexts(int row) const;

  private:
    QLineEdit *MEloclen, *MEnatlen;
    QListWidget* lbKiv;
    QLineEdit *edKivSzam, *edKivHossz;
    QPushButton *btnKivEdit, *btnKivDel;
    QWidget* pnlPref;
    std::array<QLineEdit*, 4> edMP{};
    std::array<QLineEdit*, 2> edIP{};

    // The exception items and prefix fields as they stand.
    NumberTablesForm form() const;
    std::optional<int> selectedException() const;
    void showException();
    // Applies a store of the tables and shows what it made of the list and the fields; a
    // refusal goes back to refusedControl; the undo shows the change in `shownIn`.
    bool applyTables(const Checked<NumberTablesStore>& result, QWidget* refusedControl,
                     QWidget* shownIn);
};

} // namespace zx
