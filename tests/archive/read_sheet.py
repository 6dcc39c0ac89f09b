"""Prints a workbook's first sheet as lines a test can compare: how it prints, its merged
ranges, the column widths and row heights that were set, then every cell that has a value or a
look, in row order:
  print landscape paper=9 fit=1 wide=1 tall=0 titles=$4:$4
  merge A1:F1
  width B 12.0
  height 4 30.0
  A4 str '№' bold=0 size=11 border=1 h=center v=center wrap=0
Value types: num (with its value and number format), date (the stored date-time and its number
format), str."""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
setup = sheet.page_setup
fit = sheet.sheet_properties.pageSetUpPr
# An absent page count is the format's default of 1.
print("print %s paper=%s fit=%d wide=%s tall=%s titles=%s" % (
    setup.orientation, setup.paperSize, bool(fit and fit.fitToPage),
    1 if setup.fitToWidth is None else setup.fitToWidth,
    1 if setup.fitToHeight is None else setup.fitToHeight, sheet.print_title_rows))
for merged in sorted(str(r) for r in sheet.merged_cells.ranges):
    print("merge", merged)
for letter, dimension in sorted(sheet.column_dimensions.items()):
    if dimension.customWidth:
        print("width", letter, dimension.width)
for index, dimension in sorted(sheet.row_dimensions.items()):
    if dimension.customHeight:
        print("height", index, dimension.height)
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is None and not cell.has_style:
            continue
        if cell.data_type == "n" and cell.value is not None:
            value = "num %r %s" % (cell.value, cell.number_format)
        elif cell.is_date:
            value = "date %s %s" % (cell.value.isoformat(sep=" "), cell.number_format)
        elif cell.value is None:
            value = "blank"
        else:
            value = "str %r" % cell.value
        print("%s %s bold=%d size=%g border=%d h=%s v=%s wrap=%d" % (
            cell.coordinate, value, cell.font.b, cell.font.sz,
            cell.border.left.style == "thin", cell.alignment.horizontal,
            cell.alignment.vertical, bool(cell.alignment.wrap_text)))
