#pragma once

#include "base/money.h"
#include "print/kwota_slownie.h"

#include <QList>
#include <QString>
#include <optional>

class Table;

// What every printout of a cash document prepares before it lays the document out, whether as
// a graphic form or as text: the amount in words with its label, the caption of the amount's
// units, and the table of the document's positions.

// The unit names of the desk's currency when the currency dictionary (open) has a row whose
// WALUTA begins with the desk's code A2; nothing (the złoty defaults) otherwise, and for a desk
// without a code.
std::optional<CurrencyUnitNames> ForeignCurrencyOf(const QString &deskCurrencyCode, const Table &currencies);

struct DocumentAmountTexts {
    QString wordsLabel;  // "Słownie złotych :", or "Słownie " + Z3 + " :"
    QString amountWords; // the amount in words, full form with the hundredths in words
    QString unitCaption; // "złoty  ,  groszy" (RZ, WZ: "Kwota zł"), or the currency's names
};

// The texts for a document of this kind and amount (its absolute value is written out).
DocumentAmountTexts PrepareAmountTexts(const QString &kind, Money amount,
                                       const std::optional<CurrencyUnitNames> &foreignCurrency);

// One row of the position table: description, amount through the kind's picture, account.
struct PositionRow {
    QString description;
    QString amountText;
    QString account;
};

inline constexpr int kMaxPositionRows = 18;

// The amount of a position as the printouts show it: "### ### ### ##9 , 99" for KP, KPD, KW and
// KWD, "###########9,99" for RZ and WZ.
QString PositionAmountText(const QString &kind, Money amount);

// The rows the positions view shows, in its order, at most kMaxPositionRows of them. The view's
// current row is kept.
QList<PositionRow> ReadPositionTable(Table &positions, const QString &kind);
