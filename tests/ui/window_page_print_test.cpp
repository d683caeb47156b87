// Each settings page of the window printed as the desktop prints it, into a PDF read back: the
// page's own labels and values as text, under its heading and sheet number, inside margins
// a printer does not clip, without the frame's model box and status bar; column headings on
// every sheet; on paper every scrolled area whole and without scroll bars.
#include "ui/commands/print_commands.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/print/printer_page.h"
#include "ui/views/current_item_delegate.h"

#include "scripted_interaction.h"
#include "shown_session.h"
#include "status_panel_text.h"
#include "ui/pdf_text.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <typeinfo>
#include <utility>
#include <vector>

namespace zx {
namespace {

// A text without its blanks, and with the ligatures a PDF's text may hold ("ﬁ") as letters.
QString squeezed(QString text) {
    text = text.normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

// The texts a page shows the operator: its labels, check box and radio captions, and the
// values of its fields and boxes.
QStringList shownTexts(const QWidget& page) {
    QStringList texts;
    for (const QWidget* w : page.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&page)) continue;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) text = edit->text();
        if (const auto* box = qobject_cast<const QComboBox*>(w)) text = box->currentText();
        text.remove(QLatin1Char('&'));
        if (!text.trimmed().isEmpty()) texts << text;
    }
    return texts;
}

TEST(WindowPagePrint, EverySettingsPageOfBothModelsPrintsAsTextInsideTheMargins) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ShownSession shown;
    ASSERT_TRUE(shown.start());
    MainWindow& window = shown.window();
    ScriptedInteraction& ui = shown.ui;
    DesktopSession& session = shown.session;
    const QTemporaryDir& dir = shown.dir;
    const QString pdf = dir.filePath(QStringLiteral("oldal.pdf"));

    // Every settings page of both models on A4; the 16 lines also on A6 landscape, where they
    // go on over further sheets.
    struct Case {
        DeviceModel model;
        int view;
        const char* name;
        QPageSize::PageSizeId paper = QPageSize::A4;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        bool severalSheets = false;
        const char* everySheet = nullptr; // a column heading repeated on each sheet
    };
    std::vector<Case> cases;
    for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16})
        for (const auto& [view, name] : std::initializer_list<std::pair<int, const char*>>{
                 {0, "Alap"}, {1, "Vonalak"}, {2, "Időzítők"}, {3, "Számhosszak"}, {6, "Behívás"}})
            cases.push_back({model, view, name});
    cases.push_back({DeviceModel::Line16, 1, "Vonalak", QPageSize::A6, QPageLayout::Landscape, true,
                     "Vonalfogás"});

    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 (%2-line) on %3")
                         .arg(QString::fromUtf8(c.name))
                         .arg(c.model == DeviceModel::Line4 ? 4 : 16)
                         .arg(QPageSize::name(c.paper))
                         .toStdString());
        window.chooseModel(c.model);
        window.showView(c.view);
        QWidget& page = *window.viewPages->currentWidget();
        const QStringList expected = shownTexts(page);
        ASSERT_GT(expected.size(), 3);
        const QSize shownSize = page.size();
        // Lists scrolled to their end stay there.
        std::vector<std::pair<QScrollBar*, int>> scrolled;
        for (QAbstractScrollArea* area : page.findChildren<QAbstractScrollArea*>()) {
            QScrollBar* bar = area->verticalScrollBar();
            bar->setValue(bar->maximum());
            scrolled.emplace_back(bar, bar->value());
        }
        // A list's first and last entries (64 barred areas, scrolled to the end) reach the paper;
        // a list drawn by a delegate of its own shows its texts, not its items'.
        std::vector<std::pair<QListWidgetItem*, QString>> ends;
        for (QListWidget* list : page.findChildren<QListWidget*>()) {
            const std::type_info& delegate = typeid(*list->itemDelegate());
            if (list->count() < 2 || !list->isVisibleTo(&page) ||
                (delegate != typeid(QStyledItemDelegate) &&
                 delegate != typeid(CurrentItemDelegate)))
                continue;
            for (const int row : {0, list->count() - 1}) {
                QListWidgetItem* item = list->item(row);
                ends.emplace_back(item, item->text());
                item->setText(QStringLiteral("SOR%1").arg(row + 1));
            }
        }
        ui.dialogHandlers.push_back([&](QDialog& d) {
            auto& dialog = dynamic_cast<QPrintDialog&>(d);
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            dialog.printer()->setPageSize(QPageSize(c.paper));
            dialog.printer()->setPageOrientation(c.orientation);
            dialog.done(QDialog::Accepted);
        });
        ui.dialogHandlers.push_back([](QDialog& d) { d.accept(); }); // the preview's print
        session.print().print();
        EXPECT_EQ(ui.unscripted, 0);
        // The page is back at the size it has in the window.
        EXPECT_EQ(page.size(), shownSize);
        for (const auto& [bar, value] : scrolled)
            EXPECT_EQ(bar->value(), value);

        const QList<PdfPage> sheets = pdfWordBoxes(pdf);
        const QStringList texts = pdfPages(pdf);
        ASSERT_FALSE(sheets.isEmpty());
        ASSERT_EQ(texts.size(), sheets.size());
        EXPECT_EQ(sheets.size() > 1, c.severalSheets) << sheets.size();
        const QString all = squeezed(texts.join(QString()));
        for (const QString& text : expected)
            EXPECT_TRUE(all.contains(squeezed(text))) << text.toStdString();
        for (const auto& [item, text] : ends) {
            EXPECT_TRUE(all.contains(item->text())) << item->text().toStdString();
            item->setText(text);
        }
        // The frame around the page is not printed.
        EXPECT_FALSE(all.contains(squeezed(window.modelBox->currentText())));
        EXPECT_FALSE(all.contains(squeezed(zx::statusPanelText(window, MainWindow::Panel::State))));

        const double margin = 10 * PointsPerMm - 0.3;
        for (qsizetype n = 0; n < sheets.size(); ++n) {
            // The heading's lines (wrapped on narrow paper) and the sheet's number.
            const QString heading = squeezed(texts[n].trimmed().section(QLatin1Char('\n'), 0, 3));
            EXPECT_TRUE(heading.startsWith(squeezed(QString::fromUtf8(c.name))))
                << heading.toStdString();
            for (const QString& part :
                 {QString::fromUtf8("Fájl: Új"), QString::fromUtf8("Telepítési hely:"),
                  QStringLiteral("Oldal: %1").arg(n + 1)})
                EXPECT_TRUE(heading.contains(squeezed(part))) << heading.toStdString();
            if (c.everySheet) {
                EXPECT_TRUE(squeezed(texts[n]).contains(squeezed(QString::fromUtf8(c.everySheet))))
                    << "sheet " << n + 1;
            }
            const PdfPage& sheet = sheets[n];
            const QRectF inside(margin, margin, sheet.size.width() - 2 * margin,
                                sheet.size.height() - 2 * margin);
            for (const PdfWord& word : sheet.words)
                EXPECT_TRUE(inside.contains(word.box))
                    << word.text.toStdString() << " at " << word.box.left() << "," << word.box.top()
                    << " on sheet " << n + 1;
        }
    }
}

// While a page is on paper its scrolled areas (the 16 lines, 64 barred areas, the exceptions)
// hold all they have and show no scroll bar, in a window too small to show them.
TEST(WindowPagePrint, PaperShowsEveryScrolledAreaWholeWithoutScrollBars) {
    ShownSession shown;
    ASSERT_TRUE(shown.start());
    shown.window().resize(640, 420);
    for (const DeviceModel model : {DeviceModel::Line4, DeviceModel::Line16}) {
        shown.window().chooseModel(model);
        for (const int view : {1, 3, 6}) {
            shown.window().showView(view);
            QApplication::processEvents();
            QWidget& page = *shown.window().viewPages->currentWidget();
            const QSize shownSize = page.size();
            {
                const PageOnPaper paper(page);
                for (QAbstractScrollArea* area : page.findChildren<QAbstractScrollArea*>()) {
                    EXPECT_FALSE(area->verticalScrollBar()->isVisibleTo(area)) << view;
                    const auto* list = qobject_cast<QAbstractItemView*>(area);
                    const auto* rows = qobject_cast<QScrollArea*>(area);
                    EXPECT_GE(area->viewport()->height(),
                              list ? list->sizeHintForRow(0) * list->model()->rowCount()
                                   : rows->widget()->sizeHint().height())
                        << view;
                }
            }
            EXPECT_EQ(page.size(), shownSize);
        }
    }
}

} // namespace
} // namespace zx
