#pragma once
// The scripted double of the window's one door for questions, messages, file dialogs and dialogs:
// answers from queues and a record of everything shown, so no test ever blocks on a modal window.
#include "ui/dialogs/interaction.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

namespace zx {

// Answers from queues and a record of everything shown, for tests and scripted runs. A request
// whose queue is empty gets the harmless answer (Cancel, false, no file name, a rejected
// dialog) and is counted in unscripted, so a test notices a question it did not expect.
class ScriptedInteraction : public Interaction {
  public:
    enum class Kind {
        Message,
        Error,
        Question,
        Confirm,
        ErrorOkCancel,
        OpenFile,
        SaveFile,
        Folder,
        Dialog
    };
    struct Shown {
        Kind kind;
        QString title;
        QString text;
        // The answer Enter gives on a question (askYesNoCancel's is Yes).
        Answer defaultAnswer = Answer::Yes;
    };

    std::deque<Answer> answers;     // askYesNoCancel and askYesNo (Cancel is taken as No there)
    std::deque<bool> confirmations; // confirm and errorOkCancel
    std::deque<QString> fileNames;  // openFileName, saveFileName and folderName
    // Each handler plays the operator on one dialog: fills its fields and closes it (accept(),
    // reject() or a click on its button); runDialog then returns the dialog's result.
    std::deque<std::function<void(QDialog&)>> dialogHandlers;

    QList<Shown> shown;
    int unscripted = 0;

    // Texts of everything shown of the given kind, in order.
    QStringList texts(Kind kind) const;
    QStringList messages() const { return texts(Kind::Message); }

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
    // From the fileNames queue too.
    QString folderName(QWidget* parent, const QString& title, const QString& start) override;
    int runDialog(QDialog& dialog) override;
    // The captions of the last question's buttons, as askYesNoCancel was given them.
    Captions lastCaptions;
    // Runs while a question is open, before it is answered, as the operator's time on a real
    // question box would: a test lets the event loop run here (a transfer ending meanwhile).
    std::function<void(const QString& question)> whileAsking;
    // The same for a message or an error box before its OK (a test takes the window's
    // activation away here, as a real box does).
    std::function<void(const QString& text)> whileShowing;
    // Boxes and dialogs opened while another was still open (inside its event loop).
    int nested = 0;

  private:
    // Counts the box open for as long as it lives.
    class Open;
    int open_ = 0;

    Answer ask(const QString& title, const QString& text, Answer defaultAnswer);
    bool nextConfirmation();
    QString nextFileName();
};

} // namespace zx
