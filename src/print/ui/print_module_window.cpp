#include "print/ui/print_module_window.h"

#include "print/listing_sheet_files.h"
#include "print/system_printer_port.h"
#include "print/text_print_module.h"
#include "print/ui/preview_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QLineEdit *TwoDigitEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(2);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    return edit;
}

QComboBox *Choice(QWidget *parent, const QString &name, const QStringList &entries)
{
    auto *choice = new QComboBox(parent);
    choice->setObjectName(name);
    choice->addItems(entries);
    return choice;
}

// The preview shows the last job in the font the printouts were laid out for.
QFont PreviewFontAfterJob()
{
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

TDRUKF::TDRUKF(TDRUK &druk, QPrinter *setupPrinter, QWidget *parent)
    : QDialog(parent), druk_(druk), setupPrinter_(setupPrinter), targets_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("TDRUKF"));
    setWindowTitle(QStringLiteral("Moduł wydruku"));

    Preview = new PreviewView(druk_.preview(), this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto *targets = new QHBoxLayout;
    targets->addWidget(buildWindowsGroup(), 3);
    targets->addWidget(buildDosGroup(), 2);
    targets->addWidget(buildExportGroup(), 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(targets);
    layout->addWidget(buildOptions());
    layout->addWidget(Preview, 1);
    resize(900, 600);

    targets_->setExclusive(true);
    targets_->addButton(WindowsTarget, drWINDOWS);
    targets_->addButton(DosTarget, drDOS);
    targets_->addButton(ExportTarget, drEKSPORT);
    targets_->addButton(NoCuttingTarget, drBW);
    fillPrinterList();
    connectControls();
    showFields();
}

QWidget *TDRUKF::buildWindowsGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Wydruk WINDOWS"), this);
    WindowsTarget = new QRadioButton(group);
    WindowsTarget->setObjectName(QStringLiteral("WindowsTarget"));
    PrinterList = Choice(group, QStringLiteral("PrinterList"), {});
    PrinterList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    PrinterList->setMinimumContentsLength(16);
    PrinterSetupButton = new QPushButton(QStringLiteral("..."), group);
    PrinterSetupButton->setObjectName(QStringLiteral("PrinterSetupButton"));
    PrinterSetupButton->setEnabled(setupPrinter_ != nullptr);
    PrinterSetupButton->setFixedWidth(PrinterSetupButton->sizeHint().height() * 3 / 2);
    auto *row = new QHBoxLayout(group);
    row->addWidget(WindowsTarget);
    row->addWidget(new QLabel(QStringLiteral("Drukarka :"), group));
    row->addWidget(PrinterList, 1);
    row->addWidget(PrinterSetupButton);
    return group;
}

QWidget *TDRUKF::buildDosGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Wydruk DOS"), this);
    DosTarget = new QRadioButton(group);
    DosTarget->setObjectName(QStringLiteral("DosTarget"));
    PortList = Choice(group, QStringLiteral("PortList"),
                      {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3")});
    DeviceEdit = new QLineEdit(group);
    DeviceEdit->setObjectName(QStringLiteral("DeviceEdit"));
    auto *grid = new QGridLayout(group);
    grid->addWidget(DosTarget, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Port wydruku :"), group), 0, 1);
    grid->addWidget(PortList, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("urządzenie :"), group), 1, 1);
    grid->addWidget(DeviceEdit, 1, 2);
    return group;
}

QWidget *TDRUKF::buildExportGroup()
{
    auto *group = new QGroupBox(QStringLiteral("EXPORT"), this);
    ExportTarget = new QRadioButton(group);
    ExportTarget->setObjectName(QStringLiteral("ExportTarget"));
    NoCuttingTarget = new QRadioButton(QStringLiteral("Bez wycinania"), group);
    NoCuttingTarget->setObjectName(QStringLiteral("NoCuttingTarget"));
    TextFileCheck = new QCheckBox(QStringLiteral("Plik tekstowy  - TXT"), group);
    TextFileCheck->setObjectName(QStringLiteral("TextFileCheck"));
    TextFileCheck->setChecked(true);
    TextFileCheck->setEnabled(false);
    auto *grid = new QGridLayout(group);
    grid->addWidget(ExportTarget, 0, 0);
    grid->addWidget(TextFileCheck, 0, 1);
    grid->addWidget(NoCuttingTarget, 1, 1);
    return group;
}

QWidget *TDRUKF::buildOptions()
{
    auto *options = new QWidget(this);
    DensityChoice = Choice(options, QStringLiteral("DensityChoice"),
                           {QStringLiteral("automatyczny"), QStringLiteral("zagęszczony"),
                            QStringLiteral("normalny"), QStringLiteral("rozstrzelony")});
    LetterChoice = Choice(options, QStringLiteral("LetterChoice"),
                          {QStringLiteral("brak"), QStringLiteral("MAZOVIA"),
                           QStringLiteral("LATIN"), QStringLiteral("WINDOWS")});
    TopMarginEdit = TwoDigitEdit(options, QStringLiteral("TopMarginEdit"));
    LeftMarginEdit = TwoDigitEdit(options, QStringLiteral("LeftMarginEdit"));
    LinesEdit = TwoDigitEdit(options, QStringLiteral("LinesEdit"));
    PageDivisionCheck = new QCheckBox(QStringLiteral("podział strony"), options);
    PageDivisionCheck->setObjectName(QStringLiteral("PageDivisionCheck"));
    DirectCheck = new QCheckBox(QStringLiteral("bez bufora"), options);
    DirectCheck->setObjectName(QStringLiteral("DirectCheck"));
    PrintButton = new QPushButton(QStringLiteral("DRUKUJ"), options);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    SaveButton = new QPushButton(QStringLiteral("ZAPISZ USTAWIENIA"), options);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SheetButton = new QPushButton(QStringLiteral("Zapisz arkusz"), options);
    SheetButton->setObjectName(QStringLiteral("SheetButton"));
    SheetButton->setToolTip(QStringLiteral("Zestawienie jako arkusz .xlsx albo plik .csv"));

    auto *choices = new QFormLayout;
    choices->addRow(QStringLiteral("Rodzaj wydruku :"), DensityChoice);
    choices->addRow(QStringLiteral("Kodowanie polskich liter :"), LetterChoice);
    auto *counts = new QFormLayout;
    counts->addRow(QStringLiteral("margines górny :"), TopMarginEdit);
    counts->addRow(QStringLiteral("margines lewy :"), LeftMarginEdit);
    counts->addRow(QStringLiteral("wierszy :"), LinesEdit);
    auto *checks = new QVBoxLayout;
    checks->addWidget(PageDivisionCheck);
    checks->addWidget(DirectCheck);
    checks->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(PrintButton);
    buttons->addWidget(SaveButton);
    buttons->addWidget(SheetButton);
    buttons->addStretch();

    auto *row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(choices);
    row->addLayout(counts);
    row->addLayout(checks);
    row->addStretch();
    row->addLayout(buttons);
    return options;
}

void TDRUKF::connectCountEdit(QLineEdit *edit, int &field)
{
    connect(edit, &QLineEdit::textChanged, this, [this, &field](const QString &text) {
        if (!showingFields_)
            field = ReadSettingsCount(text);
    });
}

void TDRUKF::connectControls()
{
    connect(targets_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !showingFields_)
            druk_.TypWydruku = TTypWydruku(id);
    });
    connect(PrinterList, &QComboBox::textActivated, this,
            [this](const QString &name) { druk_.systemPrinter().selectPrinter(name); });
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TDRUKF::openPrinterSetup);
    connect(PortList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingFields_ && index >= 0)
            druk_.Port = TPort(index);
    });
    connect(DeviceEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!showingFields_)
            druk_.DRURZADZENIE = text;
    });
    connect(DensityChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingFields_ && index >= 0)
            druk_.Rodzaj = TRODZAJ(index);
    });
    connect(LetterChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingFields_ && index >= 0)
            druk_.Pl = TPL(index);
    });
    connectCountEdit(TopMarginEdit, druk_.MarG);
    connectCountEdit(LeftMarginEdit, druk_.MarL);
    connectCountEdit(LinesEdit, druk_.MaxLiniaDOS);
    connect(PageDivisionCheck, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingFields_)
            druk_.Podzial = checked;
    });
    connect(DirectCheck, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingFields_)
            druk_.Bufor = checked;
    });
    connect(PrintButton, &QPushButton::clicked, this, &TDRUKF::BitBtnDrukujClick);
    connect(SaveButton, &QPushButton::clicked, this, [this] { druk_.ZapiszUstawienia(); });
    connect(SheetButton, &QPushButton::clicked, this, [this] { SavePreviewAsSheet(druk_); });
}

void TDRUKF::fillPrinterList()
{
    const QSignalBlocker blocker(PrinterList);
    PrinterList->clear();
    PrinterList->addItems(druk_.systemPrinter().installedPrinters());
    PrinterList->setCurrentIndex(PrinterList->findText(druk_.systemPrinter().currentPrinter()));
}

void TDRUKF::showFields()
{
    showingFields_ = true;
    if (QAbstractButton *target = targets_->button(druk_.TypWydruku))
        target->setChecked(true);
    PrinterList->setCurrentIndex(PrinterList->findText(druk_.systemPrinter().currentPrinter()));
    PortList->setCurrentIndex(druk_.Port);
    DeviceEdit->setText(druk_.DRURZADZENIE);
    DeviceEdit->setPlaceholderText(ParallelPortDevice(druk_.Port));
    DensityChoice->setCurrentIndex(druk_.Rodzaj);
    LetterChoice->setCurrentIndex(druk_.Pl);
    TopMarginEdit->setText(QString::number(druk_.MarG));
    LeftMarginEdit->setText(QString::number(druk_.MarL));
    LinesEdit->setText(QString::number(druk_.MaxLiniaDOS));
    PageDivisionCheck->setChecked(druk_.Podzial);
    DirectCheck->setChecked(druk_.Bufor);
    Preview->refresh();
    showingFields_ = false;
}

void TDRUKF::showEvent(QShowEvent *event)
{
    showFields();
    QDialog::showEvent(event);
}

int TDRUKF::showSettings()
{
    if (isVisible())
        hide();
    return exec();
}

void TDRUKF::showPreview()
{
    Preview->setFont(PreviewFontAfterJob());
    if (isVisible())
        showFields();
    else
        show();
    raise();
    activateWindow();
}

void TDRUKF::BitBtnDrukujClick()
{
    const auto [first, last] = Preview->touchedRows();
    druk_.DRUKUJ(first, last);
    Preview->clearSelection();
}

void TDRUKF::openPrinterSetup()
{
    if (!setupPrinter_)
        return;
    QPrintDialog dialog(setupPrinter_, this);
    if (dialog.exec() == QDialog::Accepted)
        fillPrinterList();
}
