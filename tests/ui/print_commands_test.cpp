// The print commands with every dialog played from a script: the print dialog as each page
// prepares it, the preview, and the job written into a PDF file that is read back.
#include "ui/commands/print_commands.h"
#include "ui/dialogs/interaction.h"

#include "scripted_interaction.h"
#include "ui/pdf_text.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace zx {
namespace {

using Kind = ScriptedInteraction::Kind;

struct PreparedDialog {
    QAbstractPrintDialog::PrintDialogOptions options;
    int min, max, from, to;
    QAbstractPrintDialog::PrintRange range;
};

QAction* previewAction(QDialog& dialog, const char* text) {
    for (QAction* action : dialog.findChildren<QAction*>())
        if (action->text() == QLatin1String(text)) return action;
    return nullptr;
}

class PrintCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 300);
        window.menuBar()->addMenu(QStringLiteral("Fájl"));
        window.setCentralWidget(new QLabel(QStringLiteral("Zendrax")));
        for (int i = 1; i <= 7; ++i)
            rows.push_back({RawText(std::to_string(4000 + i)), {"Igen", "Nem", "Nem", "Nem"}});

        PrintSources s;
        s.commitEdits = [this] {
            ++commits;
            return commitAccepted;
        };
        s.page = [this] { return page; };
        s.model = [] { return DeviceModel::Line4; };
        s.codeRows = [this] { return rows; };
        s.codeSelection = [this] { return codeSelection; };
        s.freeNumbers = [this] { return freeNumbers; };
        s.freeNumberSelection = [this] { return freeMarks; };
        s.fileName = [] { return QStringLiteral("/adat/iroda.vd1"); };
        s.site = [] { return QStringLiteral("Pécs"); };
        s.owner = [] { return QStringLiteral("Nagy"); };
        s.terminalText = [this] { return terminal; };
        s.window = [this] { return &window; };
        s.pageWidget = [this] { return window.centralWidget(); };
        s.pageName = [] { return QStringLiteral("Alap"); };
        s.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 7, 5)); };
        commands = std::make_unique<PrintCommands>(ui, s);
    }

    // The operator in the print dialog: the dialog as it was prepared is noted, then the choice
    // is made and the job goes into the PDF file.
    void makeChoice(QDialog& d, QPrinter::PrintRange range, int from, int to) {
        auto& dialog = dynamic_cast<QPrintDialog&>(d);
        prepared.push_back({dialog.options(), dialog.minPage(), dialog.maxPage(), dialog.fromPage(),
                            dialog.toPage(), dialog.printRange()});
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(pdf);
        dialog.setPrintRange(static_cast<QAbstractPrintDialog::PrintRange>(range));
        if (range == QPrinter::PageRange) dialog.setFromTo(from, to);
        dialog.done(QDialog::Accepted);
    }
    void choose(QPrinter::PrintRange range, int from = 0, int to = 0) {
        ui.dialogHandlers.push_back([=, this](QDialog& d) { makeChoice(d, range, from, to); });
    }
    // The same, with a look at the dialog on screen first: which of the named choices it shows
    // the operator.
    void chooseLooking(QPrinter::PrintRange range, const QStringList& names) {
        ui.dialogHandlers.push_back([=, this](QDialog& d) {
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            // The choices lie in the dialog's options, folded away until the operator opens them.
            auto* options = d.findChild<QWidget*>("QPrintSettingsOutput");
            ASSERT_NE(options, nullptr);
            shownChoices.clear();
            for (const QString& name : names) {
                auto* widget = d.findChild<QWidget*>(name);
                ASSERT_NE(widget, nullptr) << name.toStdString();
                if (widget->isVisibleTo(options)) shownChoices << name;
            }
            d.hide();
            makeChoice(d, range, 0, 0);
        });
    }
    void cancelPrintDialog() {
        ui.dialogHandlers.push_back([](QDialog& d) { d.done(QDialog::Rejected); });
    }
    // The operator looks at the preview, then prints with its own button or closes it.
    void preview(bool print) {
        ui.dialogHandlers.push_back([=, this](QDialog& d) {
            auto* widget = d.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(widget, nullptr);
            widget->updatePreview();
            previewPages = widget->pageCount();
            if (!print) {
                d.reject();
                return;
            }
            QAction* action = previewAction(d, "Print");
            ASSERT_NE(action, nullptr);
            action->trigger();
        });
    }
    void print(QPrinter::PrintRange range, int from = 0, int to = 0) {
        choose(range, from, to);
        preview(true);
        commands->print();
    }

    QStringList dialogsShown() const { return ui.texts(Kind::Dialog); }
    QString pdfText() const {
        const QStringList pages = pdfPages(pdf);
        return pages.join(QLatin1Char('\f'));
    }
    QByteArray pdfBytes() const {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QMainWindow window;
    int page = 0;
    std::vector<CodeRowView> rows;
    std::optional<NumberSpan> codeSelection;
    QStringList freeNumbers;
    std::vector<bool> freeMarks;
    QStringList terminal;

    ScriptedInteraction ui;
    std::unique_ptr<PrintCommands> commands;
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("nyomtatas.pdf"));
    std::vector<PreparedDialog> prepared;
    int previewPages = 0;
    QStringList shownChoices;
    int commits = 0;
    bool commitAccepted = true;
};

TEST_F(PrintCommandsTest, SettingsPagesOfferAllOnlyAndPrintThePageItself) {
    for (int shown : {0, 1, 2, 3, 6}) {
        page = shown;
        print(QPrinter::AllPages);
        ASSERT_EQ(prepared.size(), 1u);
        EXPECT_FALSE(prepared[0].options & QAbstractPrintDialog::PrintPageRange) << shown;
        EXPECT_FALSE(prepared[0].options & QAbstractPrintDialog::PrintSelection) << shown;
        EXPECT_EQ(prepared[0].range, QAbstractPrintDialog::AllPages);
        EXPECT_EQ(previewPages, 1);
        prepared.clear();
    }
    EXPECT_EQ(ui.unscripted, 0);
    EXPECT_EQ(dialogsShown().count("PrintDialog1"), 5);
    EXPECT_EQ(dialogsShown().count("PrintPreviewDialog1"), 5);

    // The page's own drawing, not a picture of it, under the heading.
    EXPECT_EQ(pdfBytes().count("/Subtype /Image"), 0);
    if (havePdfToText()) {
        EXPECT_EQ(pdfTitle(pdf), QString::fromUtf8("Zendrax nyomtatás"));
        const QString text = pdfText();
        for (const char* shown :
             {"Zendrax", "Alap", "Fájl: /adat/iroda.vd1", "Telepítési hely: Pécs", "Oldal: 1"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << text.toStdString();
    }
}

// The dialog offers a range only where the report takes one, as row or item numbers: a window
// picture and the terminal's text are printed whole, and the dialog's free list of pages
// ("1-3,7") reaches no report.
TEST_F(PrintCommandsTest, TheDialogShowsOnlyTheChoicesTheJobHonours) {
    const QStringList choices{"printAll", "printRange", "printSelection", "pagesRadioButton"};
    terminal = {"OK"};
    for (int shown : {0, 3, 6, int(PrintCommands::TerminalPage)}) {
        page = shown;
        chooseLooking(QPrinter::AllPages, choices);
        preview(true);
        commands->print();
        EXPECT_EQ(shownChoices, QStringList()) << shown;
    }
    for (int shown : {int(PrintCommands::CodesPage), int(PrintCommands::FreeNumbersPage)}) {
        page = shown;
        freeNumbers = {"104             "};
        chooseLooking(QPrinter::AllPages, choices);
        preview(true);
        commands->print();
        EXPECT_EQ(shownChoices, (QStringList{"printAll", "printRange", "printSelection"})) << shown;
    }
    EXPECT_EQ(ui.unscripted, 0);
}

// The preview opens readable: over most of the screen, the page as wide as the view.
TEST_F(PrintCommandsTest, ThePreviewOpensLargeWithThePageFittedToItsWidth) {
    for (int shown : {0, int(PrintCommands::CodesPage)}) {
        SCOPED_TRACE(shown);
        page = shown;
        choose(QPrinter::AllPages);
        ui.dialogHandlers.push_back([](QDialog& d) {
            d.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            auto* widget = d.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(widget, nullptr);
            widget->updatePreview();
            const QSize screen = d.screen()->availableGeometry().size();
            EXPECT_GE(d.width(), screen.width() * 3 / 4);
            EXPECT_GE(d.height(), screen.height() * 3 / 4);
            EXPECT_EQ(widget->zoomMode(), QPrintPreviewWidget::FitToWidth);
            // The zoom is the page's width on the screen over its width at the screen's
            // resolution: fitted, the page spans the view but for its border.
            auto* printer = dynamic_cast<QPrintPreviewDialog&>(d).printer();
            const double paperInches = printer->pageLayout().fullRect(QPageLayout::Inch).width();
            const double pageOnScreen = widget->zoomFactor() * paperInches * widget->logicalDpiX();
            EXPECT_GT(pageOnScreen, widget->width() * 0.8);
            EXPECT_LE(pageOnScreen, widget->width());
            d.reject();
        });
        commands->print();
    }
    EXPECT_EQ(ui.unscripted, 0);
}

// The window's commit step runs first; when it refuses the edited field, nothing is printed
// and no dialog opens.
TEST_F(PrintCommandsTest, ARefusedCommitStopsThePrint) {
    page = PrintCommands::CodesPage;
    commitAccepted = false;
    commands->print();
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(dialogsShown().isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));

    commitAccepted = true;
    print(QPrinter::AllPages);
    EXPECT_EQ(commits, 2);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(PrintCommandsTest, CodePageRangesCountRowsAndTheChoiceIsKept) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    page = PrintCommands::CodesPage;
    print(QPrinter::PageRange, 4, 5);
    ASSERT_EQ(prepared.size(), 1u);
    EXPECT_TRUE(prepared[0].options & QAbstractPrintDialog::PrintPageRange);
    EXPECT_TRUE(prepared[0].options & QAbstractPrintDialog::PrintSelection);
    EXPECT_EQ(prepared[0].min, 1);
    EXPECT_EQ(prepared[0].max, 7);
    EXPECT_EQ(prepared[0].from, 1);
    EXPECT_EQ(prepared[0].to, 7);
    EXPECT_EQ(prepared[0].range, QAbstractPrintDialog::AllPages);
    QString text = pdfText();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Személyi kódok:/adat/iroda.vd1")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Telepítési hely:Pécs")));
    EXPECT_TRUE(text.contains("0004|4004") && text.contains("0005|4005"));
    EXPECT_FALSE(text.contains("0003|") || text.contains("0006|"));

    // The range choice is offered first next time, with the range back at every row; the
    // selection prints the grid's selected block.
    codeSelection = NumberSpan{2, 3};
    print(QPrinter::Selection);
    ASSERT_EQ(prepared.size(), 2u);
    EXPECT_EQ(prepared[1].range, QAbstractPrintDialog::PageRange);
    EXPECT_EQ(prepared[1].from, 1);
    EXPECT_EQ(prepared[1].to, 7);
    text = pdfText();
    EXPECT_TRUE(text.contains("0002|4002") && text.contains("0003|4003"));
    EXPECT_FALSE(text.contains("0001|") || text.contains("0004|"));

    // A settings page neither offers nor changes the kept choice; a cancelled dialog prints
    // nothing and changes nothing either.
    page = 0;
    print(QPrinter::AllPages);
    page = PrintCommands::CodesPage;
    QFile::remove(pdf);
    cancelPrintDialog();
    commands->print();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(commands->keptChoice(), QPrinter::Selection);
    EXPECT_EQ(dialogsShown().count("PrintPreviewDialog1"), 3);
    // Closing the preview prints nothing either.
    choose(QPrinter::AllPages);
    preview(false);
    commands->print();
    EXPECT_EQ(previewPages, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(PrintCommandsTest, FreeNumberPageSelectionAndEmptyList) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    page = PrintCommands::FreeNumbersPage;
    freeNumbers = {"104             ", "0612345678      ", "112             "};
    freeMarks = {false, true, false};
    print(QPrinter::Selection);
    ASSERT_EQ(prepared.size(), 1u);
    EXPECT_EQ(prepared[0].max, 3);
    QStringList lines = pdfText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(
        QRegularExpression(QString::fromUtf8("Szabadon hívható számok /adat/iroda.vd1 +Oldal:1"))));
    EXPECT_EQ(lines[1].trimmed(), "0612345678");

    // Nothing selected: the header alone. An empty list: the header alone, with a range the
    // dialog accepts.
    freeMarks = {false, false, false};
    print(QPrinter::Selection);
    EXPECT_EQ(pdfText().split('\n', Qt::SkipEmptyParts).size(), 1);
    freeNumbers.clear();
    print(QPrinter::AllPages);
    ASSERT_EQ(prepared.size(), 3u);
    EXPECT_EQ(prepared[2].min, 1);
    EXPECT_EQ(prepared[2].max, 1);
    lines = pdfText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("Oldal:1"));
}

// The page setup dialog applies the operator's choice when it is run to its end.
void chooseLandscape(ScriptedInteraction& ui) {
    ui.dialogHandlers.push_back([](QDialog& d) {
        ASSERT_NE(dynamic_cast<QPageSetupDialog*>(&d), nullptr);
        QTimer::singleShot(0, &d, [&d] {
            if (auto* landscape = d.findChild<QRadioButton*>("landscape")) landscape->click();
            d.accept();
        });
        d.exec();
    });
}

TEST_F(PrintCommandsTest, PageSetupStaysForLaterJobsAndServesThePreview) {
    page = PrintCommands::TerminalPage;
    terminal = {"ATZ", "OK", "", ""};
    chooseLandscape(ui);
    commands->pageSetup();
    EXPECT_EQ(dialogsShown(), QStringList{"PrinterSetupDialog1"});
    print(QPrinter::AllPages);
    EXPECT_TRUE(pdfBytes().contains("/MediaBox [0 0 842.000000 595.000000]"));

    // The preview's own page setup goes through the same door and changes the same printer.
    commands->printer().setPageOrientation(QPageLayout::Portrait);
    ui.shown.clear();
    choose(QPrinter::AllPages);
    ui.dialogHandlers.push_back([](QDialog& d) {
        QAction* setup = previewAction(d, "Page setup");
        ASSERT_NE(setup, nullptr);
        setup->trigger();
        previewAction(d, "Print")->trigger();
    });
    chooseLandscape(ui);
    commands->print();
    EXPECT_EQ(dialogsShown(),
              (QStringList{"PrintDialog1", "PrintPreviewDialog1", "PrinterSetupDialog1"}));
    EXPECT_TRUE(pdfBytes().contains("/MediaBox [0 0 842.000000 595.000000]"));
    EXPECT_EQ(ui.unscripted, 0);
}

TEST_F(PrintCommandsTest, TerminalPagePrintsItsTextAndNothingWhenBlank) {
    page = PrintCommands::TerminalPage;
    terminal = {"   ", "", ""};
    commands->print();
    EXPECT_EQ(ui.messages(), QStringList{QString::fromUtf8(PrintCommands::NothingToPrint)});
    EXPECT_TRUE(dialogsShown().isEmpty());

    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    terminal = {"ATDT 0612345678", "CONNECT 9600", "transpon", "", "   "};
    print(QPrinter::AllPages);
    ASSERT_EQ(prepared.size(), 1u);
    EXPECT_FALSE(prepared[0].options & QAbstractPrintDialog::PrintPageRange);
    EXPECT_EQ(pdfText().split('\n', Qt::SkipEmptyParts),
              (QStringList{"ATDT 0612345678", "CONNECT 9600", "transpon"}));
}

} // namespace
} // namespace zx
