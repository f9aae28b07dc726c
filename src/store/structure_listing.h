#pragma once

#include "store/table_definition.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The structure listing: a plain 8-bit text (Windows-1250, CR LF line ends) kept beside a table
// with the extension ".STR". It records the fields and indexes the table had when it was first
// opened, so lost indexes can be rebuilt from it.
//
//   STRUKTURA ZBIORU
//   Pole:<name padded to 40>Typ:<2-digit code>Obecnosc: TRUE|Obecnosc:FALSE Wielkosc:<size>
//   INDEKSY
//   Nazwa:<index name padded to 40>Pole:<key fields joined by ";" padded to 40>
//   KONIEC
//
// A field whose type code is above the highest known one (37) is written without "Typ:" and code.

inline constexpr int kHighestListedTypeCode = 37;

QByteArray StructureListingText(const TableDefinition &table);

// Writes the listing to the file (replacing it); false when the file cannot be written.
bool WriteStructureListingFile(const QString &filePath, const TableDefinition &table);

// Reads a listing back. The unnamed index becomes the primary (unique) index, every named one a
// case-insensitive index, as index repair rebuilds them. Index lines are those between "INDEKSY"
// and "KONIEC"; in a listing cut short before "KONIEC" the last line may itself be cut, so it is
// not taken. A listing without index lines gives no indexes; nullopt when the text does not begin
// with "STRUKTURA ZBIORU".
std::optional<TableDefinition> ParseStructureListing(const QByteArray &listing);

// The index an index line of a listing stands for: an empty name is the primary (unique) index,
// any other name a case-insensitive index over the key fields ("A;B", blanks around names ignored).
IndexDef IndexFromListing(const QString &name, const QString &keyFields);
