#pragma once

// `vevo archive ...` prints the grid the archive screen shows for a building and a range of
// whole days, in the working directory's local.db: the title row, then one line per meter,
// cells joined by tabs, in UTF-8.
//   archive --kind heat|water_cold|water_hot --building BID --from YYYY-MM-DD --to YYYY-MM-DD
int RunArchiveCommand(int argc, char** argv);

// `vevo export ...` writes the sheet the screen's export writes to FILE.xlsx and opens
// nothing; an existing FILE is refused.
//   export --kind ... --building BID --from YYYY-MM-DD --to YYYY-MM-DD --output FILE.xlsx
// Both exit with 0 when done, 1 with one line on standard error when the building does not
// exist or the file exists or cannot be written, 2 for bad arguments.
int RunExportCommand(int argc, char** argv);
