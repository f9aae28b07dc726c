#pragma once

#include <QString>

class PreviewLines;

// The table of a listing's lines (the print module's buffer) as a spreadsheet file; each returns the reason it failed, or an empty
// text. The caller gives a scratch path and puts the file in its place once whole.
//
// CSV as Polish spreadsheets read it: UTF-8, semicolons, a comma before the decimals, days as
// RRRR-MM-DD, the headings in the first line.
QString WriteListingCsv(const PreviewLines &lines, const QString &path);
// An .xlsx workbook of one sheet: the headings in a frozen first row, amounts as numbers in a
// money format, days as dates, whole numbers as numbers, total lines in bold, columns as wide as
// the listing prints them. Written row by row, in constant memory.
QString WriteListingXlsx(const PreviewLines &lines, const QString &path);

class TDRUK;

// "Zapisz arkusz": the preview's listing saved where the user chooses, as a workbook, or as CSV
// when the name ends in ".csv". The file is written beside its place and takes the name only when
// whole; a failure is said and leaves an earlier file as it was. False when nothing was saved.
bool SavePreviewAsSheet(TDRUK &druk);
