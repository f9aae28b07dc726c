#include "contractors/envelope_layout.h"

const QList<EnvelopeLine> &EnvelopeAddressLines()
{
    static const QString arial = QStringLiteral("Arial");
    static const QList<EnvelopeLine> lines{
        {QStringLiteral("NAZWA1"), 71.4, 145.5, arial, 12, false},
        {QStringLiteral("NAZWA2"), 71.4, 153.5, arial, 12, false},
        {QStringLiteral("UL"), 71.4, 161.4, arial, 12, false},
        {QStringLiteral("KOD"), 74.1, 168.8, arial, 22, true},
        {QStringLiteral("MIEJSC"), 105.3, 169.9, arial, 14, false},
    };
    return lines;
}

EnvelopeMargins MarginsForPrinting(const QString &marginsFile, const EnvelopeMargins &current)
{
    const MarginsReading reading = ReadEnvelopeMargins(marginsFile);
    return reading.status == MarginsReading::Status::Read ? reading.margins : current;
}
