#pragma once

#include "base/money.h"

#include <QString>

// Number display formats of the grids: "0" is a digit always shown, "#" a digit shown when
// significant, "." marks the decimals, a space or "," among the whole digits asks for groups of
// three. The result uses "," before the decimals and a space between groups, without padding:
// "### ### ##0.00" shows 1234.5 as "1 234,50", "0.00" as "1234,50". Money is rounded exactly,
// halves away from zero.
QString FormatDisplayNumber(const QString &format, Money amount);
QString FormatDisplayNumber(const QString &format, double number);
