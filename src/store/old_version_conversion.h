#pragma once

struct TableHelperContext;

// Converts the cash tables of the oldest version in the working year (cash desks keyed by the
// number AUTOKASA, reports by AUTOKASA and AUTORK) into the current structure, keyed by desk
// symbol and report number. The new tables are built in "KASA\KONWERT" and copied over the old
// ones only when complete, so until then the old version stays usable. A desk without a symbol
// gets 1, 2, ... and a report without a number 1, 2, ... within its desk, each skipping values
// the old rows already use. The KONWERT folder and its tables stay.
//
// Shows "Nie mozna utworzyć tabeli" or "Nie mozna otworzyć tabeli" (or the engine's message when
// a row cannot be written) and returns false when the conversion could not be completed; the
// old tables are then unchanged. Every table of the year's KASA folder must be closed.
bool ConvertOldVersionTables(TableHelperContext &context);
