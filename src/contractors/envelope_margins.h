#pragma once

#include <QString>
#include <optional>

// The top and left margins of the envelope page, in millimetres.
struct EnvelopeMargins {
    double top = 10.0;
    double left = 10.0;
    friend bool operator==(const EnvelopeMargins &, const EnvelopeMargins &) = default;
};

// The envelope page: "Note" paper (8.5 by 11 inches) laid landscape.
inline constexpr double kEnvelopePageWidthMm = 279.0;
inline constexpr double kEnvelopePageHeightMm = 215.9;

// "Margines.dan" in the working folder keeps the margins between runs: one record of 16 bytes,
// the top margin and then the left one, each a little-endian IEEE double.
inline constexpr const char *kMarginsFileName = "Margines.dan";
QString MarginsFilePath(const QString &workingFolder);

struct MarginsReading {
    enum class Status { Read, Missing, Damaged };
    Status status = Status::Missing;
    EnvelopeMargins margins; // the stored ones when read, else the defaults
};

// Reads the first record. A missing file, a short one, or one whose values are no margins on the
// envelope (not numbers, negative, beyond the paper) gives the default margins.
MarginsReading ReadEnvelopeMargins(const QString &path);

// What is wrong with the margins (empty when nothing): each must be a number from 0 up to less
// than the paper's height (top) or width (left).
QString CheckEnvelopeMargins(double top, double left);

// Writes the one record through a temporary file renamed over the old one, so the file is never
// left empty or half written. The error text when it cannot be written, else empty.
QString WriteEnvelopeMargins(const QString &path, const EnvelopeMargins &margins);

// The record's 16 bytes.
QByteArray EncodeEnvelopeMargins(const EnvelopeMargins &margins);
std::optional<EnvelopeMargins> DecodeEnvelopeMargins(const QByteArray &record);
