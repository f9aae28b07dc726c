#pragma once

struct LedgerContext;
class DocumentNumbering;
class DocumentTotals;
class NumberChangeDialog;

// "Zmiana numeru dokumentu": the current document takes a number the user types, with its lines
// and its amount, unless a document of the same kind in the same report already has it.
class NumberChange {
public:
    NumberChange(LedgerContext &context, DocumentNumbering &numbering, DocumentTotals &totals);

    void changeNumber(NumberChangeDialog &dialog);

private:
    bool numberTaken(int number);
    void moveTo(int number);

    LedgerContext &context_;
    DocumentNumbering &numbering_;
    DocumentTotals &totals_;
};
