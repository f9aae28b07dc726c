#pragma once

#include <QString>
#include <QStringList>

class Table;

// The ten fields of the firm's seat address, from the street to the town (not the e-mail and
// web addresses). The owner's residence address has the same fields with "Z" in front.
const QStringList &SeatAddressFields();

// After the user leaves a seat-address field: an empty residence field of the same name gets its
// value, and a post office fills the empty county, commune and town of both addresses. A field
// that holds text is never overwritten. Puts the company row into edit; other fields do nothing.
void FillEmptyAddressFields(Table &company, const QString &leftField);
