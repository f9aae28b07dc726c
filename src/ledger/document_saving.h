#pragma once

struct LedgerContext;

// The save commands of the document editors. A post refused by a rule or failed in the engine
// stops the command (Abort) after its message, and the editor stays open.
class DocumentSaving {
public:
    explicit DocumentSaving(LedgerContext &context);

    // The pending line, then the header, each stored at once.
    void saveLinesAndHeader();
    // The same, the header first taking the text of the first line (a WZ or RZ lists its first
    // expense or item in the document list).
    void saveWithFirstLineText();
    // Shows the new numbers in the numbering view.
    void refreshNumbering();
    // True when the header or a line has changes not yet stored.
    bool hasUnsavedChanges() const;
    // Drops the changes not yet stored.
    void discardChanges();
    // True when a line of the current document is stored: a line row, or the header's own first
    // line (its text or amount), as a receipt or payout keeps it.
    bool hasStoredLines();

private:
    LedgerContext &context_;
};
