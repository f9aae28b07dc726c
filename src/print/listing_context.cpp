#include "print/listing_context.h"

#include "ledger/cash_ledger.h"

ListingContext ListingContextOf(CashLedger &ledger, TDRUK &druk)
{
    return {druk, ledger.context()};
}
