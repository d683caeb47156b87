#include "ui/status_bar.h"

#include "model/path_ellipsis.h"
#include "ui/views/view_helpers.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>

#include <algorithm>

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

namespace {

constexpr int PanelWidths[StatusPanels::Count] = {200, 50, 150, 150};

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar) {
    file_ = new PathPanel(bar);
    file_->setObjectName(QStringLiteral("SBarPanel0"));
    file_->setFixedWidth(PanelWidths[0]);
    bar->addWidget(file_);
    for (int i = 1; i < Count; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(PanelWidths[i]);
        labels_[static_cast<std::size_t>(i)] = label;
        bar->addWidget(label);
    }
}

void StatusPanels::setText(int panel, const QString& text) {
    if (panel == File)
        file_->setText(text);
    else if (panel > 0 && panel < Count)
        labels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString StatusPanels::text(int panel) const {
    if (panel == File) return file_->text();
    if (panel > 0 && panel < Count) return labels_[static_cast<std::size_t>(panel)]->text();
    return {};
}

QWidget* StatusPanels::panel(int panel) const {
    if (panel == File) return file_;
    if (panel > 0 && panel < Count) return labels_[static_cast<std::size_t>(panel)];
    return nullptr;
}

void StatusPanels::fitTexts(int p, const QStringList& texts) {
    QWidget* w = panel(p);
    if (!w) return;
    const QFontMetrics metrics(w->font());
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    // The frame and the label's own margin on both sides.
    const int needed = widest + 2 * (w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4);
    if (needed > w->width()) w->setFixedWidth(needed);
}

int StatusPanels::width(int p) const {
    const QWidget* w = panel(p);
    return w ? w->width() : 0;
}

} // namespace zx
