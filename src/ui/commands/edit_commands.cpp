#include "ui/commands/edit_commands.h"

#include "model/edit_history.h"
#include "ui/main_window.h"
#include "ui/views/code_grid.h"
#include "ui/views/codes_view.h"
#include "ui/views/config_view.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

namespace zx {

namespace {

// "&Visszavonás: Alap / CO pozíció"; an '&' of the step's name is shown, not taken as the
// command's key.
QString caption(const char* command, const QString& step) {
    QString text = QString::fromUtf8(command);
    if (!step.isEmpty())
        text +=
            QStringLiteral(": ") + QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

} // namespace

EditCommands::EditCommands(MainWindow& form, QObject* parent) : QObject(parent), form_(form) {
    const MainMenu& m = form_.menu();
    connect(m.undo, &QAction::triggered, this, &EditCommands::undo);
    connect(m.redo, &QAction::triggered, this, &EditCommands::redo);
    connect(&form_.document(), &ConfigDocument::historyChanged, this, &EditCommands::followHistory);
    followHistory();
    // Installed after the window's shortcut filter, so it runs first and the window then finds
    // the command enabled.
    qApp->installEventFilter(this);
    connect(m.editMenu, &QMenu::aboutToShow, this, &EditCommands::nameStepsAsStored);
}

void EditCommands::nameStepsAsStored() {
    if (form_.isBusy()) return;
    // What Ctrl+Z would store first (a value being typed, a grid cell, a right changed by a key)
    // is stored now, as its own step: the menu then names the step its command takes back.
    if (!form_.document().commitPendingEditsAsOwnStep())
        // Refused: the message was shown and the field keeps its text; the menu stays shut.
        QMetaObject::invokeMethod(form_.menu().editMenu, &QMenu::close, Qt::QueuedConnection);
    followHistory();
}

// A field the commit step stores (not the terminal's number field or the free-number entry,
// which keep their own undo).
bool EditCommands::storedByAView(const QWidget* field) {
    for (const QWidget* w = field; w; w = w->parentWidget())
        if (const auto* view = qobject_cast<const ConfigView*>(w)) return view->storesFrom(field);
    return false;
}

bool EditCommands::typedIntoStoredField(QObject* watched) const {
    auto* field = qobject_cast<QLineEdit*>(watched);
    return !form_.menu().undo->isEnabled() && !form_.isBusy() && field && field->isModified() &&
           !field->isReadOnly() && field->window() == &form_ && storedByAView(field);
}

bool EditCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !typedIntoStoredField(watched)) return false;
    QAction* undoAction = form_.menu().undo;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    if (undoAction->shortcuts().contains(pressed)) undoAction->setEnabled(true);
    return false;
}

void EditCommands::followHistory() {
    const ConfigDocument& doc = form_.document();
    const MainMenu& m = form_.menu();
    m.undo->setText(caption("&Visszavonás", doc.undoName()));
    m.redo->setText(caption("&Mégis", doc.redoName()));
    // Busy mode gives the commands back their state when it ends.
    if (form_.isBusy()) return;
    m.undo->setEnabled(doc.canUndo());
    m.redo->setEnabled(doc.canRedo());
}

void EditCommands::undo() {
    step(true);
}

void EditCommands::redo() {
    step(false);
}

void EditCommands::step(bool back) {
    if (form_.isBusy()) return;
    ConfigDocument& doc = form_.document();
    // A value still being typed becomes a step of its own, not part of the last store of its
    // field, so that the undo gives back the value stored before it.
    if (!doc.commitPendingEditsAsOwnStep()) return followHistory();
    const QString name = back ? doc.undoName() : doc.redoName();
    const std::optional<StepPlace> place = back ? doc.undo() : doc.redo();
    followHistory(); // also when the value typed changed nothing and there was no step
    if (!place) return;
    form_.refill();
    showChange(*place);
    form_.lineState().showOutcome(
        (back ? QString::fromUtf8("Visszavonva: ") : QString::fromUtf8("Újra elvégezve: ")) + name);
}

void EditCommands::showChange(const StepPlace& place) {
    if (place.control.empty()) return;
    ViewPages& pages = *form_.viewPages;
    pages.buildAll();
    auto* control = pages.findChild<QWidget*>(QString::fromStdString(place.control));
    if (!control) return;
    for (int page = 0; page < ViewPages::Count; ++page) {
        if (pages.widget(page)->isAncestorOf(control)) {
            form_.showView(page);
            break;
        }
    }
    if (qobject_cast<CodeGrid*>(control)) {
        form_.codesView()->showRow(std::max(place.row, 1));
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(control); list && place.row > 0)
        list->setCurrentRow(std::min(place.row, list->count()) - 1);
    control->setFocus();
}

} // namespace zx
