#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QTableWidget>
#include <functional>
#include <vector>

class QPainter;

// The colours every grid shares: the header row, its text, and the alternating data rows.
namespace GridColors {
constexpr QRgb kHeader = 0x646464;
constexpr QRgb kHeaderText = 0xFFFFFF;
constexpr QRgb kOddRow = 0xF8F8F8;
constexpr QRgb kEvenRow = 0xE9E9E9;
}  // namespace GridColors

// An owner-drawn string grid. Cells are addressed by column, then row. Row 0 is the title row:
// fixed, it stays in place while the data rows under it scroll, and the screen draws it as
// its header. A grid without titles (SetFixedRows(0)) has data rows from row 0. Nothing is
// edited in place. A text too long for its cell ends in "…" and shows whole as a tooltip.
// With the keyboard, the arrow keys move the current row and Enter acts on it.
class TStringGrid : public QTableWidget {
public:
    explicit TStringGrid(QWidget* parent);

    // 1: row 0 is the fixed title row (the default); 0: no title row.
    void SetFixedRows(int count);
    int FixedRows() const { return fixedRows_; }
    int ColCount() const { return columnCount(); }
    void SetColCount(int count);
    int RowCount() const { return rowCount() + fixedRows_; }
    // Never fewer rows than the fixed ones: SetRowCount(1) leaves the titles alone.
    void SetRowCount(int count);
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    int ColWidth(int col) const { return columnWidth(col); }
    void SetColWidth(int col, int width) { setColumnWidth(col, width); }
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    // Every row, the title row included; a screen sets a title row of another height after.
    void SetDefaultRowHeight(int height);
    // Removes the selection and the current cell.
    void ClearSelection();
    // The current data row, or -1; SetRow makes `row` current and scrolls it into view.
    int Row() const;
    void SetRow(int row);
    // Scrolls the data row into view, the current row staying as it is.
    void ScrollToRow(int row);
    // The data row and the column under a point of the cells' area, or -1.
    int RowAt(int y) const;
    int ColAt(int x) const;

    // A number that travels with a data row when the rows are sorted, such as its record's id.
    void SetRowTag(int row, int tag);
    int RowTag(int row) const;

    // Orders the data rows by a column's texts (see CompareTexts), empty cells last, and marks
    // the column's title with an arrow: up for ascending, down for descending.
    void SortRows(int col, bool descending);
    // A click on a title: sorted by that column, or reversed when it already was.
    void SortByTitle(int col);
    // The rows afresh in the order chosen last; nothing when none was.
    void Resort();
    // Only the arrow, for a screen that orders its rows itself; -1 takes it away.
    void SetSortMark(int col, bool descending);
    int SortColumn() const { return sortCol_; }
    bool SortDescending() const { return sortDescending_; }

    // The columns share the width of the cells' area: those in `kept` keep their widths, the
    // others grow and shrink in proportion to `widths`, so no column is scrolled out of sight.
    void FitColumns(std::vector<int> widths, std::vector<int> kept);

    // Paints one cell: fill `rect` and draw the text. Without it the text is drawn plainly.
    std::function<void(QPainter& painter, int col, int row, const QRect& rect, bool selected)>
        OnDrawCell;
    // A press on a cell, also on the cell that is already current, or on a title (row 0).
    std::function<void(int col, int row)> OnSelectCell;
    // The pointer moved over the cells (position in the cell area).
    std::function<void(QPoint position)> OnMouseMove;
    // The wheel turned one step; return true when handled, so the grid does not scroll.
    std::function<bool(bool down)> OnMouseWheel;
    // Enter on the current data row.
    std::function<void(int row)> OnEnterRow;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class CGridTitles;
    void ApplyFit();
    QTableWidgetItem* ItemOf(int col, int row);

    int fixedRows_ = 1;
    int sortCol_ = -1;
    bool sortDescending_ = false;
    std::vector<int> fitWidths_;
    std::vector<int> fitKept_;
};

// Fills the cell in `background` and draws `text` centred both ways, wrapped at word bounds;
// what does not fit ends in "…".
void DrawGridCell(QPainter& painter, const QRect& rect, const QString& text, QColor background,
                  QColor textColor);
// The common look: row 0 as the header, data rows alternating light (odd) and darker (even).
void DrawStripedCell(QPainter& painter, const QRect& rect, const QString& text, int row);
QColor RowColor(int row);
// Fills the cell in its row colour and draws the picture file `path` `left` pixels in from the
// cell's left edge, centred vertically. Pictures are read once and kept.
void DrawIconCell(QPainter& painter, const QRect& rect, const QString& path, int left, int row);
