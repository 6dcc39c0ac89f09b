#include "app/toolkit/StringGrid.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <numeric>

#include "app/toolkit/TextOrder.h"

namespace {
constexpr int kSortArrowSize = 4;
constexpr int kNarrowestFitted = 30;
constexpr int kTagRole = Qt::UserRole;
constexpr QRgb kCurrentRowTint = 0x3399FF;

// Where a cell's text goes: a little in from the cell's edges.
QRect TextRect(const QRect& cell) {
    return cell.adjusted(2, 1, -2, -1);
}

bool Fits(const QFontMetrics& metrics, const QRect& area, const QString& text) {
    const QRect needed = metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

// A text that does not fit: as many wrapped lines as the area holds, the last ending in "…";
// a word wider than the area is broken.
QString Cut(const QFont& font, const QRect& area, const QString& text) {
    const QFontMetrics metrics(font);
    const int lines = std::max(1, area.height() / std::max(1, metrics.lineSpacing()));
    QTextLayout layout(text, font);
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrap);
    QStringList shown;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        if (static_cast<int>(shown.size()) == lines - 1) {
            shown << metrics.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight,
                                        area.width());
            break;
        }
        shown << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return shown.join('\n');
}

// A small triangle in the title cell's right corner: up for ascending, down for descending.
void DrawSortArrow(QPainter& painter, const QRect& rect, bool descending) {
    const QPointF tip(rect.right() - 2 - kSortArrowSize,
                      rect.top() + 4 + (descending ? kSortArrowSize : 0));
    const double base = descending ? tip.y() - kSortArrowSize : tip.y() + kSortArrowSize;
    const QPointF arrow[] = {
        tip, {tip.x() - kSortArrowSize, base}, {tip.x() + kSortArrowSize, base}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(GridColors::kHeaderText));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPolygon(arrow, 3);
}

// Shows the whole text of a cell whose text was cut, else hides a tooltip shown before.
bool ShowWholeText(QHelpEvent* help, QWidget* over, const QFont& font, const QRect& cell,
                   const QString& text) {
    if (cell.isValid() && !Fits(QFontMetrics(font), TextRect(cell), text)) {
        QToolTip::showText(help->globalPos(), text, over, cell);
    } else {
        QToolTip::hideText();
    }
    return true;
}

// Hands every cell's painting to the grid's draw-cell event, and marks the current row while
// the grid has the keyboard.
class CDrawCellDelegate : public QStyledItemDelegate {
public:
    explicit CDrawCellDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setClipRect(option.rect);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const int row = index.row() + grid_->FixedRows();
        if (grid_->OnDrawCell) {
            grid_->OnDrawCell(*painter, index.column(), row, option.rect, selected);
        } else {
            DrawGridCell(
                *painter, option.rect, index.data().toString(),
                option.palette.color(selected ? QPalette::Highlight : QPalette::Base),
                option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        }
        painter->restore();
        if (grid_->hasFocus() && index.row() == grid_->currentRow())
            MarkCurrent(*painter, option, index);
    }

private:
    void MarkCurrent(QPainter& painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const {
        const QRect& cell = option.rect;
        QColor tint(kCurrentRowTint);
        tint.setAlpha(40);
        painter.fillRect(cell, tint);
        painter.setPen(QColor(kCurrentRowTint));
        painter.drawLine(cell.topLeft(), cell.topRight());
        painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        if (index.column() == 0) painter.drawLine(cell.topLeft(), cell.bottomLeft());
        if (index.column() == grid_->ColCount() - 1)
            painter.drawLine(cell.topRight(), cell.bottomRight());
    }

    TStringGrid* grid_;
};
}  // namespace

// The fixed title row: the grid's row 0, drawn by the grid's draw-cell event over the columns'
// sections, as tall as the screen sets it.
class CGridTitles : public QHeaderView {
public:
    explicit CGridTitles(TStringGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setSectionResizeMode(QHeaderView::Fixed);
        setMinimumSectionSize(1);
        setDefaultAlignment(Qt::AlignCenter);
    }

    void SetHeight(int height) {
        height_ = height;
        updateGeometry();
    }
    int Height() const { return height_; }

    QSize sizeHint() const override { return {QHeaderView::sizeHint().width(), height_}; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int col) const override {
        painter->save();
        painter->setClipRect(rect);
        if (grid_->OnDrawCell) {
            grid_->OnDrawCell(*painter, col, 0, rect, false);
        } else {
            DrawStripedCell(*painter, rect, grid_->Cell(col, 0), 0);
        }
        if (col == grid_->SortColumn()) DrawSortArrow(*painter, rect, grid_->SortDescending());
        painter->restore();
    }

    // A title acts on a press, as a cell does; it never selects its column.
    void mousePressEvent(QMouseEvent* event) override {
        const int col = logicalIndexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && col >= 0 && grid_->OnSelectCell)
            grid_->OnSelectCell(col, 0);
    }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}

    bool viewportEvent(QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QHeaderView::viewportEvent(event);
        auto* help = static_cast<QHelpEvent*>(event);
        const int col = logicalIndexAt(help->pos());
        const QRect cell(sectionViewportPosition(col), 0, sectionSize(col), height());
        return ShowWholeText(help, viewport(), font(), col >= 0 ? cell : QRect(),
                             grid_->Cell(col, 0));
    }

private:
    TStringGrid* grid_;
    int height_ = 20;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
    setHorizontalHeader(new CGridTitles(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setWordWrap(true);
    setItemDelegate(new CDrawCellDelegate(this));
    viewport()->setMouseTracking(true);
    connect(this, &QTableWidget::cellPressed, this, [this](int row, int col) {
        if (OnSelectCell) OnSelectCell(col, row + fixedRows_);
    });
}

void TStringGrid::SetFixedRows(int count) {
    fixedRows_ = count > 0 ? 1 : 0;
    horizontalHeader()->setVisible(fixedRows_ == 1);
}

void TStringGrid::SetColCount(int count) {
    setColumnCount(count);
    ApplyFit();
}

void TStringGrid::SetRowCount(int count) {
    setRowCount(std::max(0, count - fixedRows_));
}

QString TStringGrid::Cell(int col, int row) const {
    const QTableWidgetItem* cell =
        row < fixedRows_ ? horizontalHeaderItem(col) : item(row - fixedRows_, col);
    return cell != nullptr ? cell->text() : QString();
}

QTableWidgetItem* TStringGrid::ItemOf(int col, int row) {
    if (row < fixedRows_) {
        if (QTableWidgetItem* title = horizontalHeaderItem(col)) return title;
        setHorizontalHeaderItem(col, new QTableWidgetItem);
        return horizontalHeaderItem(col);
    }
    if (QTableWidgetItem* cell = item(row - fixedRows_, col)) return cell;
    setItem(row - fixedRows_, col, new QTableWidgetItem);
    return item(row - fixedRows_, col);
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (row >= fixedRows_ && item(row - fixedRows_, col) == nullptr) {
        setItem(row - fixedRows_, col, new QTableWidgetItem(text));
        return;
    }
    ItemOf(col, row)->setText(text);
}

int TStringGrid::RowHeight(int row) const {
    if (row < fixedRows_) return static_cast<const CGridTitles*>(horizontalHeader())->Height();
    return rowHeight(row - fixedRows_);
}

void TStringGrid::SetRowHeight(int row, int height) {
    if (row < fixedRows_) {
        static_cast<CGridTitles*>(horizontalHeader())->SetHeight(height);
        updateGeometries();
        return;
    }
    setRowHeight(row - fixedRows_, height);
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, height);
    if (fixedRows_ > 0) SetRowHeight(0, height);
}

void TStringGrid::ClearSelection() {
    clearSelection();
    setCurrentCell(-1, -1);
}

int TStringGrid::Row() const {
    return currentRow() < 0 ? -1 : currentRow() + fixedRows_;
}

void TStringGrid::SetRow(int row) {
    if (row < fixedRows_ || row >= RowCount()) return;
    setCurrentCell(row - fixedRows_, std::max(0, currentColumn()));
}

void TStringGrid::ScrollToRow(int row) {
    if (row >= fixedRows_ && row < RowCount()) scrollTo(model()->index(row - fixedRows_, 0));
}

int TStringGrid::RowAt(int y) const {
    const int row = rowAt(y);
    return row < 0 ? -1 : row + fixedRows_;
}

int TStringGrid::ColAt(int x) const {
    return columnAt(x);
}

void TStringGrid::SetRowTag(int row, int tag) {
    ItemOf(0, row)->setData(kTagRole, tag);
}

int TStringGrid::RowTag(int row) const {
    const QTableWidgetItem* cell = row < fixedRows_ ? nullptr : item(row - fixedRows_, 0);
    return cell != nullptr ? cell->data(kTagRole).toInt() : 0;
}

void TStringGrid::SortRows(int col, bool descending) {
    SetSortMark(col, descending);
    if (col < 0 || col >= columnCount()) return;
    const int rows = rowCount();
    const int cols = columnCount();
    ClearSelection();
    std::vector<std::vector<QTableWidgetItem*>> taken(static_cast<std::size_t>(rows));
    std::vector<int> heights(static_cast<std::size_t>(rows));
    std::vector<QString> keys(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        heights[r] = rowHeight(row);
        for (int c = 0; c < cols; ++c) taken[r].push_back(takeItem(row, c));
        if (const QTableWidgetItem* key = taken[r][static_cast<std::size_t>(col)])
            keys[r] = key->text();
    }
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const QString& x = keys[static_cast<std::size_t>(a)];
        const QString& y = keys[static_cast<std::size_t>(b)];
        if (x.isEmpty() != y.isEmpty()) return y.isEmpty();
        const int compared = CompareTexts(x, y);
        return descending ? compared > 0 : compared < 0;
    });
    for (int row = 0; row < rows; ++row) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(row)]);
        for (int c = 0; c < cols; ++c) setItem(row, c, taken[from][static_cast<std::size_t>(c)]);
        setRowHeight(row, heights[from]);
    }
}

void TStringGrid::SortByTitle(int col) {
    SortRows(col, col == sortCol_ && !sortDescending_);
}

void TStringGrid::Resort() {
    if (sortCol_ >= 0) SortRows(sortCol_, sortDescending_);
}

void TStringGrid::SetSortMark(int col, bool descending) {
    sortCol_ = col;
    sortDescending_ = descending;
    horizontalHeader()->viewport()->update();
}

void TStringGrid::FitColumns(std::vector<int> widths, std::vector<int> kept) {
    fitWidths_ = std::move(widths);
    fitKept_ = std::move(kept);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ApplyFit();
}

void TStringGrid::ApplyFit() {
    const int cols = std::min(columnCount(), static_cast<int>(fitWidths_.size()));
    if (cols == 0) return;
    const auto isKept = [this](int col) {
        return std::find(fitKept_.begin(), fitKept_.end(), col) != fitKept_.end();
    };
    int keptWidth = 0;
    int sharedDesign = 0;
    int lastShared = -1;
    for (int col = 0; col < cols; ++col) {
        const int width = fitWidths_[static_cast<std::size_t>(col)];
        if (isKept(col)) {
            keptWidth += width;
        } else {
            sharedDesign += width;
            lastShared = col;
        }
    }
    const int rest = viewport()->width() - keptWidth;
    int given = 0;
    for (int col = 0; col < cols; ++col) {
        const int design = fitWidths_[static_cast<std::size_t>(col)];
        int width = design;
        if (!isKept(col)) {
            // The last shared column takes what rounding left, so the columns end at the edge.
            width = col == lastShared ? rest - given : design * rest / std::max(1, sharedDesign);
            width = std::max(kNarrowestFitted, width);
            given += width;
        }
        setColumnWidth(col, width);
    }
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && OnEnterRow && Row() >= fixedRows_) {
        OnEnterRow(Row());
        return;
    }
    QTableWidget::keyPressEvent(event);
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

bool TStringGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        const bool handled = QTableWidget::viewportEvent(event);
        ApplyFit();
        return handled;
    }
    if (event->type() != QEvent::ToolTip) return QTableWidget::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    return ShowWholeText(help, viewport(), font(), index.isValid() ? visualRect(index) : QRect(),
                         Cell(index.column(), index.row() + fixedRows_));
}

void DrawGridCell(QPainter& painter, const QRect& rect, const QString& text, QColor background,
                  QColor textColor) {
    painter.fillRect(rect, background);
    painter.setPen(textColor);
    const QRect area = TextRect(rect);
    if (Fits(painter.fontMetrics(), area, text)) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    } else {
        painter.drawText(area, Qt::AlignCenter, Cut(painter.font(), area, text));
    }
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
