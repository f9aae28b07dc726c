#include "contractors/envelope_margins.h"

#include "contractors/envelope_layout.h"

#include "base/format_settings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

constexpr int kRecordSize = 16;

void PutDouble(char *at, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, at);
}

double GetDouble(const char *at)
{
    const quint64 bits = qFromLittleEndian<quint64>(at);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool OnPage(double margin, double limit)
{
    return std::isfinite(margin) && margin >= 0 && margin < limit;
}

} // namespace

QString MarginsFilePath(const QString &workingFolder)
{
    return QDir(workingFolder).filePath(QString::fromLatin1(kMarginsFileName));
}

QByteArray EncodeEnvelopeMargins(const EnvelopeMargins &margins)
{
    QByteArray record(kRecordSize, '\0');
    PutDouble(record.data(), margins.top);
    PutDouble(record.data() + 8, margins.left);
    return record;
}

std::optional<EnvelopeMargins> DecodeEnvelopeMargins(const QByteArray &record)
{
    if (record.size() < kRecordSize)
        return std::nullopt;
    const EnvelopeMargins margins{GetDouble(record.constData()), GetDouble(record.constData() + 8)};
    if (!CheckEnvelopeMargins(margins.top, margins.left).isEmpty())
        return std::nullopt;
    return margins;
}

MarginsReading ReadEnvelopeMargins(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {MarginsReading::Status::Damaged, {}};
    const std::optional<EnvelopeMargins> margins = DecodeEnvelopeMargins(file.read(kRecordSize));
    if (!margins)
        return {MarginsReading::Status::Damaged, {}};
    return {MarginsReading::Status::Read, *margins};
}

QString CheckEnvelopeMargins(double top, double left)
{
    // The address must stay on the page: it ends about 100 mm right of its first letter (71.4 mm
    // into the band) and below the postal code's line (177 mm into the band), the band lying
    // the fixed margin and the user's margin from the page's corner.
    constexpr double kAddressRightMm = 71.4 + 100.0;
    constexpr double kAddressBottomMm = 177.0;
    const double topLimit = kEnvelopePageHeightMm - kEnvelopeFixedMarginMm - kAddressBottomMm;
    const double leftLimit = kEnvelopePageWidthMm - kEnvelopeFixedMarginMm - kAddressRightMm;
    if (!OnPage(top, topLimit))
        return QStringLiteral("Margines górny musi być liczbą nieujemną mniejszą niż %1 mm (większy wyprowadza adres poza stronę).")
            .arg(FormatDecimal(topLimit, 1));
    if (!OnPage(left, leftLimit))
        return QStringLiteral("Margines lewy musi być liczbą nieujemną mniejszą niż %1 mm (większy wyprowadza adres poza stronę).")
            .arg(FormatDecimal(leftLimit, 1));
    return QString();
}

QString WriteEnvelopeMargins(const QString &path, const EnvelopeMargins &margins)
{
    if (const QString problem = CheckEnvelopeMargins(margins.top, margins.left); !problem.isEmpty())
        return problem;
    QSaveFile file(path);
    const QByteArray record = EncodeEnvelopeMargins(margins);
    if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size() || !file.commit())
        return QStringLiteral("Nie można zapisać pliku ") + QDir::toNativeSeparators(path);
    return QString();
}
