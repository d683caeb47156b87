#pragma once
// The "Vonalak" view: one row per trunk line, rows 01 to 16 under a common heading.
#include "model/editor_store.h"
#include "ui/views/config_view.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QVBoxLayout;

namespace zx {

class RadioGroup;

class LinesView : public ConfigView {
    Q_OBJECT
  public:
    static constexpr int LineCount = 16;

    LinesView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;
    // Makes the rows not made yet (they take the place, the Tab order and the column widths of
    // the others, and stay hidden unless the model shows them).
    void buildAllRows();

  private:
    struct LineRow {
        QWidget* panel = nullptr; // pnlCOnn
        QLabel* port = nullptr;   // lblPortnn
        QLineEdit* co = nullptr;  // MEconn
        RadioGroup *dial = nullptr, *seizure = nullptr, *timer = nullptr;
        QCheckBox *subLine = nullptr, *callIn = nullptr;
    };
    // Rows 01 to 04 are made with the view; the others when a model first shows them.
    std::array<LineRow, LineCount> lines;
    int built_ = 0;
    std::optional<DeviceModel> laidOut_;
    QWidget* rows_ = nullptr;
    QVBoxLayout* rowColumn_ = nullptr;
    std::array<QLabel*, 7> headings_{};
    std::vector<QGridLayout*> grids_;
    QWidget* scroll_ = nullptr;

    std::span<const LineRow> builtRows() const {
        return {lines.data(), static_cast<std::size_t>(built_)};
    }
    // Makes the rows up to `count` that are not made yet.
    void buildRows(int count);
    // The rows from `first` on follow row `previous` in the Tab order.
    void chainAfterRow(int previous, int first);
    // A row's controls store what they show when left.
    void watchRow(int i);
    // The rows and controls the model has are shown, the others hidden.
    void showRowsFor(DeviceModel model);
    // Each column as wide as its widest control shown in the first shownRows rows.
    void fitColumns(int shownRows);
    // The line settings, rebuilt from the rows as they stand.
    bool storeLine(LineControlId left, QWidget* control);
    // The CO number fields not being typed in show what the image holds (a new CO width has
    // rewritten the numbers).
    void showStoredCoNumbers();
};

} // namespace zx
