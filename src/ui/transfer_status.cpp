#include "ui/transfer_status.h"

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <functional>

namespace zx {

namespace {

// Escape stops the operation wherever the key lands in the window: a menu bar left in its
// keyboard mode, or a control that takes Escape for itself, would otherwise swallow it. An open
// pop-up menu keeps its Escape, which closes it.
class EscapeAnywhere : public QObject {
  public:
    EscapeAnywhere(QWidget& window, std::function<void()> cancel)
        : QObject(&window), window_(window), cancel_(std::move(cancel)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &window_ || qobject_cast<QMenu*>(widget)) return false;
        cancel_();
        return true;
    }

  private:
    QWidget& window_;
    std::function<void()> cancel_;
};

} // namespace

TransferStatus::TransferStatus(MainWindow& form) : QObject(&form) {
    QStatusBar* bar = form.statusBarWidget;
    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("pbTransfer"));
    progress_->setTextVisible(true);
    progress_->setMaximumWidth(150);
    // The status bar makes room even for a hidden bar; no taller than a panel, it takes none.
    if (const auto* panel = bar->findChild<QLabel*>(QStringLiteral("SBarPanel3")))
        progress_->setMaximumHeight(panel->sizeHint().height());
    progress_->hide();
    bar->addWidget(progress_, 1);
    cancel_ = new QPushButton(QStringLiteral("Megszakítás"), bar);
    cancel_->setObjectName(QStringLiteral("btnCancel"));
    cancel_->setFocusPolicy(Qt::NoFocus);
    cancel_->hide();
    bar->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, &TransferStatus::cancelRequested);
    escape_ = new QAction(QStringLiteral("Megszakítás"), &form);
    escape_->setObjectName(QStringLiteral("actCancel"));
    escape_->setShortcut(QKeySequence(Qt::Key_Escape));
    escape_->setShortcutContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    form.addAction(escape_);
    connect(escape_, &QAction::triggered, this, &TransferStatus::cancelRequested);
    escapeAnywhere_ = new EscapeAnywhere(form, [this] { emit cancelRequested(); });
    traceNote_ = new QLabel(bar);
    traceNote_->setObjectName(QStringLiteral("lblTrace"));
    traceNote_->hide();
    bar->addPermanentWidget(traceNote_);
}

void TransferStatus::setRunning(bool running) {
    progress_->reset();
    progress_->setVisible(running);
    cancel_->setVisible(running);
    escape_->setEnabled(running);
    if (running)
        qApp->installEventFilter(escapeAnywhere_);
    else
        qApp->removeEventFilter(escapeAnywhere_);
}

void TransferStatus::showProgress(const TransferProgress& p) {
    // No measure yet (the model check, a phase just begun) shows a moving bar.
    progress_->setRange(0, p.total);
    progress_->setValue(p.done);
}

void TransferStatus::setTraceFile(const QString& path) {
    traceNote_->setText(QStringLiteral("Napló: %1").arg(QFileInfo(path).fileName()));
    traceNote_->setToolTip(path);
    traceNote_->setVisible(!path.isEmpty());
}

} // namespace zx
