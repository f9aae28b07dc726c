#pragma once

#include "print/document_forms.h"
#include "print/document_text_layout.h"
#include "print/report_form.h"
#include "store/table.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class TDRUK;

// Where a document printout was asked for: the documents list or the document's editor. The two
// read the print options a little differently.
enum class PrintOrigin { List, Editor };

// What one document prints: a form (shown in the preview, or printed so many times), the text
// layout, or nothing.
struct DocumentPrintChoice {
    std::optional<DocumentFormId> form;
    bool text = false;
    bool preview = false;
    int copies = 1; // times printed when not previewed

    friend bool operator==(const DocumentPrintChoice &, const DocumentPrintChoice &) = default;
};

// The choice by the document's kind and the print options P2 (characters 2 and 5; a missing
// character is a space). Kinds other than KP, KPD, KW, KWD, RZ and WZ print nothing.
DocumentPrintChoice ChooseDocumentPrintout(const QString &kind, const QString &printOptions, PrintOrigin origin);

// Fills the forms of the document's kind from its prepared texts and position table: every form
// of the kind, whichever is output. For a settlement, OKOD ("+": returned, else paid out)
// chooses the settlement caption and which amount shows.
void FillDocumentForms(DocumentForms &forms, const DocumentText &document, const QString &settlementSign);

// The tables a document printout reads; the documents view is moved to each printed document and
// brought back to its row afterwards.
struct DocumentPrintTables {
    Table &header;           // TNAG
    Table &positions;        // TPOZ, the detail of TNAG
    const Table &desk;       // TKASA
    const Table &currencies; // TWALUTA
    const Table &company;    // TFIRMA
    const Table &parameters; // TPARA
    const Table &report;     // TRKASA
};

class DocumentPrintout {
public:
    // textPrinter gives the print module for the text layout (nothing: the layout is skipped).
    DocumentPrintout(const DocumentPrintTables &tables, FormOutput &output, std::function<TDRUK *()> textPrinter);

    // Every listed document in the order given; with none listed, the current document. Nothing
    // happens when the list is empty.
    void printFromList(const QList<Bookmark> &documents);
    // The document open in an editor.
    void printFromEditor(const Bookmark &document);

    DocumentForms &forms() { return forms_; }

private:
    void printCurrent(PrintOrigin origin);
    void printEach(const QList<Bookmark> &documents, PrintOrigin origin);

    DocumentPrintTables tables_;
    FormOutput &output_;
    std::function<TDRUK *()> textPrinter_;
    TableRecord headerRecord_;
    TableRecord reportRecord_;
    TableRecord companyRecord_;
    DocumentForms forms_;
};
