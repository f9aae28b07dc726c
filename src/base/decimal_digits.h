#pragma once

#include <string>

// The digits of a non-negative decimal number, split at the point: "1234.5" is {"1234", "5"}.
// Used to round exactly on decimal text instead of on binary doubles.
struct DecimalDigits {
    std::string whole = "0";
    std::string fraction;
};

// x must be finite in the two readers below.

// Exactly `decimals` fraction digits, the rest rounded off with halves away from zero.
DecimalDigits RoundDecimalDigits(DecimalDigits digits, int decimals);

// The exact decimal expansion of |x| (every finite double has a finite one).
DecimalDigits ExactDecimalDigits(double x);

// The shortest decimal text that reads back as |x|: what was typed when x came from "2.675".
DecimalDigits ShortestDecimalDigits(double x);
