#pragma once

#include "base/money.h"

struct LedgerContext;
class DocumentFilters;

// The amount of a document follows its lines: after every line is stored or deleted the header
// takes their sum (KWOTA; for a settlement KWOTAP, the expenses, from which the settlement
// follows). KP, KW, KPD and KWD count the header's own first line, WZ and RZ their line rows only.
class DocumentTotals {
public:
    explicit DocumentTotals(LedgerContext &context);

    // The sum of the current document's lines as its kind counts them; TPOZ keeps its row.
    // nullopt when it lies beyond the largest amount.
    std::optional<Money> linesSum();
    // Stores the sum in the current header (TNAG) and reads the header again.
    void recompute();

    // Commands that move lines between numbers hold the rule off while they work.
    class Detached {
    public:
        explicit Detached(DocumentTotals &totals) : totals_(totals) { ++totals_.detached_; }
        ~Detached() { --totals_.detached_; }
        Detached(const Detached &) = delete;
        Detached &operator=(const Detached &) = delete;

    private:
        DocumentTotals &totals_;
    };
    bool detached() const { return detached_ > 0; }

private:
    LedgerContext &context_;
    int detached_ = 0;
};
