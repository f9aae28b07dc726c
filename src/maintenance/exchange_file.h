#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

class QBuffer;
class QIODevice;
class QStringDecoder;

// At most this many values stand in one line of an exchange file.
inline constexpr int kMaxExchangeValues = 100;

// What stops the reading or the import of a file: the Polish message, and where it was found
// (line and column count from 1; 0 when the fault is not in one place).
class ExchangeError : public std::runtime_error {
public:
    explicit ExchangeError(const QString &message, int line = 0, int column = 0)
        : std::runtime_error(message.toStdString()), message_(message), line_(line), column_(column)
    {
    }
    const QString &message() const { return message_; }
    int line() const { return line_; }
    int column() const { return column_; }

private:
    QString message_;
    int line_;
    int column_;
};

// The lines of an exchange file, one record at a time, read in a stream: only the record being
// read and a piece of the file stay in memory, whatever the file's size.
//
// A file that is well-formed UTF-8 (with or without a byte-order mark) is read as UTF-8, any
// other as Windows-1250. A line ends with CR LF, LF or CR. The values of a line are separated by
// tabs; a file whose first line holds no tab but holds semicolons is read as a spreadsheet's
// CSV: ";" between values, a value in double quotes may hold ";", line breaks and doubled quotes.
// A separator at the very end of a line closes the last value (the program's own files end every
// value with a tab), so a line with or without it gives the same values. Empty lines are skipped.
class ExchangeReader {
public:
    static constexpr qsizetype kPieceBytes = 1 << 20;

    explicit ExchangeReader(const QByteArray &bytes);
    // Reads the device from where it stands: once through to learn its encoding and its lines,
    // then record by record; the device must be able to go back to where it stood. pieceBytes is
    // how much it reads at a time.
    explicit ExchangeReader(QIODevice &device, qsizetype pieceBytes = kPieceBytes);
    ~ExchangeReader();
    ExchangeReader(const ExchangeReader &) = delete;
    ExchangeReader &operator=(const ExchangeReader &) = delete;

    bool isSemicolonFile() const { return semicolons_; }
    bool readsAsUtf8() const { return utf8_; }

    // The next record's values; false at the end of the file. line() is then the line the
    // record began on. Throws ExchangeError for more than kMaxExchangeValues values, an
    // unclosed quote or a file that cannot be read.
    bool next(QStringList &values);
    int line() const { return recordLine_; }
    // False for a last record the file ends in without its line end (a file cut off there).
    bool recordEnded() const { return recordEnded_; }
    // Lines in the file (the last one counts even without its line end).
    int lineCount() const { return lineCount_; }

private:
    void learnTheFile();
    bool readPiece();
    // A record parser gives up (false, short_ set) when the text read so far ends inside the
    // record and more of the file is to come.
    bool nextTabRecord(QStringList &values);
    bool nextSemicolonRecord(QStringList &values);
    void tooMany() const;

    std::unique_ptr<QBuffer> ownBuffer_;
    QIODevice &device_;
    qint64 textStart_ = 0; // where the text begins in the device (after a byte-order mark)
    qsizetype pieceBytes_;
    std::unique_ptr<QStringDecoder> decoder_;
    QString text_;         // the part of the file read and not yet taken
    qsizetype at_ = 0;
    bool deviceDone_ = false;
    bool short_ = false;
    int lineCount_ = 0;
    int nextLine_ = 1;
    int recordLine_ = 0;
    bool utf8_ = false;
    bool semicolons_ = false;
    bool recordEnded_ = false;
};

// The column names of the file's first line; throws ExchangeError when the file is empty.
QStringList ReadExchangeHeader(const QByteArray &bytes);
// The same read from the file at the path, which is read in a stream.
QStringList ReadExchangeHeaderOf(const QString &path);

// Reads the whole file; throws ExchangeError naming it when it cannot be read.
QByteArray ReadExchangeFile(const QString &path);
