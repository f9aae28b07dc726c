#pragma once

#include "base/money.h"

#include <QString>

// The kinds of cash document (field RD) and what each kind means for the cash.
namespace DocumentKind {
inline const QString KP = QStringLiteral("KP");   // receipt
inline const QString KW = QStringLiteral("KW");   // payout
inline const QString KPD = QStringLiteral("KPD"); // receipt numbered by hand (A1)
inline const QString KWD = QStringLiteral("KWD"); // payout numbered by hand (A1)
inline const QString WZ = QStringLiteral("WZ");   // request for a cash advance
inline const QString RZ = QStringLiteral("RZ");   // settlement of an advance
} // namespace DocumentKind

// OKOD of a settlement: the employee returns the difference ("+") or the desk pays it out ("-").
inline const QString kSettlementReturn = QStringLiteral("+");
inline const QString kSettlementPayOut = QStringLiteral("-");

// KP, KPD, and RZ with "+".
bool IsReceipt(const QString &kind, const QString &settlementSign);

// Which balance a signed amount is for. The closing balance (and the listings) take every
// document that is no receipt as a payout; the cash state on the status bar leaves advance
// requests out and counts a settlement only by its sign.
enum class BalanceKind { Closing, CashState };

// The amount with the sign the kind gives it: + for KP, KPD and RZ "+"; - for KW, KWD, RZ "-"
// and WZ (the cash state counts WZ as 0).
Money SignedAmount(const QString &kind, const QString &settlementSign, Money amount,
                   BalanceKind balance = BalanceKind::Closing);

// KP, KW, KPD and KWD keep their first line in the header row itself.
bool HeaderIsFirstLine(const QString &kind);
// Lines a document may have as its editor counts them (the header row counted where it is the
// first line); 0 when there is no limit.
int MaxDocumentLines(const QString &kind);
