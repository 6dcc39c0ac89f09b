#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QTableWidget>
#include <functional>

class QPainter;

// The colours every grid shares: the header row, its text, and the alternating data rows.
namespace GridColors {
constexpr QRgb kHeader = 0x646464;
constexpr QRgb kHeaderText = 0xFFFFFF;
constexpr QRgb kOddRow = 0xF8F8F8;
constexpr QRgb kEvenRow = 0xE9E9E9;
}  // namespace GridColors

// An owner-drawn string grid. Cells are addressed by column, then row. It has no fixed rows:
// row 0 is an ordinary row that the screen draws as its header. Nothing is edited in place.
class TStringGrid : public QTableWidget {
public:
    explicit TStringGrid(QWidget* parent);

    int ColCount() const { return columnCount(); }
    void SetColCount(int count) { setColumnCount(count); }
    int RowCount() const { return rowCount(); }
    void SetRowCount(int count) { setRowCount(count); }
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    int ColWidth(int col) const { return columnWidth(col); }
    void SetColWidth(int col, int width) { setColumnWidth(col, width); }
    int RowHeight(int row) const { return rowHeight(row); }
    void SetRowHeight(int row, int height) { setRowHeight(row, height); }
    void SetDefaultRowHeight(int height);
    // Removes the selection and the current cell.
    void ClearSelection();

    // Paints one cell: fill `rect` and draw the text. Without it the text is drawn plainly.
    std::function<void(QPainter& painter, int col, int row, const QRect& rect, bool selected)>
        OnDrawCell;
    // A press on a cell, also on the cell that is already current.
    std::function<void(int col, int row)> OnSelectCell;
    // The pointer moved over the cells (position in the cell area).
    std::function<void(QPoint position)> OnMouseMove;
    // The wheel turned one step; return true when handled, so the grid does not scroll.
    std::function<bool(bool down)> OnMouseWheel;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

// Fills the cell in `background` and draws `text` centred both ways, wrapped at word bounds.
void DrawGridCell(QPainter& painter, const QRect& rect, const QString& text, QColor background,
                  QColor textColor);
// The common look: row 0 as the header, data rows alternating light (odd) and darker (even).
void DrawStripedCell(QPainter& painter, const QRect& rect, const QString& text, int row);
QColor RowColor(int row);
// Fills the cell in its row colour and draws the picture file `path` `left` pixels in from the
// cell's left edge, centred vertically. Pictures are read once and kept.
void DrawIconCell(QPainter& painter, const QRect& rect, const QString& path, int left, int row);
