#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class PreviewView;
class TDRUK;

// "Moduł wydruku": the print settings and the preview of the last job. Every control writes
// its setting at once; "DRUKUJ" prints the preview, or the lines selected in it, to the chosen
// target; "ZAPISZ USTAWIENIA" keeps the settings for the next start.
class TDRUKF final : public QDialog {
    Q_OBJECT

public:
    // setupPrinter is the printer the setup button configures; without it the button is off.
    explicit TDRUKF(TDRUK &druk, QPrinter *setupPrinter = nullptr, QWidget *parent = nullptr);

    // The settings, modally (menu "Parametry wydruku").
    int showSettings();
    // The preview of the job that just ended, without blocking the program.
    void showPreview();

    // Prints the selection of the preview, or all of it when nothing is selected ("DRUKUJ").
    void BitBtnDrukujClick();

    QRadioButton *WindowsTarget;
    QComboBox *PrinterList;
    QPushButton *PrinterSetupButton;
    QRadioButton *DosTarget;
    QComboBox *PortList;
    QLineEdit *DeviceEdit;
    QRadioButton *ExportTarget;
    QRadioButton *NoCuttingTarget;
    QCheckBox *TextFileCheck;
    QComboBox *DensityChoice;
    QComboBox *LetterChoice;
    QLineEdit *TopMarginEdit;
    QLineEdit *LeftMarginEdit;
    QLineEdit *LinesEdit;
    QCheckBox *PageDivisionCheck;
    QCheckBox *DirectCheck;
    QPushButton *PrintButton;
    QPushButton *SaveButton;
    QPushButton *SheetButton; // the listing as a spreadsheet
    PreviewView *Preview;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildWindowsGroup();
    QWidget *buildDosGroup();
    QWidget *buildExportGroup();
    QWidget *buildOptions();
    void connectControls();
    void connectCountEdit(QLineEdit *edit, int &field);
    // Sets every control from the module's fields.
    void showFields();
    void fillPrinterList();
    void openPrinterSetup();

    TDRUK &druk_;
    QPrinter *setupPrinter_;
    QButtonGroup *targets_;
    // Set while the controls are filled from the fields, so they do not write back.
    bool showingFields_ = false;
};
