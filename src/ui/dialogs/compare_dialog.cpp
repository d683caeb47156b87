#include "ui/dialogs/compare_dialog.h"

#include "files/file_bytes.h"
#include "print/report_painter.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/interaction.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

namespace {

enum Column { Label = 0, Shown = 1, Other = 2, Name = 3, ColumnCount = 4 };

QString sideText(const std::optional<SettingValue>& value) {
    return value ? QString::fromStdString(shownText(*value)) : QString();
}

QString shownCaption() {
    return QString::fromUtf8("Megjelenített");
}

} // namespace

QString ComparedSides::otherCaption() const {
    return otherFile.isEmpty() ? QString::fromUtf8("Egység") : QFileInfo(otherFile).fileName();
}

CompareDialog::CompareDialog(std::vector<SettingDifference> differences, ComparedSides sides,
                             Interaction& interaction, QWidget* parent)
    : QDialog(parent), differences_(std::move(differences)), sides_(std::move(sides)),
      interaction_(interaction) {
    setObjectName(QStringLiteral("TCompare"));
    setWindowTitle(QString::fromUtf8("Összehasonlítás"));
    lblSides = new QLabel(this);
    lblSides->setObjectName(QStringLiteral("lblSides"));
    lblSides->setWordWrap(true);
    lblSides->setText(sidesText().join(QLatin1Char('\n')));
    edFilter = new QLineEdit(this);
    edFilter->setObjectName(QStringLiteral("edFilter"));
    edFilter->setPlaceholderText(QString::fromUtf8("a beállítás vagy a neve része"));
    tbDiff = new QTableWidget(this);
    tbDiff->setObjectName(QStringLiteral("tbDiff"));
    tbDiff->setColumnCount(ColumnCount);
    tbDiff->setHorizontalHeaderLabels({QString::fromUtf8("Beállítás"), shownCaption(),
                                       sides_.otherCaption(), QString::fromUtf8("Név")});
    tbDiff->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbDiff->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbDiff->verticalHeader()->hide();
    // Long values (a code row's rights, a line's settings) wrap in their cells, which grow
    // downwards: both values show whole side by side.
    tbDiff->setWordWrap(true);
    tbDiff->setTextElideMode(Qt::ElideNone);
    QHeaderView* columns = tbDiff->horizontalHeader();
    columns->setSectionResizeMode(Label, QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(Shown, QHeaderView::Stretch);
    columns->setSectionResizeMode(Other, QHeaderView::Stretch);
    columns->setSectionResizeMode(Name, QHeaderView::ResizeToContents);
    tbDiff->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setWordWrap(true);
    btnSave = new QPushButton(QString::fromUtf8("&Mentés..."), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnClose = new QPushButton(QString::fromUtf8("&Bezárás"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QString::fromUtf8("Szűrés:"), this));
    filterRow->addWidget(edFilter, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount, 1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblSides);
    column->addLayout(filterRow);
    column->addWidget(tbDiff, 1);
    column->addLayout(buttons);

    connect(edFilter, &QLineEdit::textChanged, this, &CompareDialog::setFilter);
    connect(btnSave, &QPushButton::clicked, this, &CompareDialog::saveList);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    fillRows();
    // Room for the label, both values and the name side by side, within the screen.
    QSize size(900, 540);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    centreOnScreen(*this);
}

void CompareDialog::fillRows() {
    tbDiff->setRowCount(static_cast<int>(differences_.size()));
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const SettingDifference& d = differences_[i];
        const QString name = QString::fromStdString(d.name);
        const QString cells[ColumnCount] = {QString::fromStdString(d.label), sideText(d.a),
                                            sideText(d.b), name};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // The label's tip gives the name scripts use; a value's tip the value whole.
            item->setToolTip(c == Label ? name : cells[c]);
            tbDiff->setItem(static_cast<int>(i), c, item);
        }
    }
    setFilter(edFilter->text());
}

bool CompareDialog::filtered() const {
    for (int row = 0; row < tbDiff->rowCount(); ++row)
        if (tbDiff->isRowHidden(row)) return true;
    return false;
}

void CompareDialog::setFilter(const QString& part) {
    // The field shows the filter in force: a filter set from outside comes back by its signal.
    if (edFilter->text() != part) {
        edFilter->setText(part);
        return;
    }
    int shown = 0;
    for (int row = 0; row < tbDiff->rowCount(); ++row) {
        const bool match = tbDiff->item(row, Label)->text().contains(part, Qt::CaseInsensitive) ||
                           tbDiff->item(row, Name)->text().contains(part, Qt::CaseInsensitive);
        tbDiff->setRowHidden(row, !match);
        shown += match;
    }
    const int all = tbDiff->rowCount();
    if (differences_.empty())
        lblCount->setText(QString::fromUtf8("Nincs eltérés."));
    else if (shown == all)
        lblCount->setText(QString::fromUtf8("Eltérés: %1. A mentés mindet írja.").arg(all));
    else
        lblCount->setText(
            QString::fromUtf8("Eltérés: %1 / %2 (szűrve). A mentés csak a látható sorokat írja.")
                .arg(shown)
                .arg(all));
    btnSave->setEnabled(shown > 0);
}

QStringList CompareDialog::shownLines() const {
    QStringList lines;
    for (int row = 0; row < tbDiff->rowCount(); ++row) {
        if (tbDiff->isRowHidden(row)) continue;
        QStringList cells;
        for (int c = 0; c < ColumnCount; ++c)
            cells << tbDiff->item(row, c)->text();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

QStringList CompareDialog::sidesText() const {
    const QString shownSide = sides_.shownFile.isEmpty()
                                  ? QString::fromUtf8("a megjelenített új konfiguráció")
                                  : QString::fromUtf8("a megjelenített %1").arg(sides_.shownFile);
    const QString otherSide =
        sides_.otherFile.isEmpty() ? QString::fromUtf8("az egység (letöltve)") : sides_.otherFile;
    return {QString::fromUtf8("Összehasonlítás: %1 és %2").arg(shownSide, otherSide),
            QString::fromUtf8("Időpont: %1").arg(reportDateTime(sides_.when))};
}

QStringList CompareDialog::savedText() const {
    QStringList text = sidesText();
    const QStringList rows = shownLines();
    text << (filtered() ? QString::fromUtf8("Szűrés: \"%1\", a szűrt sorok: %2 / %3")
                              .arg(edFilter->text())
                              .arg(rows.size())
                              .arg(tbDiff->rowCount())
                        : QString::fromUtf8("Szűrés nélkül, minden eltérés: %1").arg(rows.size()));
    text << QString();
    QStringList titles;
    for (int c = 0; c < ColumnCount; ++c)
        titles << tbDiff->horizontalHeaderItem(c)->text();
    text << titles.join(QLatin1Char('\t'));
    return text + rows;
}

bool CompareDialog::saveList() {
    Interaction::FileRequest request;
    request.title = QString::fromUtf8("Eltérések mentése");
    request.filter = QString::fromUtf8("Szöveg (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = interaction_.saveFileName(this, request);
    if (path.isEmpty()) return false;
    QByteArray text;
    for (const QString& line : savedText())
        text += line.toUtf8() + "\r\n";
    const FileWriteResult written = writeFileAtomically(path, text, FileAccess::OwnerOnly);
    if (!written.ok) interaction_.error(this, written.message);
    return written.ok;
}

} // namespace zx
