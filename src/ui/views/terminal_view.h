#pragma once
// The "Terminál" page's widgets: connecting by hand, dialling, transparent mode, clock setting
// and the terminal pane below them. TerminalPage holds the page's logic.
#include <QWidget>

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace zx {

class TerminalView : public QWidget {
    Q_OBJECT
  public:
    explicit TerminalView(QWidget* parent = nullptr);

    // Puts the real terminal pane where the placeholder stands.
    void setTerminalWidget(QWidget* terminal);

    QPushButton *btnConnect, *btnTransp, *btnSync, *btnDial;
    QLineEdit* edPhone;
    QWidget* ComTerminal1;

  private:
    QVBoxLayout* layout_;
};

} // namespace zx
