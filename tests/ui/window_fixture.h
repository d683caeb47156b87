#pragma once
// A main window on its own record, with every modal question answered from a script.
#include "model/database_record.h"
#include "scripted_interaction.h"
#include "ui/commands/code_commands.h"
#include "ui/commands/free_number_commands.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/basic_view.h"
#include "ui/views/call_in_view.h"
#include "ui/views/codes_view.h"
#include "ui/views/free_numbers_view.h"
#include "ui/views/lines_view.h"
#include "ui/views/numbers_view.h"
#include "ui/views/radio_group.h"
#include "ui/views/terminal_view.h"
#include "ui/views/timers_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>
#include <memory>

class WindowTest : public ::testing::Test {
  protected:
    // The window with the command groups of its code and free-number menus, as the desktop
    // session makes them; other groups are made by the tests of each.
    void SetUp() override {
        form = std::make_unique<MainWindow>(document, ui);
        // Every page as the window has it once it has been shown.
        form->viewPages->buildAll();
        codeCommands = std::make_unique<zx::CodeCommands>(*form);
        freeNumberCommands = std::make_unique<zx::FreeNumberCommands>(*form);
    }
    void TearDown() override {
        freeNumberCommands.reset();
        codeCommands.reset();
        form.reset();
    }

    template <class T> T* find(const QString& name) const {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << "no " << name.toStdString();
        return w;
    }
    zx::RadioGroup* group(const QString& name) const { return find<zx::RadioGroup>(name); }
    QString groupText(const QString& name) const {
        zx::RadioGroup* g = group(name);
        return g ? g->currentText() : QString();
    }
    QString editText(const QString& name) const {
        QLineEdit* e = find<QLineEdit>(name);
        return e ? e->text() : QString();
    }
    QAction* action(const QString& name) const { return find<QAction>(name); }

    // Shown within its view, whatever view is current.
    bool shownInView(const QString& name) const {
        QWidget* w = find<QWidget>(name);
        if (!w) return false;
        QWidget* sheet = w;
        while (sheet && !sheet->objectName().startsWith(QLatin1String("TabSheet")))
            sheet = sheet->parentWidget();
        return sheet && w->isVisibleTo(sheet);
    }

    // The operator who picks a model in the box means it: "Igen" when the box asks first.
    void chooseModelInBox(zx::DeviceModel m) {
        ui.answers.push_front(zx::Interaction::Answer::Yes);
        const std::size_t left = ui.answers.size();
        form->chooseModel(m);
        if (ui.answers.size() == left) ui.answers.pop_front();
    }
    // The flag as a command leaves it: set by a change, cleared as by a save to the same file.
    void setModified(bool modified) {
        if (modified)
            document.markModified();
        else
            document.markSaved(document.currentFileName());
    }

    zx::DatabaseRecord record;
    zx::ConfigDocument document{record};
    zx::ScriptedInteraction ui;
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<zx::CodeCommands> codeCommands;
    std::unique_ptr<zx::FreeNumberCommands> freeNumberCommands;
};

inline QString nn(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
