#pragma once

class QString;
struct lxw_workbook;

// A listing's workbook, opened to be written row by row in constant memory; null when the file
// cannot be made.
//
// The workbook writer packs the sheet of a long listing (tens of megabytes of cell markup) with
// zlib's default level, which costs more than making the listing itself, and it has no setting
// for the level. The program gives the zip step its own entry that asks for the quickest level
// instead: the workbook holds the same cells, in a file about a third larger.
lxw_workbook *OpenListingWorkbook(const QString &path);

// True when the workbook writer's zip step goes through the program's entry in this process (the
// program is linked so that the writer's call finds it first).
bool WorkbookPackingIsQuick();
