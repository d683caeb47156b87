#include "ui/views/code_grid_delegate.h"

#include "model/right_levels.h"
#include "ui/views/code_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>

namespace zx {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString digitsOf(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (isDigit(c)) out.append(c);
    return out;
}

} // namespace

CodeEditor::CodeEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("CodeEditor"));
    setFrame(false);
    setAcceptDrops(false);
    // Its own menu would paste and insert what the keys refuse.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CodeEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        insert(digitsOf(QApplication::clipboard()->text()));
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !isDigit(text.at(0))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

CodeGridDelegate::CodeGridDelegate(CodeGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QString CodeGridDelegate::displayText(const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (grid_->deviceModel() != DeviceModel::Line16 || index.column() != 1) return text;
    const std::string letter = text.left(1).toStdString();
    const std::string_view word = rightLevelWord(letter);
    return QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
}

void CodeGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, palette.color(selected ? QPalette::Highlight : QPalette::Base));
    QFont font = grid_->font();
    font.setBold(false);
    font.setItalic(false);
    painter->setFont(font);
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    painter->drawText(option.rect.adjusted(2, 1, -1, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, displayText(index));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(grid_);
        focus.rect = option.rect;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        grid_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, grid_);
    }
    painter->restore();
}

QWidget* CodeGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    if (index.column() != 0) return nullptr;
    auto* editor = new CodeEditor(parent);
    editor->setFont(grid_->font());
    grid_->editorOpened(editor);
    connect(editor, &QLineEdit::textEdited, grid_,
            [grid = grid_, editor](const QString& text) { grid->codeTextEdited(editor, text); });
    return editor;
}

} // namespace zx
