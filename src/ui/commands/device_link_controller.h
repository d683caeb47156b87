#pragma once
// Where the main window meets the device link: the line service that owns the one serial port
// ComPort1, the connection settings read at start and written at every close, the terminal pane
// and its page, the connection settings dialog, and the one queue of what the line's answers
// have the window say.
#include "files/connection_settings.h"
#include "link/line_service.h"
#include "ui/dialogs/notice_queue.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class MainWindow;

namespace zx {

class TerminalPane;
class TerminalPage;

class DeviceLinkController : public QObject {
    Q_OBJECT
  public:
    // `connection` is what readConnectionSettings read at start; the status bar shows it.
    // `makeLine` gives each operation its link and clock over the port (the serial port and the
    // computer's clock unless told otherwise).
    DeviceLinkController(MainWindow& form, const ConnectionState& connection,
                         LineFactory makeLine = serialLine, QObject* parent = nullptr);
    ~DeviceLinkController() override;

    LineService& line() { return line_; }
    ConnectionState& connection() { return connection_; }
    TerminalPage& terminalPage() { return *page_; }
    TerminalPane* terminal() const;
    // What the line's answers have the window say, one modal box at a time.
    NoticeQueue& notices() { return notices_; }

    // The ports the connection dialog offers; by default those the system lists.
    std::function<QStringList()> listPorts;

    // "&Com port...": the connection settings dialog, then the telephone number and panel 2.
    void editConnection();
    // Whether the connection may become `next`: a change of port or speed while the operator
    // holds the port open asks first; "Igen" disconnects as "Ka&pcsolódás" does, "Nem" keeps
    // everything as it is (the caller changes nothing then).
    bool mayChangeConnection(const ConnectionState& next);
    // Writes port and speed to the program's settings; a failure is reported.
    void saveConnectionSettings();

  private:
    MainWindow& form_;
    ConnectionState connection_;
    NoticeQueue notices_;
    LineService line_;
    QPointer<TerminalPane> terminal_;
    std::unique_ptr<TerminalPage> page_;
};

} // namespace zx
