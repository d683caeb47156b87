#pragma once
// The connection settings dialog: port, speed and telephone number, and the saved connections
// of "zxconn.ini". It closes only through OK, which applies what it shows unless the operator
// changed nothing (applied()). The port box shows the port in use even when the system does not
// list it, and takes a typed device path. The main window runs it modally through its
// interaction seam, then, when it was applied, shows phone() and panelText().
#include "files/connection_settings.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zx {

class ConnectionDialog : public QDialog {
    Q_OBJECT
  public:
    // `ports` are the names the system lists; empty keeps "COM1" to "COM9". The dialog is
    // filled from `state` at once, since it is shown as soon as it is made.
    ConnectionDialog(ConnectionState& state, QWidget* parent = nullptr,
                     const QStringList& ports = systemPortNames(),
                     const QString& connectionsPath = savedConnectionsPath());

    // The serial ports the system lists, by the names the program uses for them.
    static QStringList systemPortNames();

    void fillPortList(const QStringList& ports);
    void prepareFields();
    void savedConnectionChosen();
    // The closing through OK: reads the choice (readChoice) and, unless the dialog was told to
    // leave that to its owner, applies it (applyChoice); nothing at all when the port and speed
    // are those shown at the start and the number and name are still empty.
    void storeFields();
    bool applied() const { return applied_; }
    // The owner applies the choice itself, once it has agreed to it (a port change while the
    // port is open asks first): the dialog's OK then changes nothing by itself.
    void setAppliesItself(bool appliesItself) { appliesItself_ = appliesItself; }
    // The connection the dialog was closed with (port, speed, connection name), after OK.
    const ConnectionState& chosen() const { return chosen_; }
    // Saves the named connection in "zxconn.ini" and takes port, speed and name into the state.
    void applyChoice();

    // After storeFields: the main window's new telephone number and connection panel text.
    QString phone() const { return phone_; }
    QString panelText() const { return panelText_; }
    // Reports a saved-connections file that cannot be written.
    std::function<void(const QString&)> showError;

    QComboBox* CmbCom;
    QComboBox* CmbSpeed;
    QLineEdit* edPhone;
    QLineEdit* edConn;
    QListWidget* lbConn;
    QPushButton* BtnOK;

  public slots:
    void done(int result) override;
    // Escape and the window's close do nothing: OK is the only way out.
    void reject() override {}

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ConnectionState& state_;
    QString path_;
    QString phone_;
    QString panelText_;
    QString portText() const;
    bool untouched() const;
    void readChoice();

    ConnectionState chosen_;
    QString speedText_;
    bool appliesItself_ = true;

    int shownSpeedItem_ = -1;
    bool applied_ = false;
    bool centred_ = false;
    bool closed_ = false;
};

} // namespace zx
