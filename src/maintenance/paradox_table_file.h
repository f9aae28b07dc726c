#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <stdexcept>

// One table file of the old installation (".DB", with its memo file ".MB" beside it when the
// table has memo fields), read through pxlib and never written: the files are opened for reading
// only, and the old index files are not looked at.

// The kinds of field the old tables use; any other kind in a header refuses the table.
enum class ParadoxFieldKind {
    Alpha,
    Date,
    Short,
    Long,
    Currency,
    Number,
    Logical,
    Memo,
    AutoIncrement,
};

struct ParadoxField {
    QString name;
    ParadoxFieldKind kind = ParadoxFieldKind::Alpha;
    int length = 0; // bytes in the record: characters of an alpha field, the kept part of a memo + 10
};

// A table that cannot be read: the message names the file and what is wrong with it.
class ParadoxFileError : public std::runtime_error {
public:
    explicit ParadoxFileError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

class ParadoxTableFile {
public:
    // Opens the file and checks its header, its length against the header and, for a table with
    // memo fields, that its memo file is there. Throws ParadoxFileError.
    explicit ParadoxTableFile(const QString &path);
    ~ParadoxTableFile();
    ParadoxTableFile(const ParadoxTableFile &) = delete;
    ParadoxTableFile &operator=(const ParadoxTableFile &) = delete;

    const QString &path() const { return path_; }
    const QList<ParadoxField> &fields() const { return fields_; }
    int fieldIndex(const QString &name) const; // names compared without regard to case; -1 when absent
    int rowCount() const;
    // How many leading fields make the table's primary key (0: none).
    int keyFieldCount() const;

    // The values of row `row` (from 0), one per field: invalid for an empty field, QString for
    // alpha and memo (decoded from Windows-1250), qint64 for the integers, double for currency
    // and number, bool for logical, QDate for a date (an invalid QDate for a day number that is
    // no calendar date). Throws ParadoxFileError naming the row and the field that failed.
    QList<QVariant> row(int row);
    // The same for the fields at the given positions only, in their order.
    QList<QVariant> row(int row, const QList<int> &fields);

private:
    struct Handles;
    QString path_;
    QList<ParadoxField> fields_;
    QList<int> offsets_;
    std::unique_ptr<Handles> handles_;
};
