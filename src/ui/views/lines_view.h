#pragma once
// The "Vonalak" view: one row per trunk line, rows 01 to 16 under a common heading.
#include "model/editor_store.h"
#include "ui/views/config_view.h"

#include <array>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;

namespace zx {

class RadioGroup;

class LinesView : public ConfigView {
    Q_OBJECT
  public:
    static constexpr int LineCount = 16;

    LinesView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    void layoutFor(DeviceModel model) override;
    void refill(const EditorView& v) override;

  private:
    struct LineRow {
        QWidget* panel = nullptr; // pnlCOnn
        QLabel* port = nullptr;   // lblPortnn
        QLineEdit* co = nullptr;  // MEconn
        RadioGroup *dial = nullptr, *seizure = nullptr, *timer = nullptr;
        QCheckBox *subLine = nullptr, *callIn = nullptr;
    };
    std::array<LineRow, LineCount> lines;
    std::array<QLabel*, 7> headings_{};
    std::vector<QGridLayout*> grids_;
    QWidget* scroll_ = nullptr;

    // Each column as wide as its widest control shown in the first shownRows rows.
    void fitColumns(int shownRows);
    // The line settings, rebuilt from the rows as they stand.
    bool storeLine(LineControlId left, QWidget* control);
};

} // namespace zx
