#include "ui/views/view_pages.h"

#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"

#include <algorithm>

namespace zx {

namespace {

const char* const Captions[ViewPages::Count] = {
    "&Alap", "&Vonalak", "I&dőzítők", "Szám&hosszak", "&Kódok", "&Számok", "&Behívás", "&Terminál",
};

} // namespace

ViewPages::ViewPages(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl"));
    basic_ = new BasicView(document, interaction);
    lines_ = new LinesView(document, interaction);
    timers_ = new TimersView(document, interaction);
    numbers_ = new NumbersView(document, interaction);
    codes_ = new CodesView(document, interaction);
    free_ = new FreeNumbersView(document, interaction);
    callIn_ = new CallInView(document, interaction);
    terminal_ = new TerminalView;
    configViews_ = {basic_, lines_, timers_, numbers_, codes_, free_, callIn_};
    const std::array<QWidget*, Count> pages = {basic_, lines_, timers_, numbers_,
                                               codes_, free_,  callIn_, terminal_};
    for (int i = 0; i < Count; ++i)
        addTab(pages[static_cast<std::size_t>(i)], QString::fromUtf8(Captions[i]));
}

void ViewPages::layoutFor(DeviceModel model) {
    for (ConfigView* view : configViews_)
        view->layoutFor(model);
}

void ViewPages::refill(const EditorView& v) {
    for (ConfigView* view : configViews_)
        view->refill(v);
}

std::optional<int> ViewPages::boundOffset(const QWidget* edit) const {
    for (const ConfigView* view : configViews_)
        if (const auto offset = view->boundOffset(edit)) return offset;
    return std::nullopt;
}

QSize ViewPages::roomBeyondShownPage() const {
    QSize largest;
    for (int i = 0; i < count(); ++i)
        largest = largest.expandedTo(widget(i)->sizeHint());
    const QSize shown = currentWidget()->sizeHint();
    return {std::max(0, largest.width() - shown.width()),
            std::max(0, largest.height() - shown.height())};
}

} // namespace zx
