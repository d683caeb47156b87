// Every text of the window shows whole: at the size the window starts with and at 800 x 600,
// on every page of both models, no label, caption or status panel has a text wider than its
// widget (a panel that shortens its text with "..." shows it whole in its tip).
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "scripted_interaction.h"
#include "shown_session.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

QString caption(QString text) {
    return text.remove(QLatin1Char('&'));
}

// The texts of the window's visible widgets that do not fit them, one line each.
QStringList clippedTexts(const QWidget& window) {
    QStringList clipped;
    const auto note = [&](const QWidget* w, const QString& text, int needed, int room) {
        if (needed > room)
            clipped << QStringLiteral("%1 \"%2\": %3 > %4")
                           .arg(w->objectName().isEmpty()
                                    ? QString::fromLatin1(w->metaObject()->className())
                                    : w->objectName(),
                                text)
                           .arg(needed)
                           .arg(room);
    };
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) continue;
        if (const auto* panel = qobject_cast<const MiddleElidedLabel*>(w)) {
            // Shortened in the middle, whole in the tip.
            note(w, panel->shownText(), panel->fontMetrics().horizontalAdvance(panel->shownText()),
                 panel->contentsRect().width());
            if (panel->toolTip() != panel->text()) clipped << panel->text() + " without its tip";
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText) continue;
            if (label->wordWrap())
                note(w, label->text(), label->heightForWidth(label->width()), label->height());
            else
                note(w, label->text(), label->sizeHint().width(), label->width());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            const QString text = caption(button->text());
            if (text.isEmpty()) continue;
            int needed = button->fontMetrics().horizontalAdvance(text);
            if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
                needed = button->sizeHint().width();
            note(w, text, needed, button->width());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            const QString title = caption(group->title());
            if (title.isEmpty()) continue;
            note(w, title, group->fontMetrics().horizontalAdvance(title) + 8, group->width());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                note(w, tabs->tabText(i),
                     tabs->fontMetrics().horizontalAdvance(caption(tabs->tabText(i))),
                     tabs->tabRect(i).width());
        }
    }
    return clipped;
}

TEST(WindowTexts, EveryTextShowsWholeAtTheStartSizeAndAt800x600) {
    // The walk sees a text cut by its widget.
    {
        QWidget narrow;
        auto* label = new QLabel(QStringLiteral("Behívásról tiltott körzetszámok:"), &narrow);
        label->setObjectName(QStringLiteral("cut"));
        label->setFixedWidth(40);
        narrow.show();
        const QStringList seen = clippedTexts(narrow);
        ASSERT_EQ(seen.size(), 1);
        EXPECT_TRUE(seen[0].startsWith(QStringLiteral("cut"))) << seen[0].toStdString();
    }

    ShownSession shown;
    ASSERT_TRUE(shown.start());
    MainWindow& window = shown.window();
    ScriptedInteraction& ui = shown.ui;
    // A long device path in the connection panel, and the longest state a transfer leaves.
    window.setStatusText(MainWindow::Panel::Connection,
                         QStringLiteral("/tmp/walk/egy/nagyon/hosszu/ptyA ( 19200 )"));
    window.setStatusText(MainWindow::Panel::State,
                         QStringLiteral("Az egység nem azt tartja, amit kapott !!!"));

    const QSize startSize = window.size();
    for (const QSize size : {startSize, QSize(800, 600)}) {
        window.resize(size);
        for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
            window.chooseModel(model);
            for (int view = 0; view < MainWindow::ViewCount; ++view) {
                window.showView(view);
                QApplication::processEvents();
                EXPECT_EQ(window.size(), size) << "the window keeps the size it was given";
                EXPECT_EQ(clippedTexts(window), QStringList())
                    << size.width() << "x" << size.height() << " model "
                    << (model == DeviceModel::Line4 ? 4 : 16) << " view " << view;
            }
        }
    }
    EXPECT_EQ(ui.unscripted, 0);
}

// A message box is as wide as its text and its title need: a short message does not leave the
// title to the frame's "Z...", a long line is not cut.
TEST(WindowTexts, MessageBoxesShowTheirTitleAndTextWhole) {
    const struct {
        const char* title;
        const char* text;
    } cases[] = {
        {"Zendrax", "Hibás jelszó !!!"},
        {"Zendrax", "Az egység nem azt tartja, amit kapott !!!\nEltérő beállítások:\n"
                    "Alap / CO pozíció\nBehívás / Behívás külföldi, belföldi szám esetén"},
        {"Megerősítés", "Biztos benne ?"},
    };
    for (const auto& c : cases) {
        const auto box = DesktopInteraction::messageBox(
            nullptr, QMessageBox::NoIcon, QString::fromUtf8(c.title), QString::fromUtf8(c.text),
            QMessageBox::Ok, QMessageBox::Ok);
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 100)
            << c.text;
        EXPECT_EQ(clippedTexts(*box), QStringList()) << c.text;
        box->hide();
    }
}

} // namespace
} // namespace zx
