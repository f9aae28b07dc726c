#pragma once

#include "base/money.h"
#include "print/document_print_texts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Table;
class TDRUK;

// The company's name and address printed in the corner of a document.
struct CompanyStamp {
    QString name1;
    QString name2;
    QString street;
    QString number;
    QString unit;
    QString postalCode;
    QString postOffice;
};

// The company row (FIRMA).
CompanyStamp CompanyStampOf(const Table &company);

// A KP, KPD, KW or KWD document as its text layout shows it.
struct DocumentText {
    QString kind;       // RD
    QString number;     // the printed document number (DOWOD)
    QString date;       // DATA
    QString name1;      // contractor: ONAZ1, ONAZ2, street OUL, postal code OKOD, town OMIEJSC
    QString name2;
    QString street;
    QString postalCode;
    QString town;
    Money amount;       // KWOTA
    QString report;     // the report's number (NUMER)
    QString place;      // the place in the report (POZ)
    DocumentAmountTexts texts;
    QList<PositionRow> positions;      // only the first seven are printed
    std::optional<CompanyStamp> stamp; // nothing: blanks in its place
};

// The 27 lines of the document, 78 characters wide (the first line of a payout is shorter).
// A document whose kind does not begin with "KP" is a payout.
QStringList DocumentTextLines(const DocumentText &document);

// The table objects a document is read from: its header row (the documents view, current row),
// its positions view, the desk (for its currency), the currency dictionary, the company row and
// the parameter row (the company stamp is printed when the print options say so).
struct DocumentTextSources {
    const Table &header;
    Table &positions;
    const Table &desk;
    const Table &currencies;
    const Table &company;
    const Table &parameters;
};

DocumentText ReadDocumentText(const DocumentTextSources &sources);

// "Wydruk dokumentu": the lines through the print module, printed at once (no preview, no
// footer).
void PrintDocumentText(TDRUK &druk, const DocumentText &document);
