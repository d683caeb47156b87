#pragma once
// The one door through which the program asks the operator something or tells them something
// in a modal window. The desktop shows real message boxes and dialogs; tests script the
// answers and read what was shown, so no test ever blocks on a modal window.
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

namespace zx {

class Interaction {
  public:
    enum class Answer { Yes, No, Cancel };

    struct FileRequest {
        QString title;
        QString filter;        // "Zendrax adatbázis (*.vd1)"
        QString defaultSuffix; // "vdb"
        QString directory;
        QString fileName;
    };

    virtual ~Interaction() = default;

    // A plain message with an OK button ("Értéknek 0..255 között kell lenni !!!").
    virtual void message(QWidget* parent, const QString& text) = 0;
    // The general error box that failures of files and of the serial port end in.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Captions for a question's buttons where Yes and No would not say what they do
    // ("Hozzáfűzés", "Felülírás", "Mégsem"); empty ones keep "Igen", "Nem", "Mégse".
    struct Captions {
        QString yes, no, cancel;
    };
    // A Yes/No/Cancel question under a title ("Zendrax", "Menti a változásokat ?").
    virtual Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text,
                                  const Captions& captions = {}) = 0;
    // A Yes/No question under a title ("N kód törlődik. Folytatja?"); never Cancel. Enter gives
    // `defaultAnswer` (Yes or No): "Nem" unless the question says otherwise.
    virtual Answer askYesNo(QWidget* parent, const QString& title, const QString& text,
                            Answer defaultAnswer = Answer::No) = 0;
    // An OK/Cancel confirmation ("Biztos benne ?"); true for OK.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // An error box with OK and Cancel ("Kód eggyezés:3 = 17"); true for OK.
    virtual bool errorOkCancel(QWidget* parent, const QString& text) = 0;
    // A file name chosen by the operator; empty when the dialog was cancelled.
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;
    // A folder chosen by the operator, starting at `start`; empty when cancelled.
    virtual QString folderName(QWidget* parent, const QString& title, const QString& start) = 0;
    // Runs a modal dialog (password, preferences, connection settings, printing) to its end
    // and returns its result code (QDialog::Accepted or QDialog::Rejected).
    virtual int runDialog(QDialog& dialog) = 0;
};

// The real windows of the desktop, with Hungarian buttons.
class DesktopInteraction : public Interaction {
  public:
    // The message box every message and question is shown in, not yet shown: as wide as its
    // title needs beside the window's own buttons, its text on lines of their own, " !!!"
    // kept on the line of the words it closes.
    static std::unique_ptr<QMessageBox> messageBox(QWidget* parent, int icon, const QString& title,
                                                   const QString& text, int buttons,
                                                   int defaultButton,
                                                   const Captions& captions = {});

    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text,
                          const Captions& captions = {}) override;
    Answer askYesNo(QWidget* parent, const QString& title, const QString& text,
                    Answer defaultAnswer = Answer::No) override;
    bool confirm(QWidget* parent, const QString& text) override;
    bool errorOkCancel(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString folderName(QWidget* parent, const QString& title, const QString& start) override;
    int runDialog(QDialog& dialog) override;
};

} // namespace zx
