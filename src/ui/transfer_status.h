#pragma once
// What the status bar shows of an operation on the line besides panel 3: the progress bar, the
// "Megszakítás" button beside it (and Escape, the same command from the keyboard) while the
// operation runs, and the note of a wire trace being kept.
#include "link/transfer.h"

#include <QObject>
#include <QPointer>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class MainWindow;

namespace zx {

class TransferStatus : public QObject {
    Q_OBJECT
  public:
    explicit TransferStatus(MainWindow& form);

    // The bar and the button shown (reset) or hidden; Escape cancels only while shown, and then
    // wherever the focus is in the window (a menu bar left by its menu included).
    void setRunning(bool running);
    void showProgress(const TransferProgress& progress);
    // The trace file's name in the bar, its path in the tip; nothing for an empty path.
    void setTraceFile(const QString& path);

  signals:
    void cancelRequested();

  private:
    QPointer<QProgressBar> progress_;
    QPointer<QPushButton> cancel_;
    QPointer<QAction> escape_;
    QPointer<QLabel> traceNote_;
    // Takes Escape from wherever it lands in the window while an operation runs.
    QPointer<QObject> escapeAnywhere_;
};

} // namespace zx
