#pragma once

#include "base/money.h"
#include "ledger/small_dialogs.h"

#include <QString>
#include <optional>

class Prompt;
struct ListingContext;

// The bounds of "Dokumenty z kwotą od / do"; 0 is no bound.
struct AmountRange {
    Money from;
    Money to;

    // A row's amount (an empty one counts as 0) within the bounds.
    bool contains(Money amount) const;
    // Rows with an empty amount are within the bounds too.
    bool containsEmpty() const { return contains(Money()); }
};

// The two texts read as amounts; when one is no number the error
// "Błąd kwoty "od"" or "Błąd kwoty "do"" is shown and nothing is returned.
std::optional<AmountRange> ReadAmountRange(const AmountRangeTexts &texts, Prompt &prompt);

// "Dokumenty z kwotą od / do" ("Raport dokumentów z kwotami od ... do ..."): every row of the
// year's document table, of every desk, headers and lines alike, whose amount lies within the
// range, in the table's primary order. The documents list does not move.
void DokumentyZKwota(ListingContext &context, const AmountRangeTexts &texts);
// The same for the range asked in "Zakres kwot" (its texts without their spaces); nothing unless
// the dialog ends with Yes.
void DokumentyZKwota(ListingContext &context, AmountRangeDialog &dialog);
