#include "ui/dialogs/findings_dialog.h"

#include "files/file_bytes.h"
#include "print/report_painter.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/interaction.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zx {

namespace {

enum Column { SeverityColumn, PlaceColumn, NameColumn, MessageColumn, ColumnCount };

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

FindingsDialog::FindingsDialog(std::vector<Finding> findings, CheckedConfiguration checked,
                               Interaction& interaction, QWidget* parent)
    : QDialog(parent), findings_(std::move(findings)), checked_(std::move(checked)),
      interaction_(interaction) {
    setObjectName(QStringLiteral("TCheck"));
    setWindowTitle(QString::fromUtf8("Ellenőrzés"));
    lblChecked = new QLabel(this);
    lblChecked->setObjectName(QStringLiteral("lblChecked"));
    lblChecked->setWordWrap(true);
    tbFindings = new QTableWidget(this);
    tbFindings->setObjectName(QStringLiteral("tbFindings"));
    tbFindings->setColumnCount(ColumnCount);
    tbFindings->setHorizontalHeaderLabels({QString::fromUtf8("Súlyosság"),
                                           QString::fromUtf8("Hely"), QString::fromUtf8("Név"),
                                           QString::fromUtf8("Üzenet")});
    tbFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    tbFindings->verticalHeader()->hide();
    tbFindings->setWordWrap(true);
    QHeaderView* columns = tbFindings->horizontalHeader();
    for (int c : {SeverityColumn, PlaceColumn, NameColumn})
        columns->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(MessageColumn, QHeaderView::Stretch);
    // A long message wraps in its cell, which grows downwards as the dialog's width allows.
    tbFindings->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    btnSave = new QPushButton(QString::fromUtf8("&Mentés..."), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnClose = new QPushButton(QString::fromUtf8("&Bezárás"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    // Enter in the list goes to the finding; no button takes it.
    for (QPushButton* button : {btnSave, btnClose})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount, 1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblChecked);
    column->addWidget(tbFindings, 1);
    column->addLayout(buttons);

    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    tbFindings->setRowCount(static_cast<int>(findings_.size()));
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const Finding& f = findings_[i];
        const QString cells[ColumnCount] = {
            text(severityWord(f.severity)), QString::fromStdString(f.label()),
            QString::fromStdString(f.name()), QString::fromStdString(f.message)};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            if (c == SeverityColumn) item->setIcon(f.severity == Severity::Error ? error : warning);
            tbFindings->setItem(static_cast<int>(i), c, item);
        }
    }
    if (!findings_.empty()) tbFindings->setCurrentCell(0, PlaceColumn);
    lblChecked->setText(savedText().mid(0, 2).join(QLatin1Char('\n')));
    lblCount->setText(QString::fromUtf8("%1. Dupla kattintás vagy Enter: a hibás beállításhoz lép.")
                          .arg(text(findingsSummary(countFindings(findings_)))));

    // Enter and a double click both activate a row.
    connect(tbFindings, &QAbstractItemView::activated, this, &FindingsDialog::choose);
    connect(btnSave, &QPushButton::clicked, this, &FindingsDialog::saveList);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    btnSave->setEnabled(!findings_.empty());
    tbFindings->setFocus();

    QSize size(900, 480);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    centreOnScreen(*this);
}

void FindingsDialog::choose(const QModelIndex& index) {
    if (!index.isValid() || index.row() >= static_cast<int>(findings_.size())) return;
    chosen_ = findings_[static_cast<std::size_t>(index.row())];
    accept();
}

QStringList FindingsDialog::savedText() const {
    const QString what = checked_.file.isEmpty()
                             ? QString::fromUtf8("a megjelenített új konfiguráció")
                             : QString::fromUtf8("a megjelenített %1").arg(checked_.file);
    QStringList lines{QString::fromUtf8("Ellenőrzés: %1").arg(what),
                      QString::fromUtf8("Időpont: %1").arg(reportDateTime(checked_.when)),
                      text(findingsSummary(countFindings(findings_))), QString()};
    QStringList titles;
    for (int c = 0; c < ColumnCount; ++c)
        titles << tbFindings->horizontalHeaderItem(c)->text();
    lines << titles.join(QLatin1Char('\t'));
    for (const Finding& f : findings_)
        lines << QString::fromStdString(findingLine(f));
    return lines;
}

bool FindingsDialog::saveList() {
    Interaction::FileRequest request;
    request.title = QString::fromUtf8("Ellenőrzés mentése");
    request.filter = QString::fromUtf8("Szöveg (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = interaction_.saveFileName(this, request);
    if (path.isEmpty()) return false;
    QByteArray bytes;
    for (const QString& line : savedText())
        bytes += line.toUtf8() + "\r\n";
    const FileWriteResult written = writeFileAtomically(path, bytes, FileAccess::OwnerOnly);
    if (!written.ok) interaction_.error(this, written.message);
    return written.ok;
}

} // namespace zx
