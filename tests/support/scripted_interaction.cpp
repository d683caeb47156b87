#include "scripted_interaction.h"

#include <QDialog>

namespace zx {

namespace {
const QString AppTitle = QStringLiteral("Zendrax");
} // namespace

class ScriptedInteraction::Open {
  public:
    explicit Open(ScriptedInteraction& ui) : ui_(ui) {
        if (ui_.open_++ > 0) ++ui_.nested;
    }
    ~Open() { --ui_.open_; }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;

  private:
    ScriptedInteraction& ui_;
};

QStringList ScriptedInteraction::texts(Kind kind) const {
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == kind) out << s.text;
    return out;
}

void ScriptedInteraction::message(QWidget*, const QString& text) {
    const Open box(*this);
    shown.append({Kind::Message, AppTitle, text});
    if (whileShowing) whileShowing(text);
}

void ScriptedInteraction::error(QWidget*, const QString& text) {
    const Open box(*this);
    shown.append({Kind::Error, QStringLiteral("Hiba"), text});
    if (whileShowing) whileShowing(text);
}

Interaction::Answer ScriptedInteraction::ask(const QString& title, const QString& text,
                                             Answer defaultAnswer) {
    const Open box(*this);
    shown.append({Kind::Question, title, text, defaultAnswer});
    if (whileAsking) whileAsking(text);
    if (answers.empty()) {
        ++unscripted;
        return Answer::Cancel;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Interaction::Answer ScriptedInteraction::askYesNoCancel(QWidget*, const QString& title,
                                                        const QString& text,
                                                        const Captions& captions) {
    lastCaptions = captions;
    return ask(title, text, Answer::Yes);
}

Interaction::Answer ScriptedInteraction::askYesNo(QWidget*, const QString& title,
                                                  const QString& text, Answer defaultAnswer) {
    return ask(title, text, defaultAnswer) == Answer::Yes ? Answer::Yes : Answer::No;
}

bool ScriptedInteraction::nextConfirmation() {
    if (confirmations.empty()) {
        ++unscripted;
        return false;
    }
    const bool ok = confirmations.front();
    confirmations.pop_front();
    return ok;
}

QString ScriptedInteraction::nextFileName() {
    if (fileNames.empty()) {
        ++unscripted;
        return {};
    }
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

bool ScriptedInteraction::confirm(QWidget*, const QString& text) {
    shown.append({Kind::Confirm, QString::fromUtf8("Megerősítés"), text});
    return nextConfirmation();
}

bool ScriptedInteraction::errorOkCancel(QWidget*, const QString& text) {
    shown.append({Kind::ErrorOkCancel, QStringLiteral("Hiba"), text});
    return nextConfirmation();
}

QString ScriptedInteraction::openFileName(QWidget*, const FileRequest& request) {
    shown.append({Kind::OpenFile, request.title, request.filter});
    return nextFileName();
}

QString ScriptedInteraction::saveFileName(QWidget*, const FileRequest& request) {
    shown.append({Kind::SaveFile, request.title, request.filter});
    return nextFileName();
}

QString ScriptedInteraction::folderName(QWidget*, const QString& title, const QString& start) {
    shown.append({Kind::Folder, title, start});
    return nextFileName();
}

int ScriptedInteraction::runDialog(QDialog& dialog) {
    const Open box(*this);
    shown.append({Kind::Dialog, dialog.windowTitle(), dialog.objectName()});
    dialog.setResult(QDialog::Rejected);
    if (dialogHandlers.empty()) {
        ++unscripted;
        return QDialog::Rejected;
    }
    auto handler = std::move(dialogHandlers.front());
    dialogHandlers.pop_front();
    handler(dialog);
    return dialog.result();
}

} // namespace zx
