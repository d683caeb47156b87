#pragma once
// The page control of the main window (PageControl1): the eight views in page order, laid out
// for a model and filled from the image together.
#include "model/editor_view.h"

#include <QTabWidget>

#include <array>
#include <optional>

namespace zx {

class BasicView;
class CallInView;
class CodesView;
class ConfigDocument;
class ConfigView;
class FreeNumbersView;
class Interaction;
class LinesView;
class NumbersView;
class TerminalView;
class TimersView;

class ViewPages : public QTabWidget {
    Q_OBJECT
  public:
    static constexpr int Count = 8;
    static constexpr int CodesPage = 4;
    static constexpr int FreeNumbersPage = 5;

    ViewPages(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    BasicView* basic() const { return basic_; }
    LinesView* lines() const { return lines_; }
    TimersView* timers() const { return timers_; }
    NumbersView* numbers() const { return numbers_; }
    CodesView* codes() const { return codes_; }
    FreeNumbersView* freeNumbers() const { return free_; }
    CallInView* callIn() const { return callIn_; }
    TerminalView* terminal() const { return terminal_; }

    // Every configuration view shows and hides what the model has.
    void layoutFor(DeviceModel model);
    // Every configuration view shows the image as decoded for the editors.
    void refill(const EditorView& view);
    // The image offset a numeric edit of any view stores at (none while unbound).
    std::optional<int> boundOffset(const QWidget* edit) const;
    // What the largest page asks for beyond the page shown: every page is to have its room.
    QSize roomBeyondShownPage() const;

  private:
    BasicView* basic_;
    LinesView* lines_;
    TimersView* timers_;
    NumbersView* numbers_;
    CodesView* codes_;
    FreeNumbersView* free_;
    CallInView* callIn_;
    TerminalView* terminal_;
    // The seven views of the configuration, in page order.
    std::array<ConfigView*, 7> configViews_{};
};

} // namespace zx
