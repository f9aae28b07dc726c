#include "maintenance/exchange_file.h"

#include "maintenance/exchange_text.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

ExchangeReader::ExchangeReader(const QByteArray &bytes)
{
    QByteArray content = bytes;
    const bool bom = content.startsWith("\xEF\xBB\xBF");
    if (bom)
        content.remove(0, 3);
    if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF") || content.left(200).contains('\0'))
        throw ExchangeError(QStringLiteral("Plik w kodowaniu UTF-16 nie może być odczytany. Zapisz go w kodowaniu UTF-8 "
                                           "lub Windows-1250."));
    const Utf8Scan scan = ScanUtf8(content);
    utf8_ = scan.firstInvalid < 0;
    // Windows-1250 letters make many bytes that UTF-8 cannot read and only now and then one that
    // it can; a file mostly of UTF-8 letters with a byte that breaks it is neither.
    if (!utf8_ && (bom || scan.multibyteLetters > scan.invalidBytes)) {
        const int line = int(content.left(scan.firstInvalid).count('\n')) + 1;
        throw ExchangeError(QStringLiteral("Plik nie jest ani w kodowaniu UTF-8, ani Windows-1250: wiersz %1 ma znak, "
                                           "którego UTF-8 nie odczytuje. Nic nie zostało zaimportowane.")
                                .arg(line),
                            line, 0);
    }
    text_ = utf8_ ? QString::fromUtf8(content) : DecodeWindows1250(content);
    qsizetype end = 0;
    while (end < text_.size() && !IsLineEnd(text_[end]))
        ++end;
    const QStringView first = QStringView(text_).left(end);
    semicolons_ = !first.contains(u'\t') && first.contains(u';');
}

bool ExchangeReader::next(QStringList &values)
{
    for (;;) {
        values.clear();
        if (at_ >= text_.size())
            return false;
        recordEnded_ = false;
        recordLine_ = nextLine_;
        const bool read = semicolons_ ? nextSemicolonRecord(values) : nextTabRecord(values);
        if (!read)
            continue; // an empty line
        return true;
    }
}

int ExchangeReader::lineCount() const
{
    int lines = 0;
    for (qsizetype i = 0; i < text_.size(); ++i) {
        if (text_[i] == u'\n' || (text_[i] == u'\r' && (i + 1 == text_.size() || text_[i + 1] != u'\n')))
            ++lines;
    }
    if (!text_.isEmpty() && !IsLineEnd(text_.back()))
        ++lines;
    return lines;
}

void ExchangeReader::tooMany() const
{
    throw ExchangeError(QStringLiteral("Wiersz %1 ma więcej niż %2 wartości.").arg(recordLine_).arg(kMaxExchangeValues),
                        recordLine_, kMaxExchangeValues + 1);
}

bool ExchangeReader::nextTabRecord(QStringList &values)
{
    qsizetype end = at_;
    while (end < text_.size() && !IsLineEnd(text_[end]))
        ++end;
    const QStringView line = QStringView(text_).sliced(at_, end - at_);
    at_ = end;
    recordEnded_ = at_ < text_.size();
    if (at_ < text_.size() && text_[at_++] == u'\r' && at_ < text_.size() && text_[at_] == u'\n')
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
    QString value;
    bool anything = false;    // the record holds a separator or a character
    bool valueOpen = false;   // a value has begun since the last separator
    const auto closeValue = [&] {
        if (values.size() == kMaxExchangeValues)
            tooMany();
        values.append(value);
        value.clear();
        valueOpen = false;
    };
    while (at_ < text_.size()) {
        const QChar c = text_[at_];
        if (IsLineEnd(c)) {
            ++at_;
            if (c == u'\r' && at_ < text_.size() && text_[at_] == u'\n')
                ++at_;
            ++nextLine_;
            recordEnded_ = true;
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
                if (at_ >= text_.size())
                    throw ExchangeError(QStringLiteral("Wiersz %1, kolumna %2: cudzysłów nie jest zamknięty.")
                                            .arg(quoteLine).arg(column),
                                        quoteLine, column);
                const QChar q = text_[at_++];
                if (q == u'"') {
                    if (at_ < text_.size() && text_[at_] == u'"') {
                        value.append(u'"');
                        ++at_;
                        continue;
                    }
                    break;
                }
                if (q == u'\n' || (q == u'\r' && (at_ >= text_.size() || text_[at_] != u'\n')))
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
    if (!anything)
        return false;
    if (valueOpen)
        closeValue();
    return true;
}

QStringList ReadExchangeHeader(const QByteArray &bytes)
{
    ExchangeReader reader(bytes);
    QStringList names;
    if (!reader.next(names))
        throw ExchangeError(QStringLiteral("Plik jest pusty: brak wiersza z nazwami kolumn."));
    return names;
}

QByteArray ReadExchangeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(QStringLiteral("Nie można odczytać pliku : %1").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ExchangeError(QStringLiteral("Nie można odczytać pliku : %1").arg(path));
    return bytes;
}
