#pragma once

struct LedgerContext;
class CashState;

// The rules of the report table TRKASA, whatever window edits it: a report needs a number of its
// own within its desk, a report with documents cannot be deleted, a closed report cannot be
// edited (only "Otwórz" may), and every stored change shows the cash state again.
class CashReportRules {
public:
    CashReportRules(LedgerContext &context, CashState &cashState);
    ~CashReportRules();
    CashReportRules(const CashReportRules &) = delete;
    CashReportRules &operator=(const CashReportRules &) = delete;

    // While on, a closed report may be put into edit ("Otwórz" reopens it so).
    void setClosedReportEditable(bool editable) { closedReportEditable_ = editable; }

private:
    void beforePost();
    void checkDates();
    void beforeEdit();
    void beforeDelete();
    void beforeWrite();
    void afterScroll();

    LedgerContext &context_;
    CashState &cashState_;
    bool closedReportEditable_ = false;
};
