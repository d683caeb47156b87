#include "ui/transfer_status.h"

#include "ui/main_window.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace zx {

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
