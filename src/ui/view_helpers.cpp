#include "ui/view_helpers.h"

#include "ui/radio_group.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

} // namespace zx
