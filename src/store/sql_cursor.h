#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// How a value is stored, whichever back end holds it.
enum class StoredKind { Null, Integer, Float, Text, Bytes };

// One prepared statement of a back end: bound values in, rows stepped out. The engine reaches
// it only through SqlStatement.
class SqlCursor {
public:
    virtual ~SqlCursor() = default;

    virtual void bindNull(int position) = 0;
    virtual void bindInteger(int position, qint64 value) = 0;
    virtual void bindFloat(int position, double value) = 0;
    virtual void bindText(int position, const QByteArray &utf8) = 0;
    virtual void bindBytes(int position, const QByteArray &bytes) = 0;
    // The text stays the caller's and must outlive the statement's run.
    virtual void bindBorrowedText(int position, const char *utf8, qsizetype size) = 0;

    // True while a row is available; throws EngineError on failure.
    virtual bool step() = 0;
    // Ready to bind and run again, every value unbound.
    virtual void reset() = 0;

    virtual int columnCount() const = 0;
    virtual StoredKind kind(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double floating(int column) const = 0;
    virtual QString text(int column) const = 0;
    // A text value's UTF-8 bytes, valid until the next step: no copy for passing it on.
    virtual QByteArrayView utf8(int column) const = 0;
    virtual QVariant value(int column) const = 0;

    // Rows the last run inserted, changed or deleted; the row id of the row it inserted.
    virtual qint64 changes() const = 0;
    virtual qint64 insertedRowId() const = 0;
};
