#pragma once

#include "contractors/envelope_margins.h"
#include "print/report_form.h"

#include <QString>
#include <memory>

class Table;

// The envelope form "Etykieta": the five address lines of a contractor row in one band on a
// landscape "Note" page, top and left margins as given.
std::unique_ptr<ReportForm> CreateEnvelopeForm(const FormRecord &contractor);
void ApplyEnvelopeMargins(ReportForm &form, const EnvelopeMargins &margins);

// "Adresowanie kopert": the current contractor's envelope goes straight to the printer. The form
// is made on the first print and kept, with the margins it last printed with; before each print
// the margins are read from "Margines.dan" when it holds sensible ones.
class EnvelopePrintout {
public:
    EnvelopePrintout(const Table &contractors, FormOutput &output, QString marginsFile);
    ~EnvelopePrintout();

    void print();
    // The form, once printed.
    ReportForm *form() const { return form_.get(); }

private:
    FormOutput &output_;
    QString marginsFile_;
    std::unique_ptr<TableRecord> contractor_;
    std::unique_ptr<ReportForm> form_;
    EnvelopeMargins margins_;
};
