#include "ui/dialogs/compare_dialog.h"

#include "files/file_bytes.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/interaction.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zx {

namespace {

QString sideText(const std::optional<SettingValue>& value) {
    return value ? QString::fromStdString(shownText(*value)) : QString();
}

} // namespace

CompareDialog::CompareDialog(std::vector<SettingDifference> differences,
                             const QString& otherCaption, Interaction& interaction, QWidget* parent)
    : QDialog(parent), differences_(std::move(differences)), interaction_(interaction) {
    setObjectName(QStringLiteral("TCompare"));
    setWindowTitle(QString::fromUtf8("Összehasonlítás"));
    edFilter = new QLineEdit(this);
    edFilter->setObjectName(QStringLiteral("edFilter"));
    edFilter->setPlaceholderText(QString::fromUtf8("a beállítás nevének része"));
    tbDiff = new QTableWidget(this);
    tbDiff->setObjectName(QStringLiteral("tbDiff"));
    tbDiff->setColumnCount(3);
    tbDiff->setHorizontalHeaderLabels(
        {QString::fromUtf8("Beállítás"), QString::fromUtf8("Megjelenített"), otherCaption});
    tbDiff->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbDiff->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbDiff->verticalHeader()->hide();
    tbDiff->setWordWrap(false);
    // Both values get the same room; a value longer than its cell shows whole in its tip.
    tbDiff->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tbDiff->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tbDiff->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
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
    column->addLayout(filterRow);
    column->addWidget(tbDiff, 1);
    column->addLayout(buttons);

    connect(edFilter, &QLineEdit::textChanged, this, &CompareDialog::setFilter);
    connect(btnSave, &QPushButton::clicked, this, &CompareDialog::saveList);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    fillRows();
    resize(720, 480);
    centreOnScreen(*this);
}

void CompareDialog::fillRows() {
    tbDiff->setRowCount(static_cast<int>(differences_.size()));
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const SettingDifference& d = differences_[i];
        const QString cells[] = {QString::fromStdString(d.name), sideText(d.a), sideText(d.b)};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            tbDiff->setItem(static_cast<int>(i), c, item);
        }
    }
    setFilter(edFilter->text());
}

void CompareDialog::setFilter(const QString& part) {
    int shown = 0;
    for (int row = 0; row < tbDiff->rowCount(); ++row) {
        const bool match = tbDiff->item(row, 0)->text().contains(part, Qt::CaseInsensitive);
        tbDiff->setRowHidden(row, !match);
        shown += match;
    }
    lblCount->setText(
        differences_.empty()
            ? QString::fromUtf8("Nincs eltérés.")
            : QString::fromUtf8("Eltérés: %1 / %2").arg(shown).arg(tbDiff->rowCount()));
    btnSave->setEnabled(shown > 0);
}

QStringList CompareDialog::shownLines() const {
    QStringList lines;
    for (int row = 0; row < tbDiff->rowCount(); ++row)
        if (!tbDiff->isRowHidden(row))
            lines << QString::fromStdString(
                differenceLine(differences_[static_cast<std::size_t>(row)]));
    return lines;
}

bool CompareDialog::saveList() {
    Interaction::FileRequest request;
    request.title = QString::fromUtf8("Eltérések mentése");
    request.filter = QString::fromUtf8("Szöveg (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = interaction_.saveFileName(this, request);
    if (path.isEmpty()) return false;
    QByteArray text;
    for (const QString& line : shownLines())
        text += line.toUtf8() + "\r\n";
    const FileWriteResult written = writeFileAtomically(path, text);
    if (!written.ok) interaction_.error(this, written.message);
    return written.ok;
}

} // namespace zx
