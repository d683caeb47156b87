#pragma once
// The dialog that chooses a file to open. An existing file opens as chosen, extension or not;
// the default extension is added only to a name that does not exist ("iroda" opens
// "iroda.vdb", "ls" opens "ls" under "Minden file"). Qt's own default suffix would be added to
// every name without a dot, so the dialog keeps it out of Qt's hands.
#include <QFileDialog>

namespace zx {

class OpenFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    OpenFileDialog(QWidget* parent, const QString& title, const QString& directory,
                   const QString& filter, const QString& defaultExtension);

    // The file chosen, by the rule above; empty when none was.
    QString chosenFile() const;

  public slots:
    // The typed name becomes the file it names before the dialog checks that it exists.
    void accept() override;

  private:
    QString extension_;
};

} // namespace zx
