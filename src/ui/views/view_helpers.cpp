#include "ui/views/view_helpers.h"

#include "ui/views/radio_group.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace zx {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList toStringList(const std::vector<std::string>& utf8Items) {
    QStringList out;
    for (const std::string& item : utf8Items)
        out << fromUtf8(item);
    return out;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int maxLength, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    if (maxLength > 0) edit->setMaxLength(maxLength);
    if (width > 0) edit->setFixedWidth(width);
    return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* utf8Text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(utf8Text), parent);
    label->setObjectName(QString::fromUtf8(name));
    if (buddy) label->setBuddy(buddy);
    return label;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* utf8Text) {
    auto* check = new QCheckBox(QString::fromUtf8(utf8Text), parent);
    check->setObjectName(QString::fromUtf8(name));
    return check;
}

RadioGroup* makeGroup(QWidget* parent, const char* name, const char* utf8Title) {
    auto* group = new RadioGroup(QString::fromUtf8(utf8Title), parent);
    group->setObjectName(QString::fromUtf8(name));
    return group;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* utf8Caption) {
    auto* button = new QPushButton(QString::fromUtf8(utf8Caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

namespace {

class LeaveWatcher : public QObject {
  public:
    LeaveWatcher(QWidget* control, std::function<void()> handler)
        : QObject(control), control_(control), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusOut) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        // The application already names the new focus widget when the old one hears of it.
        const QWidget* next = QApplication::focusWidget();
        if (next && (next == control_ || control_->isAncestorOf(next))) return false;
        handler_();
        return false;
    }

  private:
    QWidget* control_;
    std::function<void()> handler_;
};

} // namespace

QObject* onLeave(QWidget* control, std::function<void()> handler) {
    auto* watcher = new LeaveWatcher(control, std::move(handler));
    control->installEventFilter(watcher);
    for (QWidget* child : control->findChildren<QWidget*>())
        child->installEventFilter(watcher);
    return watcher;
}

void fitToHint(QWidget& window) {
    QSize size = window.size().expandedTo(window.sizeHint());
    const QScreen* screen = window.screen();
    if (screen) size = size.boundedTo(screen->availableGeometry().size());
    window.resize(size);
    if (screen) window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace zx
