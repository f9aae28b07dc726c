#include "maintenance/exchange_file.h"

#include "maintenance/exchange_text.h"

#include <QBuffer>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Enough of the file's start to tell a UTF-16 file.
constexpr qsizetype kFirstPieceBytes = 256;

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

ExchangeError UnreadableFile(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFile *>(&device);
    return ExchangeError(QStringLiteral("Nie można odczytać pliku : %1").arg(file ? file->fileName() : QString()));
}

} // namespace

ExchangeReader::ExchangeReader(const QByteArray &bytes)
    : ownBuffer_(std::make_unique<QBuffer>()), device_(*ownBuffer_), pieceBytes_(kPieceBytes)
{
    ownBuffer_->setData(bytes);
    ownBuffer_->open(QIODevice::ReadOnly);
    learnTheFile();
}

ExchangeReader::ExchangeReader(QIODevice &device, qsizetype pieceBytes)
    : device_(device), pieceBytes_(std::max<qsizetype>(pieceBytes, 1))
{
    learnTheFile();
}

ExchangeReader::~ExchangeReader() = default;

// One pass over the bytes: the encoding, the separator of the first line and the count of lines,
// before any record is read.
void ExchangeReader::learnTheFile()
{
    textStart_ = device_.pos();
    QByteArray piece = device_.read(std::max(pieceBytes_, kFirstPieceBytes));
    if (piece.isEmpty() && device_.bytesAvailable() > 0)
        throw UnreadableFile(device_);
    const bool bom = piece.startsWith("\xEF\xBB\xBF");
    if (bom) {
        piece.remove(0, 3);
        textStart_ += 3;
    }
    if (piece.startsWith("\xFF\xFE") || piece.startsWith("\xFE\xFF") || piece.left(200).contains('\0'))
        throw ExchangeError(QStringLiteral("Plik w kodowaniu UTF-16 nie może być odczytany. Zapisz go w kodowaniu UTF-8 "
                                           "lub Windows-1250."));
    Utf8Scanner scanner;
    bool firstLineDone = false;
    bool firstHasTab = false;
    bool firstHasSemicolon = false;
    bool afterCr = false;   // the last byte read was a CR
    char last = '\n';       // the last byte of the file so far ("\n" before any)
    int lines = 0;
    while (!piece.isEmpty()) {
        scanner.feed(piece);
        for (const char c : std::as_const(piece)) {
            if (c == '\n') {
                if (!afterCr)
                    ++lines;
                firstLineDone = true;
            } else if (c == '\r') {
                ++lines;
                firstLineDone = true;
            } else if (!firstLineDone) {
                firstHasTab = firstHasTab || c == '\t';
                firstHasSemicolon = firstHasSemicolon || c == ';';
            }
            afterCr = c == '\r';
        }
        last = piece.back();
        piece = device_.read(pieceBytes_);
        if (piece.isEmpty() && !device_.atEnd())
            throw UnreadableFile(device_);
    }
    lineCount_ = lines + (last == '\n' || last == '\r' ? 0 : 1);
    semicolons_ = !firstHasTab && firstHasSemicolon;
    const Utf8Scan scan = scanner.finish();
    utf8_ = scan.firstInvalid < 0;
    // Windows-1250 letters make many bytes that UTF-8 cannot read and only now and then one that
    // it can; a file mostly of UTF-8 letters with a byte that breaks it is neither.
    if (!utf8_ && (bom || scan.multibyteLetters > scan.invalidBytes))
        throw ExchangeError(QStringLiteral("Plik nie jest ani w kodowaniu UTF-8, ani Windows-1250: wiersz %1 ma znak, "
                                           "którego UTF-8 nie odczytuje. Nic nie zostało zaimportowane.")
                                .arg(scan.firstInvalidLine),
                            scan.firstInvalidLine, 0);
    if (!device_.seek(textStart_))
        throw UnreadableFile(device_);
    if (utf8_)
        decoder_ = std::make_unique<QStringDecoder>(QStringDecoder::Utf8);
}

// The next piece of the file joins what is left of the text; false at the file's end.
bool ExchangeReader::readPiece()
{
    if (deviceDone_)
        return false;
    const QByteArray piece = device_.read(pieceBytes_);
    if (piece.isEmpty()) {
        if (!device_.atEnd())
            throw UnreadableFile(device_);
        deviceDone_ = true;
        return false;
    }
    text_.remove(0, at_);
    at_ = 0;
    if (utf8_)
        text_ += decoder_->decode(piece);
    else
        text_ += DecodeWindows1250(piece);
    return true;
}

bool ExchangeReader::next(QStringList &values)
{
    for (;;) {
        values.clear();
        if (at_ >= text_.size() && !readPiece())
            return false;
        const qsizetype start = at_;
        const int startLine = nextLine_;
        recordEnded_ = false;
        recordLine_ = nextLine_;
        short_ = false;
        const bool read = semicolons_ ? nextSemicolonRecord(values) : nextTabRecord(values);
        if (short_) {
            // The record goes on in the next piece: read again from its start.
            at_ = start;
            nextLine_ = startLine;
            readPiece();
            continue;
        }
        if (!read)
            continue; // an empty line
        return true;
    }
}

void ExchangeReader::tooMany() const
{
    throw ExchangeError(QStringLiteral("Wiersz %1 ma więcej niż %2 wartości.").arg(recordLine_).arg(kMaxExchangeValues),
                        recordLine_, kMaxExchangeValues + 1);
}

bool ExchangeReader::nextTabRecord(QStringList &values)
{
    const QChar *const text = text_.constData();
    const qsizetype size = text_.size();
    qsizetype end = at_;
    while (end < size && !IsLineEnd(text[end]))
        ++end;
    // A CR at the end of the text read may have its LF in the next piece.
    if (!deviceDone_ && (end == size || (text[end] == u'\r' && end + 1 == size))) {
        short_ = true;
        return false;
    }
    const QStringView line(text + at_, end - at_);
    at_ = end;
    recordEnded_ = at_ < size;
    if (at_ < size && text[at_++] == u'\r' && at_ < size && text[at_] == u'\n')
        ++at_;
    ++nextLine_;
    if (line.isEmpty())
        return false;
    qsizetype start = 0;
    while (start < line.size()) {
        qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0)
            tab = line.size();
        if (values.size() == kMaxExchangeValues)
            tooMany();
        values.append(line.sliced(start, tab - start).toString());
        start = tab + 1;
    }
    return true;
}

bool ExchangeReader::nextSemicolonRecord(QStringList &values)
{
    const qsizetype size = text_.size();
    // The record goes on past the text read so far.
    const auto cutShort = [this] {
        short_ = true;
        return false;
    };
    QString value;
    bool anything = false;    // the record holds a separator or a character
    bool valueOpen = false;   // a value has begun since the last separator
    bool ended = false;
    const auto closeValue = [&] {
        if (values.size() == kMaxExchangeValues)
            tooMany();
        values.append(value);
        value.clear();
        valueOpen = false;
    };
    while (at_ < size) {
        const QChar c = text_[at_];
        if (IsLineEnd(c)) {
            if (c == u'\r' && at_ + 1 == size && !deviceDone_)
                return cutShort();
            ++at_;
            if (c == u'\r' && at_ < size && text_[at_] == u'\n')
                ++at_;
            ++nextLine_;
            recordEnded_ = true;
            ended = true;
            break;
        }
        anything = true;
        if (c == u';') {
            closeValue();
            ++at_;
            continue;
        }
        if (c == u'"' && !valueOpen) {
            // A quoted value: up to the closing quote, across separators and line ends.
            const int quoteLine = nextLine_;
            const int column = int(values.size()) + 1;
            ++at_;
            for (;;) {
                if (at_ >= size) {
                    if (!deviceDone_)
                        return cutShort();
                    throw ExchangeError(QStringLiteral("Wiersz %1, kolumna %2: cudzysłów nie jest zamknięty.")
                                            .arg(quoteLine).arg(column),
                                        quoteLine, column);
                }
                const QChar q = text_[at_++];
                if (q == u'"') {
                    if (at_ >= size && !deviceDone_)
                        return cutShort();
                    if (at_ < size && text_[at_] == u'"') {
                        value.append(u'"');
                        ++at_;
                        continue;
                    }
                    break;
                }
                if (q == u'\r' && at_ >= size && !deviceDone_)
                    return cutShort();
                if (q == u'\n' || (q == u'\r' && (at_ >= size || text_[at_] != u'\n')))
                    ++nextLine_;
                value.append(q);
            }
            valueOpen = true;
            continue;
        }
        value.append(c);
        valueOpen = true;
        ++at_;
    }
    if (!ended && !deviceDone_)
        return cutShort();
    if (!anything)
        return false;
    if (valueOpen)
        closeValue();
    return true;
}

namespace {

QStringList HeaderOf(ExchangeReader &reader)
{
    QStringList names;
    if (!reader.next(names))
        throw ExchangeError(QStringLiteral("Plik jest pusty: brak wiersza z nazwami kolumn."));
    return names;
}

void OpenForReading(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(QStringLiteral("Nie można odczytać pliku : %1").arg(file.fileName()));
}

} // namespace

QStringList ReadExchangeHeader(const QByteArray &bytes)
{
    ExchangeReader reader(bytes);
    return HeaderOf(reader);
}

QStringList ReadExchangeHeaderOf(const QString &path)
{
    QFile file(path);
    OpenForReading(file);
    ExchangeReader reader(file);
    return HeaderOf(reader);
}

QByteArray ReadExchangeFile(const QString &path)
{
    QFile file(path);
    OpenForReading(file);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UnreadableFile(file);
    return bytes;
}
