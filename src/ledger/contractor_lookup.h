#pragma once

#include <QString>

class Prompt;
class Table;

// The editors find a contractor by what the user typed and copy him into the document.

// Moves the contractor table to the contractor with the number (NR); false, without moving,
// when the trimmed text is empty, no number, or no contractor has it.
bool FindContractorByNumber(Table &contractors, const QString &typed);
// The same by tax number (NIP, through the index Ninx); the table keeps its order. A number not
// found as typed is looked for without spaces and dashes.
bool FindContractorByTaxNumber(Table &contractors, const QString &typed);
// The tax number without its spaces and dashes.
QString TaxNumberDigits(const QString &taxNumber);

// The document header takes the current contractor: NR, NAZWA1, NAZWA2, KOD, MIEJSC, UL and NIP
// into ONR, ONAZ1, ONAZ2, OKOD, OMIEJSC, OUL and ONIP; the header is stored at once.
void CopyContractorIntoHeader(const Table &contractors, Table &header, Prompt &prompt);
