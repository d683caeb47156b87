#include "ui/views/code_grid.h"

#include "model/code_table_store.h"
#include "model/right_levels.h"
#include "ui/views/code_grid_delegate.h"
#include "ui/views/code_grid_model.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace zx {

namespace {

constexpr int RowHeight = 16;
constexpr int ColumnWidths[] = {64, 64, 64, 64, 64, 82};

// Draws every section as the row number of its code row, right-aligned at the top.
class RowNumberHeader : public QHeaderView {
  public:
    explicit RowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) return;
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = rect;
        opt.section = logicalIndex;
        opt.text = CodeGrid::rowNumberText(logicalIndex + 1);
        opt.textAlignment = Qt::AlignRight | Qt::AlignTop;
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    }
};

bool within(const QWidget* widget, const QWidget* ancestor) {
    return widget && (widget == ancestor || ancestor->isAncestorOf(widget));
}

} // namespace

CodeGrid::CodeGrid(QWidget* parent) : QTableView(parent), model_(new CodeGridModel(this)) {
    setObjectName(QStringLiteral("StringGrid1"));
    setModel(model_);
    setVerticalHeader(new RowNumberHeader(this));
    QFont cellFont(QStringLiteral("MS Sans Serif"));
    cellFont.setPointSize(8);
    setFont(cellFont);
    QFont headerFont = cellFont;
    headerFont.setBold(true);
    horizontalHeader()->setFont(headerFont);
    verticalHeader()->setFont(headerFont);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(ColumnWidths[0]);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    // Clicks on the headers select nothing: rows and columns are chosen in the cells.
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    setItemDelegate(new CodeGridDelegate(this));
    setWordWrap(false);
    setSelectionBehavior(SelectItems);
    setSelectionMode(SingleSelection);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setTabKeyNavigation(true);
    // The corner above the row numbers carries the first column's header.
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
    buildPopup();
    setDeviceModel(DeviceModel::Line4);
    setGridRowCount(2);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { followFocus(now); });
    // A refill or a model switch replaces every row at once, and the view forgets its cursor:
    // the keys would then act on no cell until a click. The cursor stays where it was.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const QModelIndex at = currentIndex();
        cursorBeforeReset_ =
            at.isValid() ? std::optional(std::pair(at.row(), at.column())) : std::nullopt;
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (!cursorBeforeReset_ || model_->rowCount() == 0) return;
        const auto [row, column] = *cursorBeforeReset_;
        setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1),
                                      std::min(column, model_->columnCount() - 1)));
    });
}

CodeGrid::~CodeGrid() {
    // The widget's own teardown moves the focus; this object must not hear of it any more.
    disconnect(focusWatch_);
}

void CodeGrid::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    const struct {
        const char* name;
        const char* caption;
        RightsCommand command;
    } items[] = {
        // Each item has a letter of its own to choose it by, once the menu is open.
        {"Nemzetkzi1", "&Nemzetközi", RightsCommand::International},
        {"Mobil1", "&Mobil", RightsCommand::Mobile},
        {"Tvolsgi1", "Tá&volsági", RightsCommand::LongDistance},
        {"Helyi1", "&Helyi", RightsCommand::Local},
        {"Tiltott1", "&Tiltott", RightsCommand::Barred},
    };
    for (const auto& item : items) {
        QAction* action = popup_->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        action->setData(static_cast<int>(item.command));
        const RightsCommand command = item.command;
        connect(action, &QAction::triggered, this,
                [this, command] { applyRightsCommand(command); });
    }
}

void CodeGrid::setDeviceModel(DeviceModel model) {
    model_->setDeviceModel(model);
    for (int c = 1; c < gridColumnCount(); ++c)
        setColumnWidth(c - 1, ColumnWidths[c]);
    if (model == DeviceModel::Line16) {
        // The 16-line right is drawn as its word: the column takes the longest one whole.
        int widest = 0;
        for (const char* letter : {"T", "H", "B", "M", "N"}) {
            const std::string_view word = rightLevelWord(letter);
            widest = std::max(widest, fontMetrics().horizontalAdvance(QString::fromUtf8(
                                          word.data(), static_cast<qsizetype>(word.size()))));
        }
        setColumnWidth(1, std::max(ColumnWidths[2], widest + 6));
    }
    viewport()->update();
}

DeviceModel CodeGrid::deviceModel() const {
    return model_->deviceModel();
}

int CodeGrid::codeRowCount() const {
    return model_->rowCount();
}

int CodeGrid::gridColumnCount() const {
    return model_->columnCount() + 1;
}

void CodeGrid::setGridRowCount(int rows) {
    model_->resizeRows(std::max(rows, 2) - 1);
}

QString CodeGrid::cell(int column, int row) const {
    if (row == 0) {
        const QStringList headers = headerTexts(deviceModel());
        return column >= 0 && column < headers.size() ? headers[column] : QString();
    }
    if (column == 0) return row < gridRowCount() ? rowNumberText(row) : QString();
    if (column >= gridColumnCount()) return {};
    return model_->text(row - 1, column - 1);
}

void CodeGrid::setCell(int column, int row, const QString& text) {
    if (row < 1 || column < 1 || row >= gridRowCount() || column >= gridColumnCount()) return;
    model_->setText(row - 1, column - 1, text);
}

void CodeGrid::clearContents() {
    model_->clearTexts();
}

void CodeGrid::setRows(const std::vector<CodeRowView>& rows) {
    model_->setRows(rows);
    if (rows.empty()) setGridRowCount(2);
}

std::vector<CodeRowView> CodeGrid::rows() const {
    return model_->rows();
}

void CodeGrid::setRow(int row, const CodeRowView& view) {
    model_->setRow(row - 1, view);
}

QString CodeGrid::rowNumberText(int row) {
    return QStringLiteral("%1").arg(row, 4);
}

QStringList CodeGrid::headerTexts(DeviceModel model) {
    if (model == DeviceModel::Line16)
        return {QStringLiteral("Sorsz."), QString::fromUtf8("Kód"), QStringLiteral("Jog")};
    return {QStringLiteral("Sorsz."), QString::fromUtf8("Kód"),
            QStringLiteral("Helyi"),  QString::fromUtf8("Távolsági"),
            QStringLiteral("Mobil"),  QString::fromUtf8("Nemzetközi")};
}

void CodeGrid::selectAllCodes() {
    const int last = codeRowCount() - 1;
    if (last < 0) return;
    useSelectionFor(1);
    selectionModel()->setCurrentIndex(model_->index(last, 1), QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(model_->index(0, 1), model_->index(last, 1)),
                             QItemSelectionModel::ClearAndSelect);
}

void CodeGrid::applyRightsCommand(RightsCommand command) {
    int top = -1, bottom = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        top = top < 0 ? range.top() : std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
    }
    if (top < 0 && currentIndex().isValid()) top = bottom = currentIndex().row();
    for (int r = std::max(top, 0); top >= 0 && r <= bottom; ++r) {
        CodeRowView view = model_->row(r);
        zx::applyRightsCommand(view.rights, command, deviceModel());
        for (std::size_t c = 0; c < view.rights.size(); ++c)
            model_->setText(r, static_cast<int>(c) + 1, QString::fromStdString(view.rights[c]));
    }
    emit edited();
}

void CodeGrid::showCodeRow(int row) {
    if (codeRowCount() == 0) return;
    const QModelIndex at = model_->index(std::clamp(row, 1, codeRowCount()) - 1, 0);
    useSelectionFor(0);
    setCurrentIndex(at);
    scrollTo(at);
}

void CodeGrid::editCode(int row) {
    if (row < 1 || row > codeRowCount()) return;
    const QModelIndex at = model_->index(row - 1, 0);
    setFocus();
    setCurrentIndex(at);
    scrollTo(at);
    edit(at);
    if (openEditor_) openEditor_->deselect(); // typing goes on at the end of the text
}

void CodeGrid::codeTextEdited(QLineEdit* editor, const QString& text) {
    emit edited();
    const int digits = codeLength_ - 1;
    if (digits < 1 || text.size() <= digits) return;
    // The digit too many is dropped, and the cursor moves on to the rights.
    const QModelIndex at = currentIndex();
    editor->setText(text.left(digits));
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (at.isValid()) setCurrentIndex(model_->index(at.row(), 1));
}

void CodeGrid::commitOpenEditor() {
    if (state() != EditingState || !openEditor_) return;
    QLineEdit* editor = openEditor_;
    openEditor_.clear();
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool CodeGrid::onLastRow() const {
    return currentIndex().isValid() && currentIndex().row() == codeRowCount() - 1;
}

void CodeGrid::setRightCell(const QModelIndex& index, const QString& text) {
    model_->setText(index.row(), index.column(), text);
    emit edited();
}

void CodeGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (mods & Qt::ControlModifier)) {
        // Ctrl+Tab and Ctrl+Shift+Tab change pages, from the grid as from every other page:
        // the page control above takes them.
        event->ignore();
        return;
    }
    if (key == Qt::Key_F10 && mods == Qt::ShiftModifier) {
        openPopupAtCursor();
        event->accept();
        return;
    }
    if (key == Qt::Key_Down && mods == Qt::NoModifier && onLastRow() &&
        mayGrowCodeRows(codeRowCount(), codeLength_)) {
        model_->appendRow(CodeRowView{RawText(), newRowRights(deviceModel())});
        emit codeRowsGrown(codeRowCount());
        // The new row is written by the next store, so that the table holds what is shown.
        emit edited();
    } else if (key == Qt::Key_Delete && mods == Qt::ControlModifier) {
        if (onLastRow() && mayDropLastCodeRow(codeRowCount())) {
            const int column = current.column();
            model_->resizeRows(codeRowCount() - 1);
            setCurrentIndex(model_->index(codeRowCount() - 1, column));
            emit lastCodeRowDropped(codeRowCount());
        }
        event->accept();
        return;
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAllCodes();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (current.isValid() && !text.isEmpty() && text.at(0).isPrint() &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (current.column() >= 1) {
            typeIntoRightCell(current, text.at(0));
            event->accept();
            return;
        }
        if (text.at(0) < QLatin1Char('0') || text.at(0) > QLatin1Char('9')) {
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void CodeGrid::inputMethodEvent(QInputMethodEvent* event) {
    // Where an input method delivers the typed letters, "I" and "N" come as its text.
    const QModelIndex current = currentIndex();
    const QString text = event->commitString();
    if (current.isValid() && current.column() >= 1 && event->preeditString().isEmpty() &&
        !text.isEmpty()) {
        for (const QChar typed : text)
            typeIntoRightCell(current, typed);
        event->accept();
        return;
    }
    QTableView::inputMethodEvent(event);
}

void CodeGrid::typeIntoRightCell(const QModelIndex& index, QChar typed) {
    const QChar c = typed.toUpper();
    if (c == QLatin1Char('I')) setRightCell(index, QStringLiteral("Igen"));
    if (c == QLatin1Char('N')) setRightCell(index, QStringLiteral("Nem"));
    if (c == QLatin1Char(' ')) stepRight(index);
}

void CodeGrid::mousePressEvent(QMouseEvent* event) {
    // The popup's commands act on the rows of the selection: a right click within them keeps
    // the block, a right click on another row makes the clicked cell the selection first.
    if (event->button() == Qt::RightButton) {
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid() && !rowSelected(at.row())) {
            useSelectionFor(at.column());
            setCurrentIndex(at);
        }
        event->accept();
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && !(event->modifiers() & Qt::ShiftModifier)) useSelectionFor(at.column());
    QTableView::mousePressEvent(event);
}

void CodeGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid() || at.column() == 0) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    // The cell at the top-left corner of the selection steps.
    QModelIndex target = currentIndex();
    const QItemSelection selection = selectionModel()->selection();
    if (!selection.isEmpty()) {
        int top = selection.first().top(), left = selection.first().left();
        for (const QItemSelectionRange& range : selection) {
            top = std::min(top, range.top());
            left = std::min(left, range.left());
        }
        target = model_->index(top, left);
    }
    if (target.isValid() && target.column() >= 1) stepRight(target);
    event->accept();
}

void CodeGrid::stepRight(const QModelIndex& index) {
    const std::string cell = model_->text(index.row(), index.column()).toStdString();
    setRightCell(index, QString::fromStdString(steppedRight(cell, deviceModel())));
}

bool CodeGrid::rowSelected(int modelRow) const {
    const QItemSelection selection = selectionModel()->selection();
    return std::any_of(selection.begin(), selection.end(), [modelRow](const auto& range) {
        return range.top() <= modelRow && modelRow <= range.bottom();
    });
}

void CodeGrid::contextMenuEvent(QContextMenuEvent* event) {
    // The Menu key opens the popup at the cursor's cell, not where the mouse happens to be.
    if (event->reason() == QContextMenuEvent::Keyboard)
        openPopupAtCursor();
    else
        popup_->popup(event->globalPos());
    event->accept();
}

void CodeGrid::openPopupAtCursor() {
    const QModelIndex current = currentIndex();
    QPoint at = viewport()->rect().center();
    if (current.isValid()) {
        scrollTo(current);
        at = visualRect(current).bottomLeft();
    }
    popup_->popup(viewport()->mapToGlobal(at));
}

void CodeGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) useSelectionFor(current.column());
}

void CodeGrid::useSelectionFor(int modelColumn) {
    // Codes are typed one at a time; rights are set for a block of rows.
    setSelectionMode(modelColumn == 0 ? SingleSelection : ContiguousSelection);
}

void CodeGrid::followFocus(QWidget* now) {
    const bool inside = within(now, this);
    if (inside && !focusInside_) {
        focusInside_ = true;
        emit entered();
    } else if (!inside && focusInside_ && now && now->window() == window()) {
        // Focus that went to another window (a message box, another program) has not left
        // the grid; it comes back to it.
        focusInside_ = false;
        emit left();
    }
}

bool CodeGrid::eventFilter(QObject* watched, QEvent* event) {
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner && event->type() == QEvent::Paint) {
        QPainter painter(corner);
        QStyleOptionHeader opt;
        opt.initFrom(corner);
        opt.rect = corner->rect();
        opt.text = headerTexts(deviceModel()).constFirst();
        opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        opt.position = QStyleOptionHeader::OnlyOneSection;
        painter.setFont(horizontalHeader()->font());
        corner->style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace zx
