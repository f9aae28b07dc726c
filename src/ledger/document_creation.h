#pragma once

#include "base/money.h"
#include "ledger/new_document_arguments.h"

#include <QString>
#include <optional>

struct LedgerContext;
class DocumentCommands;
class Table;

// The advance a settlement refers to: the request (WZ) or payout (KW) selected before
// "Rozliczenie RZ".
struct AdvanceReference {
    QString number;  // the printed number (DOWOD)
    QString date;
    QString name;    // ONAZ1
    QString contractor; // ONR
    Money amount;
};

// The creating commands of the documents tab. Each needs an open current report (else
// "Brak otwartego raportu kasowego") and leaves the new document stored and current, its rows
// in TPOZ, for its editor.
class DocumentCreation {
public:
    // startRequest: the program was started with "nowy": every KP, KW, KPD and KWD created while
    // it runs takes the requested values.
    DocumentCreation(LedgerContext &context, DocumentCommands &documents,
                     std::optional<NewDocumentRequest> startRequest = std::nullopt);

    // "Wpłata KP", "Wypłata KW", "Dowolna wpłata", "Dowolna wypłata" (KP, KW, KPD, KWD).
    bool createReceiptOrPayout(const QString &kind);
    // "Wniosek WZ".
    bool createAdvanceRequest();
    // "Rozliczenie RZ": with a reference, the settlement starts from that advance (its number,
    // date, person and amount), so it shows the whole advance to return.
    bool createSettlement(const std::optional<AdvanceReference> &reference);

    // The current document of the list as an advance, when it is a WZ or a KW.
    static std::optional<AdvanceReference> advanceReferenceOf(const Table &headers);

    const std::optional<NewDocumentRequest> &startRequest() const { return startRequest_; }

private:
    LedgerContext &context_;
    DocumentCommands &documents_;
    std::optional<NewDocumentRequest> startRequest_;
};
