#pragma once

#include "contractors/envelope_margins.h"

#include <QList>
#include <QString>

// The envelope: the current contractor's address on a landscape "Note" page, in one band printed
// once. Positions are millimetres from the band's top-left corner; each text is as wide as it
// needs and wraps at the band's edge. An empty line keeps its place, so the lines below it do
// not move up.
inline constexpr double kEnvelopeBandWidthMm = 258.8;
inline constexpr double kEnvelopeBandHeightMm = 194.5;
// Right and bottom margins; top and left come from "Margines.dan".
inline constexpr double kEnvelopeFixedMarginMm = 10.0;

struct EnvelopeLine {
    QString field; // of the contractor row (KONTRAHI)
    double leftMm;
    double topMm;
    QString fontFamily;
    int pointSize;
    bool bold;
};

// NAZWA1, NAZWA2 and UL in Arial 12, the postal code large and bold with the town beside it.
const QList<EnvelopeLine> &EnvelopeAddressLines();

// The margins an envelope prints with: the stored ones when "Margines.dan" holds sensible ones,
// else those it printed with before (the defaults at the first print).
EnvelopeMargins MarginsForPrinting(const QString &marginsFile, const EnvelopeMargins &current);
