"""The yardstick for `vevo export`: openpyxl's plain write (values, no looks) of the cells of
the same report, timed inside the process. Reads `vevo archive` output on standard input:

    vevo archive --kind heat --building 1 --from 2024-03-01 --to 2024-03-31 \
        | python3 bench/archive/openpyxl_write.py /tmp/openpyxl.xlsx

and prints the median of several writes in milliseconds. The export's own work is the
`vevo export` process less a `vevo archive` process of the same report."""
import statistics
import sys
import time

import openpyxl

lines = [line.rstrip("\n").split("\t") for line in sys.stdin]


def value(text):
    try:
        return float(text)
    except ValueError:
        return text


def write(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.cell(1, 1, "Адреса:")
    sheet.cell(2, 1, "Відомості")
    for i, cells in enumerate(lines):
        sheet.cell(4 + i, 1, "№" if i == 0 else i)
        for j, text in enumerate(cells):
            sheet.cell(4 + i, 2 + j, text if i == 0 else value(text))
    book.save(path)


times = []
for _ in range(7):
    start = time.perf_counter()
    write(sys.argv[1])
    times.append((time.perf_counter() - start) * 1000)
print("openpyxl write of %d rows: median %.1f ms (min %.1f)" % (
    len(lines), statistics.median(times), min(times)))
