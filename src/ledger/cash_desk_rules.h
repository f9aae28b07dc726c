#pragma once

struct LedgerContext;
class CashState;

// The rules of the cash-desk table TKASA, whatever window edits it: a desk needs a symbol of its
// own, and a desk with reports cannot be deleted. Moving to another desk shows its cash state
// and makes its last report the current one.
class CashDeskRules {
public:
    CashDeskRules(LedgerContext &context, CashState &cashState);
    ~CashDeskRules();
    CashDeskRules(const CashDeskRules &) = delete;
    CashDeskRules &operator=(const CashDeskRules &) = delete;

    // "Słownik kas" asks before its own delete: false (after an error) when the desk has reports.
    bool mayDeleteFromDictionary();

private:
    void beforePost();
    void beforeDelete();
    void beforeWrite();
    void afterScroll();

    LedgerContext &context_;
    CashState &cashState_;
};
