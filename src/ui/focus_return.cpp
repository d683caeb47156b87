#include "ui/focus_return.h"

namespace zx {

void FocusReturn::keep(QWidget& window) {
    kept_ = window.focusWidget();
}

void FocusReturn::giveBack() {
    QWidget* kept = kept_;
    kept_.clear();
    if (!kept || !kept->isVisible() || !kept->isEnabled()) return;
    kept->setFocus(Qt::OtherFocusReason);
}

} // namespace zx
