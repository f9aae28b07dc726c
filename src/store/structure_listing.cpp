#include "store/structure_listing.h"

#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr int kColumnWidth = 40;
const char *const kHeaderLine = "STRUKTURA ZBIORU";
const char *const kIndexesLine = "INDEKSY";
const char *const kEndLine = "KONIEC";
const char *const kFieldTag = "Pole:";
const char *const kTypeTag = "Typ:";
const char *const kPresenceTag = "Obecnosc:";
const char *const kSizeTag = "Wielkosc:";
const char *const kIndexTag = "Nazwa:";
const char *const kCodePage = "windows-1250";

QString Padded(const QString &text) { return text.leftJustified(kColumnWidth, QLatin1Char(' ')); }

QString FieldLine(const FieldDef &field)
{
    const int code = static_cast<int>(field.type);
    QString line = QLatin1String(kFieldTag) + Padded(field.name);
    if (code <= kHighestListedTypeCode)
        line += QLatin1String(kTypeTag) + QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0'));
    line += QLatin1String(kPresenceTag) + (field.required ? QStringLiteral(" TRUE") : QStringLiteral("FALSE"));
    line += QLatin1String(kSizeTag) + QString::number(field.size);
    return line;
}

QString IndexLine(const IndexDef &index)
{
    return QLatin1String(kIndexTag) + Padded(index.name) + QLatin1String(kFieldTag)
           + Padded(index.fields.join(QLatin1Char(';')));
}

std::optional<FieldDef> ParseFieldLine(const QString &line)
{
    const int presenceAt = line.lastIndexOf(QLatin1String(kPresenceTag));
    const int sizeAt = line.lastIndexOf(QLatin1String(kSizeTag));
    const int tagLength = int(qstrlen(kFieldTag));
    if (presenceAt < tagLength || sizeAt < presenceAt)
        return std::nullopt;

    FieldDef field;
    field.type = FieldType::Unknown;
    int nameEnd = presenceAt;
    const int typeAt = presenceAt - int(qstrlen(kTypeTag)) - 2;
    if (typeAt >= tagLength && line.mid(typeAt, int(qstrlen(kTypeTag))) == QLatin1String(kTypeTag)) {
        bool ok = false;
        const int code = line.mid(presenceAt - 2, 2).toInt(&ok);
        if (ok)
            field.type = static_cast<FieldType>(code);
        nameEnd = typeAt;
    }
    field.name = line.mid(tagLength, nameEnd - tagLength).trimmed();
    const int presenceValueAt = presenceAt + int(qstrlen(kPresenceTag));
    field.required = line.mid(presenceValueAt, sizeAt - presenceValueAt).trimmed() == QLatin1String("TRUE");
    field.size = line.mid(sizeAt + int(qstrlen(kSizeTag))).trimmed().toInt();
    return field;
}

// Index repair rebuilds the unnamed index as the primary key and every named one
// case-insensitive; the listing keeps no other options.
std::optional<IndexDef> ParseIndexLine(const QString &line)
{
    const int tagLength = int(qstrlen(kIndexTag));
    const int keysTagAt = line.indexOf(QLatin1String(kFieldTag), tagLength);
    if (keysTagAt < 0)
        return std::nullopt;

    return IndexFromListing(line.mid(tagLength, keysTagAt - tagLength),
                            line.mid(keysTagAt + int(qstrlen(kFieldTag))));
}

QStringList ListingLines(const QByteArray &listing)
{
    QStringDecoder decode(kCodePage);
    const QString text = decode(listing);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the line end of the last line
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

} // namespace

QByteArray StructureListingText(const TableDefinition &table)
{
    QStringList lines{QLatin1String(kHeaderLine)};
    for (const FieldDef &field : table.fields)
        lines << FieldLine(field);
    lines << QLatin1String(kIndexesLine);
    for (const IndexDef &index : table.indexes)
        lines << IndexLine(index);
    lines << QLatin1String(kEndLine);

    QStringEncoder encode(kCodePage);
    return encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

bool WriteStructureListingFile(const QString &filePath, const TableDefinition &table)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = StructureListingText(table);
    return file.write(text) == text.size() && file.flush();
}

std::optional<TableDefinition> ParseStructureListing(const QByteArray &listing)
{
    QStringList lines = ListingLines(listing);
    if (lines.isEmpty() || lines.first() != QLatin1String(kHeaderLine))
        return std::nullopt;

    const int indexesAt = lines.indexOf(QLatin1String(kIndexesLine));
    const int endAt = lines.indexOf(QLatin1String(kEndLine));
    // Without the closing line the listing was cut short and its last line may be incomplete.
    const int lastTaken = endAt >= 0 ? endAt - 1 : int(lines.size()) - 2;

    TableDefinition table;
    const int fieldsEnd = indexesAt >= 0 ? indexesAt - 1 : lastTaken;
    for (int i = 1; i <= fieldsEnd && i <= lastTaken; ++i)
        if (lines[i].startsWith(QLatin1String(kFieldTag)))
            if (const auto field = ParseFieldLine(lines[i]))
                table.fields << *field;

    if (indexesAt < 0)
        return table;
    for (int i = indexesAt + 1; i <= lastTaken; ++i)
        if (lines[i].startsWith(QLatin1String(kIndexTag)))
            if (const auto index = ParseIndexLine(lines[i]))
                table.indexes << *index;
    return table;
}

IndexDef IndexFromListing(const QString &name, const QString &keyFields)
{
    IndexDef index;
    index.name = QString(name).remove(QLatin1Char(' '));
    for (const QString &key : keyFields.split(QLatin1Char(';'))) {
        const QString trimmed = key.trimmed();
        if (!trimmed.isEmpty())
            index.fields << trimmed;
    }
    if (index.name.isEmpty()) {
        index.primary = true;
        index.unique = true;
    } else {
        index.caseInsensitive = true;
    }
    return index;
}
