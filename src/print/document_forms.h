#pragma once

#include "print/report_form.h"

#include <QChar>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class Table;

// The eight forms cash documents print on: three for receipts (KP, KPD), three for payouts (KW,
// KWD), the advance settlement (RZ) and the advance request (WZ).
enum class DocumentFormId {
    TKasaR11, // receipt, one copy
    TKasaR1,  // receipt, original and copy on one page
    TKasaR41, // receipt, three copies on one page
    TKasaR31, // payout, one copy
    TKasaR3,  // payout, original and copy (the copy at the bottom of the page)
    TKasaR32, // payout, three copies on one page
    TKasar5,  // advance settlement, with its copy when the print options ask for it
    TKasar6,  // advance request
};

QString DocumentFormName(DocumentFormId id);

// The small line at the foot of every copy, naming the program.
extern const QString kFormSoftwareLine;

// Where the forms' data-bound elements read: the document header (TNAG), the report (TRKASA)
// and the company (FIRMA), each at its current row; and the print options (P2), read when a
// form prints.
struct DocumentFormSources {
    const FormRecord &header;
    const FormRecord &report;
    const FormRecord &company;
    std::function<QChar(int position)> printOption;
};

// Builds one form. Its report hook switches the company stamp by character 3 of the print
// options (and the settlement's copy by character 4); the hook of each band holding a copy
// composes that copy's street label from the company's ULICA, NUMER and LOKAL.
std::unique_ptr<ReportForm> CreateDocumentForm(DocumentFormId id, const DocumentFormSources &sources);

// The forms of one run, created on first use and kept.
class DocumentForms {
public:
    explicit DocumentForms(DocumentFormSources sources) : sources_(std::move(sources)) {}
    ReportForm &form(DocumentFormId id);

private:
    DocumentFormSources sources_;
    std::map<DocumentFormId, std::unique_ptr<ReportForm>> forms_;
};

// The company's street line as the stamp shows it: ULICA + " " + NUMER + " " + LOKAL.
QString CompanyStreetLine(const FormRecord &company);
