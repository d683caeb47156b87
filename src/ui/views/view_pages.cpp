#include "ui/views/view_pages.h"

#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"

#include "model/code_table_store.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace zx {

namespace {

const char* const Captions[ViewPages::Count] = {
    "&Alap", "&Vonalak", "I&dőzítők", "Szám&hosszak", "&Kódok", "&Számok", "&Behívás", "&Terminál",
};

} // namespace

ViewPages::ViewPages(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QTabWidget(parent), document_(document), interaction_(interaction) {
    setObjectName(QStringLiteral("PageControl"));
    terminal_ = new TerminalView;
    configViews_[BasicPage] = new BasicView(document, interaction);
    configViews_[LinesPage] = new LinesView(document, interaction);
    // A page not built yet holds an empty widget in its place.
    for (int i = 0; i < TerminalPage; ++i) {
        QWidget* view = configViews_[static_cast<std::size_t>(i)];
        addTab(view ? view : new QWidget, QString::fromUtf8(Captions[i]));
    }
    addTab(terminal_, QString::fromUtf8(Captions[TerminalPage]));
    connect(this, &QTabWidget::currentChanged, this, &ViewPages::keepRefusedPage);
    connect(this, &QTabWidget::currentChanged, this, &ViewPages::buildWhenShown);
}

void ViewPages::keepRefusedPage(int page) {
    if (returning_) return;
    const int left = std::exchange(shownPage_, page);
    if (left == page) return;
    // Leaving the page stored what its control showed: a refusal has just been said.
    ConfigView* view = left < TerminalPage ? configViews_[static_cast<std::size_t>(left)] : nullptr;
    if (view && view->refusedControl()) {
        returning_ = true;
        setCurrentIndex(left);
        returning_ = false;
        shownPage_ = left;
        view->focusRefusedControl();
        return;
    }
    emit pageShown(page);
}

ConfigView* ViewPages::built(int page) {
    const auto k = static_cast<std::size_t>(page);
    if (configViews_[k]) return configViews_[k];
    ConfigView* view = nullptr;
    switch (page) {
    case TimersPage:
        view = new TimersView(document_, interaction_);
        break;
    case NumbersPage:
        view = new NumbersView(document_, interaction_);
        break;
    case CodesPage: {
        auto* codes = new CodesView(document_, interaction_);
        connect(codes, &CodesView::codePanelTextChanged, this, &ViewPages::codePanelTextChanged);
        view = codes;
        break;
    }
    case FreeNumbersPage:
        view = new FreeNumbersView(document_, interaction_);
        break;
    default:
        view = new CallInView(document_, interaction_);
        break;
    }
    configViews_[k] = view;
    if (model_) view->layoutFor(*model_);
    // Filled from the record as it is now: stores made since the last refill are shown too.
    if (filled_) {
        view->refill(decodeForEditors(document_.image(), document_.model()));
        view->takeShownAsStored();
    }
    // The view takes its page's place without the page control telling of a change.
    const bool wasCurrent = currentIndex() == page;
    QWidget* placeholder = widget(page);
    const QSignalBlocker quiet(this);
    removeTab(page);
    insertTab(page, view, QString::fromUtf8(Captions[page]));
    if (wasCurrent) setCurrentIndex(page);
    delete placeholder;
    return view;
}

bool ViewPages::allBuilt() const {
    return std::all_of(configViews_.begin(), configViews_.end(),
                       [](const QPointer<ConfigView>& view) { return !view.isNull(); });
}

void ViewPages::buildWhenShown(int page) {
    if (page >= TimersPage && page < TerminalPage) built(page);
}

void ViewPages::buildAll() {
    for (int page = TimersPage; page < TerminalPage; ++page)
        built(page);
    filled_ = false;
    lines()->buildAllRows();
}

BasicView* ViewPages::basic() const {
    return static_cast<BasicView*>(configViews_[BasicPage].data());
}

LinesView* ViewPages::lines() const {
    return static_cast<LinesView*>(configViews_[LinesPage].data());
}

TimersView* ViewPages::timers() {
    return static_cast<TimersView*>(built(TimersPage));
}

NumbersView* ViewPages::numbers() {
    return static_cast<NumbersView*>(built(NumbersPage));
}

CodesView* ViewPages::codes() {
    return static_cast<CodesView*>(built(CodesPage));
}

FreeNumbersView* ViewPages::freeNumbers() {
    return static_cast<FreeNumbersView*>(built(FreeNumbersPage));
}

CallInView* ViewPages::callIn() {
    return static_cast<CallInView*>(built(CallInPage));
}

void ViewPages::layoutFor(DeviceModel model) {
    model_ = model;
    filled_ = false;
    for (ConfigView* view : configViews_)
        if (view) view->layoutFor(model);
}

void ViewPages::refill(const EditorView& v) {
    const QPointer<ConfigView>& codes = configViews_[CodesPage];
    // A code count the table cannot hold is told at the refill by the code page: it is built
    // now, and its building refills it.
    const bool codesNow = !codes && codeCountOverflowNote(v.codeCount, v.codeLength);
    filled_ = !allBuilt();
    if (codesNow) built(CodesPage);
    for (ConfigView* view : configViews_)
        if (view && !(codesNow && view == codes)) {
            view->refill(v);
            view->takeShownAsStored();
        }
    if (!codes) emit codePanelTextChanged(QString::fromStdString(v.codePanelText()));
}

void ViewPages::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (!ctrl || (key != Qt::Key_Tab && key != Qt::Key_Backtab) || count() < 2) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    // The next (or previous) enabled page, as the page control itself would choose it; but the
    // focus is not handed to the tabs afterwards: a refused value's message box has just taken
    // the focus from the window, and the control that holds the value is to get it back.
    const int step = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    int page = currentIndex();
    for (int pass = 0; pass < count(); ++pass) {
        page = (page + step + count()) % count();
        if (isTabEnabled(page)) break;
    }
    setCurrentIndex(page);
    event->accept();
}

void ViewPages::paintEvent(QPaintEvent* event) {
    QTabWidget::paintEvent(event);
    // What the first look at the window does not need is built right after it.
    if (!restScheduled_) {
        restScheduled_ = true;
        QTimer::singleShot(0, this, &ViewPages::buildAll);
    }
}

} // namespace zx
