#include "ledger/document_kinds.h"

bool IsReceipt(const QString &kind, const QString &settlementSign)
{
    return kind == DocumentKind::KP || kind == DocumentKind::KPD
           || (kind == DocumentKind::RZ && settlementSign == kSettlementReturn);
}

Money SignedAmount(const QString &kind, const QString &settlementSign, Money amount, BalanceKind balance)
{
    if (IsReceipt(kind, settlementSign))
        return amount;
    if (balance == BalanceKind::Closing)
        return -amount;
    const bool payout = kind == DocumentKind::KW || kind == DocumentKind::KWD
                        || (kind == DocumentKind::RZ && settlementSign == kSettlementPayOut);
    return payout ? -amount : Money();
}

bool HeaderIsFirstLine(const QString &kind)
{
    return kind == DocumentKind::KP || kind == DocumentKind::KW || kind == DocumentKind::KPD
           || kind == DocumentKind::KWD;
}

int MaxDocumentLines(const QString &kind)
{
    if (HeaderIsFirstLine(kind))
        return 7;
    if (kind == DocumentKind::RZ)
        return 18;
    return 0;
}
