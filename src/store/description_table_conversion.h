#pragma once

#include <QString>

class Table;
struct TableHelperContext;

// The payment descriptions of older versions have only RD and NAZWA. An open descriptions table
// with fewer than three fields is rebuilt with the default amount CENA: the rows are copied,
// field by field in their order, into "OPISKAS.DB" beside it, which then takes the place of
// "OPISKASA.DB". When the new table cannot be made, "Nie mozna utworzyć tabeli OPISKAS.DB -
// konwersja." is shown (caption "Błąd") and the old table stays as it was. The descriptions table
// is left closed; the caller opens it again.
void ConvertDescriptionTable(Table &descriptions, TableHelperContext &context);

bool DescriptionTableNeedsConversion(const Table &descriptions);
