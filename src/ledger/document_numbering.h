#pragma once

#include <QString>

struct LedgerContext;

// Document numbers: each kind has its own sequence, which runs through the desk's year, through
// one report, or through every desk (P2). A new document takes the highest number of its
// sequence plus one, so the gap a deleted document leaves is reused only at the top.
//
// The numbering view KNAG holds the sequence as SQL conditions in its NRD order, so finding the
// highest number is one step through an index whatever the size of the year.
class DocumentNumbering {
public:
    explicit DocumentNumbering(LedgerContext &context);

    int nextNumber(const QString &desk, int report, const QString &kind);
    // KNAG back in its NRD order with the sequence of the current desk, report and BiezacyRD,
    // without a range; the commands that borrow KNAG call it when they are done.
    void restoreNumberingView();

private:
    void showSequence(const QString &desk, int report, const QString &kind);

    LedgerContext &context_;
};
