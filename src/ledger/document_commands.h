#pragma once

#include <QString>

struct LedgerContext;
class DocumentFilters;

// Creating and deleting documents: the shared steps of the creating commands and "Kasuj" on the
// documents tab.
class DocumentCommands {
public:
    DocumentCommands(LedgerContext &context, DocumentFilters &filters);

    // BiezacyRD := kind, and the description view shows that kind's descriptions.
    void setCurrentKind(const QString &kind);
    // The creating commands need an open current report: otherwise "Brak otwartego raportu
    // kasowego" and false.
    bool requireOpenReport();
    // Appends a header of the kind after the report's last place, dated today, in the working
    // year, without a number yet; the caller fills it and posts it (postHeader), which numbers it.
    // Refused (Abort) when the current report is not open.
    void createHeader(const QString &kind);
    // Posts the header (numbering a new one) and shows its rows in TPOZ.
    void postHeader();
    // "Kasuj": after the user agrees, the current document with all its lines, at once.
    void deleteDocument();
    // The current document with all its lines, at once, without asking.
    void removeCurrentDocument();

private:
    LedgerContext &context_;
    DocumentFilters &filters_;
};
