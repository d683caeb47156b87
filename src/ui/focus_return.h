#pragma once
// The control that had the focus before an operation, given the focus back when it ends. Busy
// mode disables the pages while the line is in use, and a disabled control loses the focus for
// good: without this the operator would find no control with the focus after every download
// and upload.
#include <QPointer>
#include <QWidget>

namespace zx {

class FocusReturn {
  public:
    // Remembers the control of `window` that has the focus (or had it last, while a message box
    // or another program has it).
    void keep(QWidget& window);
    // The control kept gets the focus again when it is still there, shown and enabled; a
    // window that is not active gives it the focus when it is activated again. Then forgotten.
    void giveBack();

  private:
    QPointer<QWidget> kept_;
};

} // namespace zx
