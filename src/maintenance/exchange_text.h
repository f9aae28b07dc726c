#pragma once

#include "store/table_definition.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

// The text form of a field's value in an exchange file, the same both ways:
// - texts and memos as they are, an empty field as an empty text;
// - integers in plain digits with "-" before a negative one;
// - money with "," before at least two and at most four decimals and no grouping ("-1234,50",
//   "0,0001");
// - floats in the shortest form that reads back to the same number, with "," as the decimal
//   separator;
// - logical fields as "Tak" or "Nie" (on reading also "True"/"False", "T"/"F" and "1"/"0", which
//   older files hold);
// - dates as the program shows them, YYYY.MM.DD.

// A field as the exchange reads and writes it.
struct ExchangeField {
    FieldDef def;
    bool isDate = false; // a text field that holds a date
    // With a date: the latest year a date of the books may have (the earliest is 1990); 0 takes
    // any real day.
    int latestYear = 0;
};

// The text of a stored value (before the file's cleaning of tabs and line breaks).
QString ExchangeText(const FieldDef &field, const QVariant &stored);

// The text of a value stored as an integer in a field of a type stored so (money in its units, a
// logical field as 0 or 1), into out (at least kExchangeNumberRoom characters); its length, 0
// for a field of another type.
inline constexpr int kExchangeNumberRoom = 32;
int ExchangeNumberText(FieldType type, qint64 stored, char *out);

// A value of a line as written into the file: every tab becomes ":", CR and LF go.
QString CleanExchangeValue(const QString &text);

// The value cleaned so, appended to out in Windows-1250; false, with the position in the text of
// the first character the code page cannot hold in badAt, when it cannot be written.
bool AppendCleanWindows1250(QByteArray &out, QStringView text, qsizetype &badAt);

// The program's value for a value read from a file (invalid for an empty field), or the reason
// why the field cannot take it, in Polish, in problem.
QVariant ParseExchangeValue(const ExchangeField &field, const QString &text, QString &problem);

// Windows-1250, the code page of the files the suite exchanges. Encoding stops at the first
// character the code page cannot hold and gives its position in badAt (-1 when all went well).
QByteArray EncodeWindows1250(const QString &text, qsizetype &badAt);
QString DecodeWindows1250(const QByteArray &bytes);

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray &bytes);

// How the bytes read as UTF-8: where the first byte that breaks it lies (-1 when none does) and
// on which line (counting LF, from 1), and how many such bytes and well-formed letters of more
// than one byte there are in the whole.
struct Utf8Scan {
    qsizetype firstInvalid = -1;
    int firstInvalidLine = 0;
    int invalidBytes = 0;
    int multibyteLetters = 0;
};
Utf8Scan ScanUtf8(const QByteArray &bytes);

// The same scan over bytes that come a piece at a time (a file read in a stream): a letter cut
// between two pieces is read whole with the next one.
class Utf8Scanner {
public:
    void feed(QByteArrayView piece);
    // After the last piece: a letter left cut short breaks the text.
    Utf8Scan finish();

private:
    void scan(const unsigned char *start, const unsigned char *end, bool last);

    Utf8Scan scan_;
    QByteArray carried_; // the start of a letter the last piece ended in
    qsizetype offset_ = 0; // of the first byte not yet scanned
    int lines_ = 1;
};
