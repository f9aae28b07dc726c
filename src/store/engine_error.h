#pragma once

#include <QString>
#include <stdexcept>

// What went wrong in the table engine. The program reacts to the kind (a key violation becomes
// its own warning, a locked table a retry hint) and shows the message where it has nothing better.
enum class EngineErrorKind {
    KeyViolation, // a unique or primary index already holds the key
    Locked,       // another program holds the table (or its lock) longer than we wait
    Missing,      // the table file, a row or an index is not there
    Damaged,      // the file is not a table or its content is broken
    Unreachable,  // the database server cannot be reached: nothing is wrong with the tables
    Other,        // everything else: unknown field, wrong state, bad value, failed write
};

class EngineError : public std::runtime_error {
public:
    EngineError(EngineErrorKind kind, const QString &message)
        : std::runtime_error(message.toStdString()), kind_(kind), message_(message)
    {
    }

    EngineErrorKind kind() const { return kind_; }
    const QString &message() const { return message_; }

private:
    EngineErrorKind kind_;
    QString message_;
};

// Thrown by a rule that refuses an operation after it has said why (or silently): the operation
// is abandoned and the command boundary swallows the exception.
struct Abort {};
