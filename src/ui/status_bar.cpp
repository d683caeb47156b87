#include "ui/status_bar.h"

#include "model/path_ellipsis.h"
#include "ui/views/view_helpers.h"

#include <QFileInfo>
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

QRect MiddleElidedLabel::textRect() const {
    // Where a framed label draws its text: half an x in from the frame.
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    return contentsRect().adjusted(indent + margin(), margin(), -indent - margin(), -margin());
}

QString MiddleElidedLabel::shownText() const {
    // The device's own name (with the speed after it) is what tells two ports apart: the
    // directories before it give way first.
    const QFontMetrics metrics = fontMetrics();
    const int room = textRect().width();
    const std::string shown = ellipsizePath(text().toStdString(), [&](std::string_view candidate) {
        return metrics.horizontalAdvance(fromUtf8(candidate)) <= room;
    });
    return metrics.elidedText(fromUtf8(shown), Qt::ElideMiddle, room);
}

void MiddleElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

namespace {

constexpr int PanelWidths[StatusPanels::Count] = {200, 50, 150, 150};

// The width a framed label needs to show the text whole.
int neededWidth(const QLabel& label, const QString& text) {
    const QFontMetrics metrics(label.font());
    return metrics.horizontalAdvance(text) +
           2 * (label.frameWidth() + metrics.horizontalAdvance(QLatin1Char('x')) / 2 +
                label.margin() + 1);
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar) {
    file_ = new PathPanel(bar);
    file_->setObjectName(QStringLiteral("SBarPanel0"));
    file_->setFixedWidth(PanelWidths[0]);
    bar->addWidget(file_);
    for (int i = 1; i < Count; ++i) {
        auto* label = i == Connection ? new MiddleElidedLabel(bar) : new QLabel(bar);
        label->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(PanelWidths[i]);
        labels_[static_cast<std::size_t>(i)] = label;
        // The connection panel grows into the bar's free room, as far as its text needs.
        bar->addWidget(label, i == Connection ? 1 : 0);
    }
}

void StatusPanels::setText(int panel, const QString& text) {
    if (panel == File)
        file_->setText(text);
    else if (panel > 0 && panel < Count) {
        QLabel* label = labels_[static_cast<std::size_t>(panel)];
        label->setText(text);
        if (panel == Connection) {
            label->setToolTip(text);
            label->setSizePolicy(QSizePolicy::Expanding, label->sizePolicy().verticalPolicy());
            label->setMinimumWidth(PanelWidths[Connection]);
            label->setMaximumWidth(std::max(PanelWidths[Connection], neededWidth(*label, text)));
        } else if (const int needed = neededWidth(*label, text); needed > label->width())
            label->setFixedWidth(needed);
    }
}

QWidget* StatusPanels::panel(int panel) const {
    if (panel == File) return file_;
    if (panel > 0 && panel < Count) return labels_[static_cast<std::size_t>(panel)];
    return nullptr;
}

void StatusPanels::fitTexts(int p, const QStringList& texts) {
    QWidget* w = panel(p);
    if (!w) return;
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label) return;
    int needed = 0;
    for (const QString& text : texts)
        needed = std::max(needed, neededWidth(*label, text));
    if (needed > w->width()) w->setFixedWidth(needed);
}

LineStatePanel::LineStatePanel(StatusPanels& panels) : panels_(panels) {
    show(Disconnected);
}

QString LineStatePanel::textOf(State state) {
    switch (state) {
    case Connecting:
        return QStringLiteral("Kapcsolódás...");
    case Connected:
        return QStringLiteral("Kapcsolódva...");
    case Disconnected:
        break;
    }
    return QStringLiteral("Szétkapcsolva");
}

void LineStatePanel::show(State state) {
    show(textOf(state));
}

void LineStatePanel::show(const QString& transferStatus) {
    panels_.setText(StatusPanels::State, transferStatus);
}

void LineStatePanel::showOutcome(bool ok, const QString& done, const QString& failed,
                                 const QString& path) {
    showOutcome(ok ? QStringLiteral("%1: %2").arg(done, QFileInfo(path).fileName()) : failed);
}

void LineStatePanel::fitTexts(const QStringList& transferTexts) {
    panels_.fitTexts(StatusPanels::State,
                     transferTexts +
                         QStringList{textOf(Disconnected), textOf(Connecting), textOf(Connected)});
}

int StatusPanels::width(int p) const {
    const QWidget* w = panel(p);
    return w ? w->width() : 0;
}

} // namespace zx
