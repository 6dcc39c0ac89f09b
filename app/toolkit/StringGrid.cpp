#include "app/toolkit/StringGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {
// Hands every cell's painting to the grid's draw-cell event.
class CDrawCellDelegate : public QStyledItemDelegate {
public:
    explicit CDrawCellDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setClipRect(option.rect);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        if (grid_->OnDrawCell) {
            grid_->OnDrawCell(*painter, index.column(), index.row(), option.rect, selected);
        } else {
            DrawGridCell(
                *painter, option.rect, index.data().toString(),
                option.palette.color(selected ? QPalette::Highlight : QPalette::Base),
                option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        }
        painter->restore();
    }

private:
    TStringGrid* grid_;
};
}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setWordWrap(true);
    setItemDelegate(new CDrawCellDelegate(this));
    viewport()->setMouseTracking(true);
    connect(this, &QTableWidget::cellPressed, this, [this](int row, int col) {
        if (OnSelectCell) OnSelectCell(col, row);
    });
}

QString TStringGrid::Cell(int col, int row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell != nullptr ? cell->text() : QString();
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (QTableWidgetItem* cell = item(row, col)) {
        cell->setText(text);
    } else {
        setItem(row, col, new QTableWidgetItem(text));
    }
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, height);
}

void TStringGrid::ClearSelection() {
    clearSelection();
    setCurrentCell(-1, -1);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event->position().toPoint());
    QTableWidget::mouseMoveEvent(event);
}

void TStringGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (OnMouseWheel && steps != 0 && OnMouseWheel(steps < 0)) {
        event->accept();
        return;
    }
    QTableWidget::wheelEvent(event);
}

void DrawGridCell(QPainter& painter, const QRect& rect, const QString& text, QColor background,
                  QColor textColor) {
    painter.fillRect(rect, background);
    painter.setPen(textColor);
    painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap, text);
}

QColor RowColor(int row) {
    return QColor(row % 2 != 0 ? GridColors::kOddRow : GridColors::kEvenRow);
}

void DrawStripedCell(QPainter& painter, const QRect& rect, const QString& text, int row) {
    if (row == 0) {
        DrawGridCell(painter, rect, text, QColor(GridColors::kHeader),
                     QColor(GridColors::kHeaderText));
    } else {
        DrawGridCell(painter, rect, text, RowColor(row), Qt::black);
    }
}

void DrawIconCell(QPainter& painter, const QRect& rect, const QString& path, int left, int row) {
    painter.fillRect(rect, RowColor(row));
    QPixmap icon;
    if (!QPixmapCache::find(path, &icon)) {
        if (!icon.load(path)) return;
        QPixmapCache::insert(path, icon);
    }
    const int top = rect.top() + std::max(0, (rect.height() - icon.height()) / 2);
    painter.drawPixmap(rect.left() + left, top, icon);
}
