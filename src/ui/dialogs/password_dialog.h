#pragma once
// The password asked for when a database file is opened. The dialog checks nothing: the caller
// reads password() whichever button closed it and compares it with the file's.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zx {

class DatabaseRecord;
class Interaction;

class PasswordDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PasswordDialog(QWidget* parent = nullptr);

    // Puts the cursor into the empty password field.
    void prepareFields();
    QString password() const;

    QLabel* passwordLabel;
    QLineEdit* Password;
    QPushButton* btnOK;
    QPushButton* btnCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool centred_ = false;
};

// Asks the password of a database file as Open does (the dialog through the interaction) and
// tells whether it is the file's.
bool askPasswordOf(const DatabaseRecord& file, Interaction& interaction, QWidget* parent);

} // namespace zx
