#include "contractors/envelope_margins.h"

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
    if (!OnPage(top, kEnvelopePageHeightMm))
        return QStringLiteral("Margines górny musi być liczbą nieujemną mniejszą niż %1 mm.")
            .arg(FormatDecimal(kEnvelopePageHeightMm, 1));
    if (!OnPage(left, kEnvelopePageWidthMm))
        return QStringLiteral("Margines lewy musi być liczbą nieujemną mniejszą niż %1 mm.")
            .arg(FormatDecimal(kEnvelopePageWidthMm, 1));
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
