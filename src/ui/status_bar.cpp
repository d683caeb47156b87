#include "ui/status_bar.h"

#include "model/path_ellipsis.h"
#include "ui/main_form.h"
#include "ui/view_helpers.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>

namespace zx {

PathPanel::PathPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void PathPanel::setText(const QString& text) {
    text_ = text;
    update();
}

QString PathPanel::shownText() const {
    const QFontMetrics metrics(font());
    const int room = contentsRect().width() - 4;
    const std::string shown = ellipsizePath(text_.toStdString(), [&](std::string_view candidate) {
        return metrics.horizontalAdvance(fromUtf8(candidate)) <= room;
    });
    return fromUtf8(shown);
}

void PathPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     shownText());
}

} // namespace zx

namespace {

constexpr int PanelWidths[TMainForm::PanelCount] = {200, 50, 150, 150};

} // namespace

void TMainForm::buildStatusBar() {
    SBar = statusBar();
    SBar->setObjectName(QStringLiteral("SBar"));
    filePanel_ = new zx::PathPanel(SBar);
    filePanel_->setObjectName(QStringLiteral("SBarPanel0"));
    filePanel_->setFixedWidth(PanelWidths[0]);
    SBar->addWidget(filePanel_);
    for (int i = 1; i < PanelCount; ++i) {
        auto* label = new QLabel(SBar);
        label->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(PanelWidths[i]);
        panels_[static_cast<std::size_t>(i)] = label;
        SBar->addWidget(label);
    }
}

void TMainForm::setStatusText(int panel, const QString& text) {
    if (panel == PanelFile)
        filePanel_->setText(text);
    else if (panel > 0 && panel < PanelCount)
        panels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString TMainForm::statusText(int panel) const {
    if (panel == PanelFile) return filePanel_->text();
    if (panel > 0 && panel < PanelCount) return panels_[static_cast<std::size_t>(panel)]->text();
    return {};
}

int TMainForm::statusPanelWidth(int panel) const {
    if (panel == PanelFile) return filePanel_->width();
    if (panel > 0 && panel < PanelCount) return panels_[static_cast<std::size_t>(panel)]->width();
    return 0;
}

void TMainForm::setConnectionPanelText(const QString& text) {
    setStatusText(PanelConnection, text);
}
