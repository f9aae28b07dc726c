#pragma once

struct LedgerContext;

// The record filters of the document and description views. Each is said as conditions the
// engine hands to SQLite, so a filtered view reads only its own rows through an index.
class DocumentFilters {
public:
    explicit DocumentFilters(LedgerContext &context);

    // TNAG: header rows only; while FiltrMiesiaca is set, only those dated in that month.
    void applyHeaderFilter();
    // TPOZ: every row of the document, or (while the WZ or RZ editor is open) its line rows only.
    void setLineRowsOnly(bool on);
    bool lineRowsOnly() const { return lineRowsOnly_; }
    // TSLO: the descriptions of the current kind (first two letters of BiezacyRD, so KPD and KWD
    // documents see the KP and KW descriptions).
    void applyDescriptionFilter();

private:
    LedgerContext &context_;
    bool lineRowsOnly_ = false;
};
