#include "print/listing_period.h"

#include "print/listing_text.h"

ListingPeriod::ListingPeriod(const DateRange &range)
    : from(TypedDate(range.from))
    , to(TypedDate(range.to))
    , storedFrom(StoredDate(range.from))
    , storedTo(StoredDate(range.to))
{
}

QList<FilterCondition> ListingPeriod::conditions() const
{
    using Op = FilterCondition::Op;
    return {{QStringLiteral("GLOWKA"), Op::Equal, true},
            {QStringLiteral("DATA"), Op::GreaterOrEqual, storedFrom},
            {QStringLiteral("DATA"), Op::LessOrEqual, storedTo}};
}

DateRange FirstListingPeriod(QDate today)
{
    return {QDate(today.year(), today.month(), 1), today};
}
