#pragma once

struct LedgerContext;
class CashState;
class DocumentNumbering;

// The rules of the document header view TNAG, whatever window edits it: a posted header is a
// header and gets the next number of its kind's sequence when it has none; every stored header
// shows the cash state again; the receipt and payout columns and the printed number are
// computed per row; a settlement's result follows its advance and expenses; a document's date is
// a date of the books, and one outside its report's days is asked about.
class DocumentRules {
public:
    DocumentRules(LedgerContext &context, DocumentNumbering &numbering, CashState &cashState);
    ~DocumentRules();
    DocumentRules(const DocumentRules &) = delete;
    DocumentRules &operator=(const DocumentRules &) = delete;

private:
    void beforePost();
    void checkDate();
    void beforeWrite();
    void calculateFields();
    void settle();

    LedgerContext &context_;
    DocumentNumbering &numbering_;
    CashState &cashState_;
};
