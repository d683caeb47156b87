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

#include <QSignalBlocker>
#include <QTimer>

namespace zx {

namespace {

const char* const Captions[ViewPages::Count] = {
    "&Alap", "&Vonalak", "I&dőzítők", "Szám&hosszak", "&Kódok", "&Számok", "&Behívás", "&Terminál",
};

} // namespace

ViewPages::ViewPages(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QTabWidget(parent), document_(document), interaction_(interaction) {
    setObjectName(QStringLiteral("PageControl"));
    basic_ = new BasicView(document, interaction);
    lines_ = new LinesView(document, interaction);
    terminal_ = new TerminalView;
    timers_ = nullptr;
    numbers_ = nullptr;
    codes_ = nullptr;
    free_ = nullptr;
    callIn_ = nullptr;
    configViews_ = {basic_, lines_, nullptr, nullptr, nullptr, nullptr, nullptr};
    // A page not built yet holds an empty widget in its place.
    for (int i = 0; i < Count - 1; ++i) {
        QWidget* view = configViews_[static_cast<std::size_t>(i)];
        addTab(view ? view : new QWidget, QString::fromUtf8(Captions[i]));
    }
    addTab(terminal_, QString::fromUtf8(Captions[Count - 1]));
    connect(this, &QTabWidget::currentChanged, this, &ViewPages::buildWhenShown);
}

ConfigView* ViewPages::built(int page) {
    const auto k = static_cast<std::size_t>(page);
    if (configViews_[k]) return configViews_[k];
    ConfigView* view = nullptr;
    switch (page) {
    case 2:
        view = timers_ = new TimersView(document_, interaction_);
        break;
    case 3:
        view = numbers_ = new NumbersView(document_, interaction_);
        break;
    case CodesPage:
        view = codes_ = new CodesView(document_, interaction_);
        connect(codes_, &CodesView::codePanelTextChanged, this, &ViewPages::codePanelTextChanged);
        break;
    case FreeNumbersPage:
        view = free_ = new FreeNumbersView(document_, interaction_);
        break;
    default:
        view = callIn_ = new CallInView(document_, interaction_);
        break;
    }
    configViews_[k] = view;
    if (model_) view->layoutFor(*model_);
    if (shown_) view->refill(*shown_);
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

void ViewPages::buildWhenShown(int page) {
    if (page >= 2 && page < Count - 1) built(page);
}

void ViewPages::buildAll() {
    for (int page = 2; page < Count - 1; ++page)
        built(page);
    lines_->buildAllRows();
}

TimersView* ViewPages::timers() {
    built(2);
    return timers_;
}

NumbersView* ViewPages::numbers() {
    built(3);
    return numbers_;
}

CodesView* ViewPages::codes() {
    built(CodesPage);
    return codes_;
}

FreeNumbersView* ViewPages::freeNumbers() {
    built(FreeNumbersPage);
    return free_;
}

CallInView* ViewPages::callIn() {
    built(6);
    return callIn_;
}

void ViewPages::layoutFor(DeviceModel model) {
    model_ = model;
    shown_.reset();
    for (ConfigView* view : configViews_)
        if (view) view->layoutFor(model);
}

void ViewPages::refill(const EditorView& v) {
    // A code count the table cannot hold is told at the refill by the code page: it is built
    // now, and its building refills it.
    const bool codesNow = !codes_ && codeCountOverflowNote(v.codeCount, v.codeLength);
    shown_ = v;
    if (codesNow) built(CodesPage);
    for (ConfigView* view : configViews_)
        if (view && !(codesNow && view == codes_)) view->refill(v);
    if (!codes_) emit codePanelTextChanged(QString::fromStdString(v.codePanelText()));
}

void ViewPages::paintEvent(QPaintEvent* event) {
    QTabWidget::paintEvent(event);
    // What the first look at the window does not need is built right after it.
    if (!restScheduled_) {
        restScheduled_ = true;
        QTimer::singleShot(0, this, &ViewPages::buildAll);
    }
}

std::optional<int> ViewPages::boundOffset(const QWidget* edit) const {
    for (const ConfigView* view : configViews_)
        if (const auto offset = view ? view->boundOffset(edit) : std::nullopt) return offset;
    return std::nullopt;
}

} // namespace zx
