#pragma once
// Small builders shared by the views of the main window.
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

namespace zx {

class RadioGroup;

// The UTF-8 texts of the model layer (item captions, decoded fields) as window texts.
QString fromUtf8(std::string_view text);
QStringList toStringList(const std::vector<std::string>& utf8Items);
// A named edit; maxLength 0 leaves the length open.
QLineEdit* makeEdit(QWidget* parent, const char* name, int maxLength = 0, int width = 0);
QLabel* makeLabel(QWidget* parent, const char* name, const char* utf8Text,
                  QWidget* buddy = nullptr);
QCheckBox* makeCheck(QWidget* parent, const char* name, const char* utf8Text);
RadioGroup* makeGroup(QWidget* parent, const char* name, const char* utf8Title);
QPushButton* makeButton(QWidget* parent, const char* name, const char* utf8Caption);

// Calls handler when the focus goes from the control (or a widget inside it) to another control
// of the window. Another window or a menu taking the focus for a while is not leaving it.
// Returns the watcher; deleting it ends the watch.
QObject* onLeave(QWidget* control, std::function<void()> handler);

// Grows a window (within its screen) to its size hint and centres it. A page control's hint
// holds the room of every page, so every view gets what it asks for (the terminal pane all its
// 24 rows) once all of them are built.
void fitToHint(QWidget& window);

} // namespace zx
