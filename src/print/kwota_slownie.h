#pragma once

#include "base/money.h"

#include <QString>
#include <optional>

// The amount of a cash document in Polish words ("słownie").

// Unit names of a currency (fields Z1..Z3, G1..G3 of the currency dictionary), each for the
// grammatical form after one, after two to four, and after everything else ("złoty", "złote",
// "złotych").
struct CurrencyUnitNames {
    QString z1, z2, z3;  // main unit
    QString g1, g2, g3;  // hundredth

    static CurrencyUnitNames defaults();  // złoty and grosz
    // True when all six names are empty or spaces only; such names stand for the defaults.
    bool isBlank() const;

    friend bool operator==(const CurrencyUnitNames &, const CurrencyUnitNames &) = default;
};

// Amounts from this value on have no words in the table (billions are the largest group).
inline constexpr qint64 kKwotaSlownieLimitWhole = 1'000'000'000'000;

// The amount in words, rounded to hundredths first.
//   skrot false: full words with the units in the right form,
//     "jeden tysiąc dwieście trzydzieści cztery złote  pięćdziesiąt sześć groszy ";
//   skrot true: digit by digit, "*JED*DWA*TRZ*CZT*ZŁ*PIE*SZE*GR*" (unit names not used).
//   groszeSlowami false: hundredths as "56/100" (in the full form only when not zero).
// Blank unit names give the defaults; otherwise the six names are used as given, empty ones
// staying empty. A negative amount, or one of kKwotaSlownieLimitWhole or more after rounding,
// has no words: the result is nullopt.
std::optional<QString> KwotaSlownie(bool skrot, bool groszeSlowami, Money kwota,
                                    const CurrencyUnitNames &units = {});
