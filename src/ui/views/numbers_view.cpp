#include "ui/views/numbers_view.h"

#include "files/cp1250.h"
#include "model/codecs.h"
#include "ui/config_document.h"
#include "ui/views/current_item_delegate.h"
#include "ui/views/view_helpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <functional>

namespace zx {

namespace {

// Draws an exception entry as two columns: the area code at the left edge and the length from
// the middle, both at the top.
class ExceptionDelegate : public CurrentItemDelegate {
  public:
    using Texts = std::function<std::pair<QString, QString>(int)>;
    ExceptionDelegate(Texts texts, QAbstractItemView* view)
        : CurrentItemDelegate(view), texts_(std::move(texts)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const auto [area, length] = texts_(index.row());
        QRect left = option.rect.adjusted(2, 0, 0, 0);
        left.setWidth(option.rect.width() / 2 - 2);
        QRect right = option.rect;
        right.setLeft(option.rect.left() + option.rect.width() / 2);
        painter->drawText(left, Qt::AlignLeft | Qt::AlignTop, area);
        painter->drawText(right, Qt::AlignLeft | Qt::AlignTop, length);
        painter->restore();
        drawCurrentFrame(painter, option, index);
    }

  private:
    Texts texts_;
};

} // namespace

NumbersView::NumbersView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet4"));
    QWidget* sheet = this;
    auto* grid = new QGridLayout(this);

    auto* lengths = new QGridLayout;
    MEloclen = makeEdit(sheet, "MEloclen", 3, 48);
    MEnatlen = makeEdit(sheet, "MEnatlen", 3, 48);
    lengths->addWidget(makeLabel(sheet, "lblloclen", "Helyi számhossz:", MEloclen), 0, 0);
    lengths->addWidget(MEloclen, 0, 1);
    lengths->addWidget(makeLabel(sheet, "lblnatlen", "Belföldi számhossz:", MEnatlen), 1, 0);
    lengths->addWidget(MEnatlen, 1, 1);
    lengths->setColumnStretch(2, 1);
    grid->addLayout(lengths, 0, 0);

    pnlPref = new QGroupBox(sheet);
    pnlPref->setObjectName(QStringLiteral("pnlPref"));
    auto* prefixes = new QGridLayout(pnlPref);
    prefixes->addWidget(makeLabel(pnlPref, "lblMP", "Mobil prefixek:"), 0, 0, 1, 4);
    // A row of prefix fields named stem01, stem02, ...
    const auto addPrefixRow = [&](auto& edits, const char* stem, int digits, int row) {
        for (std::size_t k = 0; k < edits.size(); ++k) {
            const QByteArray name = QStringLiteral("%1%2")
                                        .arg(QLatin1String(stem))
                                        .arg(k + 1, 2, 10, QLatin1Char('0'))
                                        .toLatin1();
            edits[k] = makeEdit(pnlPref, name.constData(), digits, 56);
            prefixes->addWidget(edits[k], row, static_cast<int>(k));
        }
    };
    addPrefixRow(edMP, "edMP", 4, 1);
    prefixes->addWidget(makeLabel(pnlPref, "lblIP", "Nemzetközi prefixek:"), 2, 0, 1, 4);
    addPrefixRow(edIP, "edIP", 2, 3);
    grid->addWidget(pnlPref, 1, 0, Qt::AlignTop);

    auto* exceptions = new QGridLayout;
    lbKiv = new QListWidget(sheet);
    lbKiv->setObjectName(QStringLiteral("lbKiv"));
    for (int i = 0; i < ExceptionCount; ++i)
        lbKiv->addItem(QStringLiteral("====00"));
    lbKiv->setItemDelegate(
        new ExceptionDelegate([this](int row) { return exceptionTexts(row); }, lbKiv));
    lbKiv->setFixedWidth(160);
    exceptions->addWidget(
        makeLabel(sheet, "lblKiv", "Belföldi kivételek (Körzetszám:Hossz):", lbKiv), 0, 0, 1, 3);
    exceptions->addWidget(lbKiv, 1, 0, 4, 1);
    edKivSzam = makeEdit(sheet, "edKivSzam", 4, 56);
    // Three digits: a length byte shown (255 of an emptied 16-line entry) is never cut.
    edKivHossz = makeEdit(sheet, "edKivHossz", 3, 40);
    btnKivEdit = new QPushButton(QString::fromUtf8("&Módosítás"), sheet);
    btnKivEdit->setObjectName(QStringLiteral("btnKivEdit"));
    btnKivDel = new QPushButton(QString::fromUtf8("&Törlés"), sheet);
    btnKivDel->setObjectName(QStringLiteral("btnKivDel"));
    auto* entry = new QHBoxLayout;
    entry->addWidget(edKivSzam);
    entry->addWidget(edKivHossz);
    entry->addStretch(1);
    exceptions->addLayout(entry, 1, 1);
    exceptions->addWidget(btnKivEdit, 2, 1, Qt::AlignLeft);
    exceptions->addWidget(btnKivDel, 3, 1, Qt::AlignLeft);
    exceptions->setRowStretch(4, 1);
    grid->addLayout(exceptions, 0, 1, 3, 1);

    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);

    bindEdit(MEloclen, Field::LocalLength);
    bindEdit(MEnatlen, Field::NationalLength);
    // A click selects after it makes the entry current: the fields follow either.
    connect(lbKiv, &QListWidget::currentRowChanged, this, &NumbersView::showException);
    connect(lbKiv, &QListWidget::itemSelectionChanged, this, &NumbersView::showException);
    connect(btnKivEdit, &QPushButton::clicked, this, [this] {
        const auto m = shownModel();
        if (!m) return;
        if (!selectedException()) return tell(std::string(NoEntrySelectedMessage), lbKiv);
        const RawText area = toCp1250(edKivSzam->text());
        // The area is checked first, so a refusal of it keeps the focus in its own field.
        QWidget* refused = exceptionAreaRefusal(*m, area) ? edKivSzam : edKivHossz;
        applyTables(changeExceptionEntry(*m, form(), selectedException(), area,
                                         edKivHossz->text().toStdString()),
                    refused, lbKiv);
    });
    connect(btnKivDel, &QPushButton::clicked, this, [this] {
        if (const auto m = shownModel())
            applyTables(emptyExceptionEntry(*m, form(), selectedException()), edKivHossz, lbKiv);
    });
    std::vector<QWidget*> tables{lbKiv};
    tables.insert(tables.end(), edMP.begin(), edMP.end());
    tables.insert(tables.end(), edIP.begin(), edIP.end());
    for (QWidget* control : tables)
        storeOnLeave(control, [this, control] {
            const auto m = shownModel();
            if (!m) return true;
            // Only what was typed is checked; what the refill showed is stored as it was.
            const NumberTablesForm stored =
                numberTablesForm(decodeForEditors(document_.image(), *m));
            return applyTables(storeNumberTables(*m, form(), &stored), control, control);
        });
    // The 16-line list is drawn from the image, so it follows every change of it.
    connect(&document_, &ConfigDocument::imageChanged, lbKiv->viewport(),
            qOverload<>(&QWidget::update));
}

void NumbersView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    pnlPref->setVisible(model == DeviceModel::Line4);
    lbKiv->viewport()->update();
}

NumberTablesForm NumbersView::form() const {
    NumberTablesForm f;
    for (int i = 0; i < ExceptionCount; ++i)
        f.exceptionItems[static_cast<std::size_t>(i)] = toCp1250(lbKiv->item(i)->text());
    for (std::size_t k = 0; k < edMP.size(); ++k)
        f.mobilePrefixes[k] = toCp1250(edMP[k]->text());
    for (std::size_t k = 0; k < edIP.size(); ++k)
        f.intlPrefixes[k] = toCp1250(edIP[k]->text());
    return f;
}

std::optional<int> NumbersView::selectedException() const {
    const int row = lbKiv->currentRow();
    if (row < 0 || !lbKiv->item(row)->isSelected()) return std::nullopt;
    return row;
}

void NumbersView::showException() {
    const auto row = selectedException();
    if (!row) return;
    const auto [area, length] = exceptionTexts(*row);
    edKivSzam->setText(area);
    edKivHossz->setText(length);
}

bool NumbersView::applyTables(const Checked<NumberTablesStore>& result, QWidget* refusedControl,
                              QWidget* shownIn) {
    if (!result) {
        if (refusedControl == edKivSzam || refusedControl == edKivHossz)
            tell(result.message(), refusedControl);
        else
            refuse(result.message(), refusedControl);
        return false;
    }
    // The value refused before is stored now: the page may be left again.
    clearRefusal(refusedControl);
    const NumberTablesStore& s = *result;
    for (int i = 0; i < ExceptionCount; ++i)
        lbKiv->item(i)->setText(fromCp1250(s.shown.exceptionItems[static_cast<std::size_t>(i)]));
    for (std::size_t k = 0; k < edMP.size(); ++k)
        edMP[k]->setText(fromCp1250(s.shown.mobilePrefixes[k]));
    for (std::size_t k = 0; k < edIP.size(); ++k)
        edIP[k]->setText(fromCp1250(s.shown.intlPrefixes[k]));
    if (s.entry) {
        edKivSzam->setText(fromCp1250(s.entry->area));
        edKivHossz->setText(QString::fromStdString(s.entry->length));
    }
    if (!s.patch.empty())
        document_.apply(s.patch, {.control = shownIn->objectName().toStdString()});
    lbKiv->viewport()->update();
    return true;
}

std::pair<QString, QString> NumbersView::exceptionTexts(int row) const {
    if (document_.model() == DeviceModel::Line16) {
        // The 16-line list is drawn straight from the two-byte entries of the image.
        const std::size_t p =
            *document_.map().offset(Field::NationalExceptions) + 2 * static_cast<std::size_t>(row);
        return {fromUtf8(digitPair(document_.image().at(p))),
                QStringLiteral("%1").arg(document_.image().at(p + 1), 2, 10, QLatin1Char('0'))};
    }
    const QListWidgetItem* item = lbKiv->item(row);
    const QString text = item ? item->text() : QString();
    return {text.left(4), text.mid(4, 2)};
}

void NumbersView::refill(const EditorView& v) {
    ConfigView::refill(v);
    MEloclen->setText(QString::number(v.localLength));
    MEnatlen->setText(QString::number(v.nationalLength));
    for (int i = 0; i < ExceptionCount; ++i)
        lbKiv->item(i)->setText(fromUtf8(v.exceptions[static_cast<std::size_t>(i)].text()));
    if (v.mobilePrefixes)
        for (std::size_t k = 0; k < edMP.size(); ++k)
            edMP[k]->setText(fromUtf8((*v.mobilePrefixes)[k]));
    if (v.intlPrefixes)
        for (std::size_t k = 0; k < edIP.size(); ++k)
            edIP[k]->setText(fromUtf8((*v.intlPrefixes)[k]));
    // The list shows its current entry, and the fields hold it, from the start.
    if (lbKiv->currentRow() < 0)
        lbKiv->setCurrentRow(0);
    else
        showException();
}

} // namespace zx
