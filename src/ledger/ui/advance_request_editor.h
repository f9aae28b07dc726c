#pragma once

#include "ledger/ui/document_editor.h"

class QGroupBox;
class QPushButton;

// "Dokument" for a request for a cash advance (WZ): the employee, his job, and the items the
// advance is for, any number of them.
class TKASAF14 final : public DocumentEditor {
    Q_OBJECT

public:
    TKASAF14(const DocumentEditorServices &services, QWidget *parent = nullptr);

    // "Zapisz": lines, the header with the first item's text, numbering view; closes.
    void saveAndRefresh();

    QGroupBox *RequestGroup;
    TableFieldEdit *EmployeeNumberEdit;
    TableFieldEdit *Name1Edit;
    TableFieldEdit *Name2Edit;
    TableFieldEdit *JobTitleEdit;
    QPushButton *SaveButton;

protected:
    void prepare() override;
    bool mayClose() override;

private:
    QGroupBox *buildRequestGroup();
};
