#pragma once

#include "ledger/ui/document_editor.h"

class QGroupBox;
class QPushButton;

// "Dokument" for receipts and payouts (KP, KW, and KPD, KWD whose number the user types): the
// contractor, up to seven lines (the header's own first line among them), saving. A document of
// a closed report is shown read-only.
class TKASAF1 final : public DocumentEditor {
    Q_OBJECT

public:
    TKASAF1(const DocumentEditorServices &services, QWidget *parent = nullptr);

    // "Zapisz" in the contractor group: lines, header, numbering view; closes.
    void saveAndRefresh();

    QGroupBox *ContractorGroup;
    TableFieldEdit *ContractorNumberEdit;
    TableFieldEdit *TaxNumberEdit;
    TableFieldEdit *Name1Edit;
    TableFieldEdit *Name2Edit;
    TableFieldEdit *StreetEdit;
    TableFieldEdit *PostalCodeEdit;
    TableFieldEdit *TownEdit;
    QPushButton *SaveButton;

protected:
    void prepare() override;
    // Unsaved changes of the header or a line: "Czy zapisać zmiany ?".
    bool mayClose() override;

private:
    QGroupBox *buildContractorGroup();
};
