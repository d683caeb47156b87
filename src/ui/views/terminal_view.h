#pragma once
// The "Terminál" page's widgets: connecting by hand, dialling, transparent mode, clock setting
// and the terminal pane below them. TerminalPage holds the page's logic.
#include "ui/terminal/terminal_page.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace zx {

class TerminalView : public QWidget {
    Q_OBJECT
  public:
    explicit TerminalView(QWidget* parent = nullptr);

    // Puts the real terminal pane where the placeholder stands; the page's logic then works on
    // the page's controls and that pane.
    TerminalPageWidgets setTerminalWidget(TerminalPane* terminal);

    // The telephone number the dial button calls.
    void setPhone(const QString& phone);
    // The clock button takes clicks only while no other operation owns the line.
    void setSyncEnabled(bool enabled);
    // The focus goes back to the terminal pane (after the clock was set).
    void focusTerminal();

  signals:
    // "Dátum/Idő szinkronizálás": the unit's clock is to be set.
    void syncClicked();

  private:
    QPushButton *btnConnect, *btnTransp, *btnSync, *btnDial;
    QLineEdit* edPhone;
    QLabel* lblTermNote;
    QWidget* terminalPane;
    QVBoxLayout* layout_;
};

} // namespace zx
