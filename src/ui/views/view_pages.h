#pragma once
// The page control of the main window (PageControl1): the eight views in page order, laid out
// for a model and filled from the image together. The pages the window first shows ("Alap",
// "Vonalak", "Terminál", which also give the window its size) are built at once; the others
// when they are first needed (shown, asked for, or after the window's first paint), and then
// take the model and the image the others show.
#include "model/editor_view.h"
#include "ui/views/page_order.h"

#include <QPointer>
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
    // BasicPage .. TerminalPage, and Count.
    using enum PageOrder::Index;

    ViewPages(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    BasicView* basic() const;
    LinesView* lines() const;
    TimersView* timers();
    NumbersView* numbers();
    CodesView* codes();
    FreeNumbersView* freeNumbers();
    CallInView* callIn();
    TerminalView* terminal() const { return terminal_; }

    // Builds every page not built yet.
    void buildAll();

    // Every configuration view shows and hides what the model has.
    void layoutFor(DeviceModel model);
    // Every configuration view shows the image as decoded for the editors.
    void refill(const EditorView& view);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Ctrl+Tab and Ctrl+Shift+Tab change pages; a page holding a refused value keeps the focus
    // in that control.
    void keyPressEvent(QKeyEvent* event) override;

  signals:
    // Status panel 1 is to show this text (the code table's rows and digits).
    void codePanelTextChanged(const QString& text);
    // Another page is shown: the tab, the view menu or a command chose it, and the page left
    // held no refused value.
    void pageShown(int page);

  private:
    // A page whose control holds a refused value is not left, however another page was chosen
    // (its tab, Ctrl+Tab, the view menu): it is shown again with the focus back in that control
    // and the text as typed.
    void keepRefusedPage(int page);
    // The view of a page, built now if it is not yet.
    ConfigView* built(int page);
    void buildWhenShown(int page);

    ConfigDocument& document_;
    Interaction& interaction_;
    std::optional<DeviceModel> model_;
    // The views were filled, and the pages built later are to be filled too (from the record
    // as it is when they are built).
    bool filled_ = false;
    bool restScheduled_ = false;
    int shownPage_ = 0;
    bool returning_ = false;
    TerminalView* terminal_;
    // The seven views of the configuration, in page order; none for a page not built yet.
    // A view destroyed before the pages (its window torn down first) is no longer asked.
    std::array<QPointer<ConfigView>, TerminalPage> configViews_{};
    bool allBuilt() const;
};

} // namespace zx
