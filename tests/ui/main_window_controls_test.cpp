// The window as the operator first meets it: views, controls, menus and status bar.
#include "window_fixture.h"

#include "ui/terminal/terminal_widget.h"
#include "widget_lookup.h"

#include "scripted_interaction.h"
#include "status_panel_text.h"
#include "ui/views/code_grid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

namespace {

TEST_F(WindowTest, TitleAndTheEightViewsInPageOrder) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zendrax (Vardo-4 V2.39; Vardo-16 V4.29)"));
    const char* const sheets[][2] = {
        {"TabSheet1", "&Alap"},        {"TabSheet2", "&Vonalak"},  {"TabSheet3", "I&dőzítők"},
        {"TabSheet4", "Szám&hosszak"}, {"TabSheet5", "&Kódok"},    {"TabSheet6", "&Számok"},
        {"TabSheet7", "&Behívás"},     {"TabSheet8", "&Terminál"},
    };
    QTabWidget* pages = find<QTabWidget>(QStringLiteral("PageControl"));
    ASSERT_EQ(pages, form->viewPages);
    ASSERT_EQ(pages->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), QString::fromUtf8(sheets[i][0])) << i;
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(sheets[i][1])) << i;
    }
    EXPECT_EQ(form->currentView(), 0);
}

TEST_F(WindowTest, EveryControlLivesOnItsViewUnderItsName) {
    const std::pair<const char*, std::vector<const char*>> views[] = {
        {"TabSheet1",
         {"RGspeed", "RGbit", "RGmod", "RG20h", "MEcopos", "CBcokar", "MEcallpos", "MErzk",
          "MEszamz", "lblSzamz", "chkPinEna", "chkDSTena"}},
        {"TabSheet3",
         {"MEibe", "MEibo", "MEintd", "ME1t1", "ME1t2", "ME2t1", "ME2t2", "MEcol1", "MEcol2",
          "MEcor1", "MEcor2", "edLI", "lblDeltaLI", "lblido2"}},
        {"TabSheet4",
         {"MEloclen", "MEnatlen", "lbKiv", "edKivSzam", "edKivHossz", "btnKivEdit", "btnKivDel",
          "pnlPref", "edMP01", "edMP02", "edMP03", "edMP04", "edIP01", "edIP02"}},
        {"TabSheet5", {"StringGrid1"}},
        {"TabSheet6",
         {"Label34", "lbFreeCall", "MEfreecall", "BTNfreejav", "BTNujszam1", "BTNfreedel",
          "Label50"}},
        {"TabSheet7",
         {"edBehiv", "chkIntGW", "chkNatGW", "lbGW", "lblNoGW", "edGW", "lblKorz", "btnGWAdd",
          "btnGWDel"}},
        {"TabSheet8", {"btnConnect", "btnTransp", "btnSync", "edPhone", "btnDial", "ComTerminal1"}},
    };
    for (const auto& [sheetName, names] : views) {
        QWidget* sheet = find<QWidget>(QString::fromUtf8(sheetName));
        ASSERT_NE(sheet, nullptr);
        for (const char* name : names)
            EXPECT_NE(sheet->findChild<QWidget*>(QString::fromUtf8(name)), nullptr)
                << name << " on " << sheetName;
    }
    QWidget* lines = find<QWidget>(QStringLiteral("TabSheet2"));
    for (int n = 1; n <= 16; ++n)
        for (const char* stem :
             {"pnlCO", "lblPort", "MEco", "RGdial", "RGline", "RGtime", "CBalv", "CBbeh"})
            EXPECT_NE(lines->findChild<QWidget*>(QString::fromUtf8(stem) + nn(n)), nullptr)
                << stem << n;
    QWidget* bottom = find<QWidget>(QStringLiteral("pnlBott"));
    EXPECT_NE(bottom->findChild<QComboBox*>(QStringLiteral("cbTipus")), nullptr);
}

TEST_F(WindowTest, CaptionsAndLabelsAreTheOperatorsTexts) {
    const std::pair<const char*, const char*> captions[] = {
        {"RGspeed", "SMDR sebesség"},
        {"RGbit", "Paritás"},
        {"RGmod", "SMDR mód"},
        {"RG20h", "20hex alatti karakterek"},
    };
    for (const auto& [name, title] : captions)
        EXPECT_EQ(group(QString::fromUtf8(name))->title(), QString::fromUtf8(title)) << name;

    const std::pair<const char*, const char*> texts[] = {
        {"chkPinEna", "Pinkód engedélyezés"},
        {"chkDSTena", "Átállás a téli/nyári időszámításra"},
        {"chkIntGW", "Behívás külföldi szám esetén"},
        {"chkNatGW", "Behívás belföldi szám esetén"},
        {"btnKivEdit", "&Módosítás"},
        {"btnKivDel", "&Törlés"},
        {"btnGWAdd", "&Felvesz"},
        {"btnGWDel", "&Töröl"},
        {"BTNfreejav", "&Javítás"},
        {"BTNujszam1", "&Uj szám"},
        {"BTNfreedel", "&Törlés"},
        {"btnConnect", "Ka&pcsolódás"},
        {"btnTransp", "Transzp. Be"},
        {"btnSync", "Dátum/Idő szinkronizálás"},
        {"btnDial", "&Tárcsáz"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(find<QAbstractButton>(QString::fromUtf8(name))->text(), QString::fromUtf8(text))
            << name;

    const std::pair<const char*, const char*> labels[] = {
        {"lblSzamz", "Számzáró kód:"},
        {"lblDeltaLI", "Hurok/Imp különbség:"},
        {"lblido2", "#2"},
        {"lblNoGW", "Behívásról tiltott körzetszámok:"},
        {"lblKorz", "Körzetszám:"},
        {"Label34", "Kód nélkül hívható számok"},
        {"Label50", "Bejegyzések:0/208"}, // the counter, current from the start
    };
    for (const auto& [name, text] : labels)
        EXPECT_EQ(find<QLabel>(QString::fromUtf8(name))->text(), QString::fromUtf8(text)) << name;

    // Every edit is labelled for the operator with the text its view names.
    const std::pair<const char*, const char*> buddies[] = {
        {"MEcopos", "CO pozíció:"},
        {"CBcokar", "CO karakterszám:"},
        {"MEcallpos", "Hívottszám pozíció:"},
        {"MErzk", "Rekord záró kód:"},
        {"MEibe", "Beemelési:"},
        {"MEibo", "Bontási:"},
        {"MEintd", "Interdigit:"},
        {"ME1t1", "Elsö T. hang:"},
        {"ME2t1", "Második T. hang:"},
        {"MEcol1", "CO leidözítés:"},
        {"MEcor1", "CO reszet:"},
        {"MEloclen", "Helyi számhossz:"},
        {"MEnatlen", "Belföldi számhossz:"},
        {"lbKiv", "Belföldi kivételek (Körzetszám:Hossz):"},
        {"edBehiv", "Behívószám:"},
        {"edPhone", "Telefonszám:"},
    };
    for (const auto& [name, text] : buddies) {
        QWidget* w = find<QWidget>(QString::fromUtf8(name));
        const QList<QLabel*> all = form->findChildren<QLabel*>();
        const auto it =
            std::find_if(all.begin(), all.end(), [w](QLabel* l) { return l->buddy() == w; });
        ASSERT_NE(it, all.end()) << name << " has no label";
        EXPECT_EQ((*it)->text(), QString::fromUtf8(text)) << name;
    }
}

TEST_F(WindowTest, TextLimitsAndHints) {
    const std::pair<const char*, int> limits[] = {
        {"MEcopos", 3},  {"MEcallpos", 3}, {"MErzk", 3},      {"MEszamz", 1}, {"MEloclen", 3},
        {"MEnatlen", 3}, {"edKivSzam", 4}, {"edKivHossz", 3}, {"edMP01", 4},  {"edMP04", 4},
        {"edIP01", 2},   {"edIP02", 2},    {"edBehiv", 24},   {"edGW", 2},    {"MEfreecall", 16},
    };
    for (const auto& [name, limit] : limits)
        EXPECT_EQ(find<QLineEdit>(QString::fromUtf8(name))->maxLength(), limit) << name;

    const std::pair<const char*, const char*> hints[] = {
        {"MEibe", "x 100mS"},
        {"MEibo", "x 100mS"},
        {"MEintd", "x 0,5S"},
        {"ME1t1", "x100mS"},
        {"ME1t2", "x100mS"},
        {"ME2t1", "x100mS"},
        {"ME2t2", "x100mS"},
        {"MEcol1", "x100mS"},
        {"MEcol2", "x100mS"},
        {"MEcor1", "x100mS"},
        {"MEcor2", "x100mS"},
        {"edLI", "A két jelfogó elengedése közötti idő (x10mS)"},
        {"lblDeltaLI", "A két jelfogó elengedése közötti idő (x10mS)"},
    };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(find<QWidget>(QString::fromUtf8(name))->toolTip(), QString::fromUtf8(hint))
            << name;
}

TEST_F(WindowTest, FixedItemsOfTheChoiceControls) {
    EXPECT_EQ(group(QStringLiteral("RGbit"))->items(),
              QStringList({QStringLiteral("Nincs"), QString::fromUtf8("Páros")}));
    EXPECT_EQ(group(QStringLiteral("RG20h"))->items(),
              QStringList({QStringLiteral("Lenyel"), QString::fromUtf8("Átenged")}));
    QComboBox* width = find<QComboBox>(QStringLiteral("CBcokar"));
    ASSERT_EQ(width->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(width->itemText(i), QString::number(i + 1));
    QComboBox* type = find<QComboBox>(QStringLiteral("cbTipus"));
    ASSERT_EQ(type->count(), 2);
    EXPECT_EQ(type->itemText(0), QStringLiteral("Vardo-4 (V2.39+)"));
    EXPECT_EQ(type->itemText(1), QStringLiteral("Vardo-16 (V 4.27+)"));
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_TRUE(type->isEnabled());
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(group(QStringLiteral("RGline") + nn(n))->items(),
                  QStringList({QString::fromUtf8("Tárcsázáskor"), QStringLiteral("Azonnal")}));
        EXPECT_EQ(group(QStringLiteral("RGtime") + nn(n))->items(),
                  QStringList({QStringLiteral("#1"), QStringLiteral("#2")}));
    }
    EXPECT_EQ(find<QLabel>(QStringLiteral("lblPort07"))->text(), QStringLiteral("07"));
    EXPECT_TRUE(find<QLabel>(QStringLiteral("lblPort07"))->font().bold());
    EXPECT_EQ(find<QListWidget>(QStringLiteral("lbFreeCall"))->selectionMode(),
              QAbstractItemView::ExtendedSelection);
}

TEST_F(WindowTest, TerminalPageStartState) {
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("btnConnect"))->isCheckable());
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("btnConnect"))->isChecked());
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("btnTransp"))->isCheckable());
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("btnTransp"))->isEnabled());
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("btnSync"))->isEnabled());
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("btnDial"))->isEnabled());
    EXPECT_TRUE(editText(QStringLiteral("edPhone")).isEmpty());
}

TEST_F(WindowTest, TerminalPaneSwapsInPlace) {
    QWidget* placeholder = zx::childNamed<QWidget>(*form, "ComTerminal1");
    auto* pane = new zx::TerminalPane;
    form->terminalView()->setTerminalWidget(pane);
    EXPECT_EQ(zx::childNamed<QWidget>(*form, "ComTerminal1"), pane);
    EXPECT_EQ(pane->objectName(), QStringLiteral("ComTerminal1"));
    EXPECT_EQ(pane->parentWidget(), find<QWidget>(QStringLiteral("TabSheet8")));
    EXPECT_EQ(form->findChildren<QWidget*>(QStringLiteral("ComTerminal1")).size(), 1);
    EXPECT_NE(placeholder, pane);
}

TEST_F(WindowTest, MenuBarCommandsCaptionsAndShortcuts) {
    struct Item {
        const char* menu;
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const Item items[] = {
        {"File1", "Uj1", "Uj", "Ctrl+N"},
        {"File1", "Open1", "&Megnyitás", "Ctrl+O"},
        {"File1", "mnuSave", "M&entés", "Ctrl+S"},
        {"File1", "SaveAs1", "Mentés másként", ""},
        {"File1", "DnLoad1", "&Letöltés", "Ctrl+D"},
        {"File1", "UpLoad1", "&Feltöltés", "Ctrl+U"},
        {"File1", "Oldalbellts1", "Oldalbeállítás...", ""},
        {"File1", "Nyomtats1", "Nyomtatás...", "Ctrl+P"},
        {"File1", "Exit1", "&Kilépés", ""},
        {"mnuEdit", "mnuUndo", "&Visszavonás", "Ctrl+Z"},
        {"mnuEdit", "mnuRedo", "&Mégis", "Ctrl+Y"},
        {"Settings", "mnuComport", "&Com port...", ""},
        {"Settings", "Preferencik1", "&Preferenciák...", ""},
        {"Nzet1", "Alap1", "Alap", ""},
        {"Nzet1", "Vonalak1", "Vonalak", ""},
        {"Nzet1", "Idztk1", "Idözítök", ""},
        {"Nzet1", "Szmhosszak1", "Számhosszak", ""},
        {"Nzet1", "Kdok1", "Kódok", ""},
        {"Nzet1", "Szmok1", "Számok", ""},
        {"Nzet1", "mnuBeh", "Behívás", ""},
        {"Nzet1", "mnuTerm", "Terminál", ""},
        {"Nzet1", "Refresh", "&Frissítés", "F5"},
        {"Kdok2", "SelectAllkod", "Mind kijelöl", "Ctrl+A"},
        {"Kdok2", "Generls1", "Generálás", "Ctrl+G"},
        {"Kdok2", "Ellenrzs1", "Ellenörzés", "Ctrl+E"},
        {"Importkod", "ImpText", "<--Txt", ""},
        {"Importkod", "ImpDat", "<--PIN.DAT", ""},
        {"Exportkod", "xt1", "-->Txt", ""},
        {"Exportkod", "PINDAT1", "-->PIN.DAT", ""},
        {"Szamok2", "Mindtrl1", "Mind töröl", ""},
        {"Szamok2", "ABCRendezett1", "ABC Rendezett", ""},
        {"Szamok2", "Importszam", "Import <- CALL.TXT", ""},
        {"Szamok2", "Exportszam", "Export -> CALL.TXT", ""},
        {"Sg1", "Tartalom1", "&Tartalom", ""},
    };
    for (const Item& it : items) {
        QMenu* menu = find<QMenu>(QString::fromUtf8(it.menu));
        ASSERT_NE(menu, nullptr) << it.menu;
        QAction* a =
            menu->findChild<QAction*>(QString::fromUtf8(it.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(a, nullptr) << it.name << " in " << it.menu;
        EXPECT_TRUE(menu->actions().contains(a)) << it.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(it.caption)) << it.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(it.shortcut))) << it.name;
    }
    const std::pair<const char*, const char*> menus[] = {
        {"File1", "&File"},  {"mnuEdit", "&Szerkesztés"}, {"Settings", "&Beállítások"},
        {"Nzet1", "&Nézet"}, {"Kdok2", "&Kódok"},         {"Szamok2", "S&zámok"},
        {"Sg1", "&Súgó"},
    };
    QList<QAction*> bar = form->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(std::size(menus)));
    for (std::size_t i = 0; i < std::size(menus); ++i) {
        EXPECT_EQ(bar[i]->menu()->objectName(), QString::fromUtf8(menus[i].first));
        EXPECT_EQ(bar[i]->text(), QString::fromUtf8(menus[i].second));
    }
    EXPECT_TRUE(action(QStringLiteral("ABCRendezett1"))->isCheckable());
    EXPECT_FALSE(action(QStringLiteral("ABCRendezett1"))->isChecked());
    // Separators in their places, named.
    for (const char* sep : {"N1", "N2", "N3", "N4", "N5", "N6", "N7"})
        EXPECT_TRUE(action(QString::fromUtf8(sep))->isSeparator()) << sep;
}

TEST_F(WindowTest, StatusBarPanelsAtStart) {
    const int widths[] = {200, 50, 150, 150};
    for (int i = 0; i < zx::StatusPanels::Count; ++i)
        EXPECT_EQ(form->statusPanels().width(i), widths[i]) << i;
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::File), QString::fromUtf8("Új"));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Codes), QStringLiteral("1/6"));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection),
              QStringLiteral("COM1 ( 19200 )"));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::State),
              QString::fromUtf8("Szétkapcsolva"));
    form->setStatusText(MainWindow::Panel::Connection, QStringLiteral("Irodai modem"));
    EXPECT_EQ(zx::statusPanelText(*form, MainWindow::Panel::Connection),
              QStringLiteral("Irodai modem"));
    EXPECT_FALSE(form->document().isModified());
    EXPECT_EQ(ui.shown.size(), 0);
}

TEST(CodeGridLayout, HeaderRowAndRowNumbersCountAsRowAndColumnZero) {
    zx::CodeGrid grid;
    grid.setGridRowCount(1001);
    EXPECT_EQ(grid.gridRowCount(), 1001);
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("Sorsz."));
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("   1"));
    EXPECT_EQ(grid.cell(0, 12), QStringLiteral("  12"));
    EXPECT_EQ(grid.cell(0, 1000), QStringLiteral("1000"));
    grid.setCell(1, 1000, QStringLiteral("123456"));
    EXPECT_EQ(grid.cell(1, 1000), QStringLiteral("123456"));
    // The fixed cells are not overwritten, and nothing lands outside the grid.
    grid.setCell(0, 3, QStringLiteral("x"));
    grid.setCell(2, 0, QStringLiteral("x"));
    grid.setCell(1, 1001, QStringLiteral("x"));
    EXPECT_EQ(grid.cell(0, 3), QStringLiteral("   3"));
    EXPECT_EQ(grid.cell(2, 0), QStringLiteral("Helyi"));
    EXPECT_EQ(grid.gridRowCount(), 1001);
    // A grid never has fewer than the header and one code row.
    grid.setGridRowCount(0);
    EXPECT_EQ(grid.gridRowCount(), 2);
}

} // namespace

namespace {

// Where a widget's left edge is on the screen.
int screenLeft(const QWidget* w) {
    return w->mapToGlobal(QPoint(0, 0)).x();
}

TEST_F(WindowTest, LabelsFitAndLineColumnsStayUnderTheirHeadingsWhenScrolled) {
    form->show();
    chooseModelInBox(zx::DeviceModel::Line16);
    // The 16-line right is its word; the column shows the longest one whole.
    zx::CodeGrid* grid = zx::childNamed<zx::CodeGrid>(*form, "StringGrid1");
    EXPECT_GE(grid->columnWidth(1),
              grid->fontMetrics().horizontalAdvance(QString::fromUtf8("Nemzetközi")));

    // A window narrower than the rows: scrolled sideways, each heading stays over its column.
    form->showView(1);
    form->resize(420, form->height());
    QApplication::processEvents();
    auto* scroll = find<QScrollArea>(QStringLiteral("sbLines"));
    ASSERT_NE(scroll, nullptr);
    ASSERT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    const QLabel* behivas = nullptr;
    const QLabel* vonalfogas = nullptr;
    for (const QLabel* label :
         find<QWidget>(QStringLiteral("pnlCOHead"))->findChildren<QLabel*>()) {
        if (label->text() == QString::fromUtf8("Behívás")) behivas = label;
        if (label->text() == QString::fromUtf8("Vonalfogás")) vonalfogas = label;
    }
    ASSERT_TRUE(behivas && vonalfogas);
    for (int value : {0, scroll->horizontalScrollBar()->maximum()}) {
        scroll->horizontalScrollBar()->setValue(value);
        QApplication::processEvents();
        EXPECT_EQ(screenLeft(behivas), screenLeft(find<QWidget>("CBbeh01"))) << value;
        EXPECT_EQ(screenLeft(vonalfogas), screenLeft(find<QWidget>("RGline05"))) << value;
    }
}

// Lines 05 to 16 are made when the 16-line model first shows them, or after the first paint;
// either way they take their place below line 04, in the Tab order too, and the 4-line window
// keeps its size.
TEST(LateLineRows, TakeTheirPlaceAndTabOrderBelowLineFour) {
    for (const bool afterFirstPaint : {false, true}) {
        SCOPED_TRACE(afterFirstPaint ? "made after the first paint" : "made by the model switch");
        zx::DatabaseRecord record;
        zx::ConfigDocument document{record};
        zx::ScriptedInteraction ui;
        MainWindow form(document, ui);
        EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("MEco05")), nullptr);
        const QSize fourLineHint = form.linesView()->sizeHint();
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        if (afterFirstPaint) {
            form.viewPages->buildAll();
            EXPECT_EQ(form.linesView()->sizeHint(), fourLineHint);
            EXPECT_FALSE(form.findChild<QWidget*>(QStringLiteral("pnlCO05"))->isVisibleTo(&form));
        }
        form.chooseModel(zx::DeviceModel::Line16);
        form.showView(1);
        QApplication::processEvents();
        auto* four = form.findChild<QWidget*>(QStringLiteral("CBbeh04"));
        auto* five = form.findChild<QWidget*>(QStringLiteral("MEco05"));
        ASSERT_TRUE(four && five);
        EXPECT_GT(five->mapTo(&form, QPoint()).y(), four->mapTo(&form, QPoint()).y());
        four->setFocus();
        QTest::keyClick(four, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), five);
        QTest::keyClick(five, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), four);
        // Tab from line 01 meets the CO numbers of the lines in their order, then leaves the view.
        QStringList met;
        form.findChild<QWidget*>(QStringLiteral("MEco01"))->setFocus();
        for (int i = 0; i < 200 && form.linesView()->isAncestorOf(QApplication::focusWidget());
             ++i) {
            const QString name = QApplication::focusWidget()->objectName();
            if (name.startsWith(QLatin1String("MEco"))) met << name.mid(4);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList lines;
        for (int n = 1; n <= 16; ++n)
            lines << nn(n);
        EXPECT_EQ(met, lines);
    }
}

TEST(RadioGroupTabStops, AGroupIsOneTabStopOnItsSelectedItem) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* group = new zx::RadioGroup(QStringLiteral("SMDR mód"), &window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(group);
    layout->addWidget(after);
    group->setItems({QStringLiteral("Normal"), QString::fromUtf8("Saját")});
    group->setItemIndex(1);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(group->button(1)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(group->button(1)));

    // Items made anew with none selected: the first is the stop.
    group->setItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QApplication::processEvents(); // the new buttons are shown
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(group->button(0)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
}

} // namespace
