#pragma once

#include "store/table.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class AmountRangeDialog;
class CashStateDateDialog;
class DateRangeDialog;
class MonthDialog;
class NumberChangeDialog;
class QWidget;
class RenumberDialog;

// What the main window opens that lives in other windows; each returns when its window closes.
class AuxiliaryWindows {
public:
    virtual ~AuxiliaryWindows() = default;
    virtual void openCashDeskDictionary() = 0;                       // "Słownik kas"
    virtual void openAccountDictionary() = 0;                        // "Konta"
    virtual void openDescriptionDictionary(const QString &kind) = 0; // "KP" / "KW"
    virtual void openCurrencyDictionary() = 0;                       // "Słownik rodzajów waluty"
    // "Kalendarz" at the anchor's position (5 right of its left edge, 30 below its top), preset
    // to the initial day; the chosen day, or nothing when it was closed without one.
    virtual std::optional<QDate> askCalendarDate(QWidget *anchor, QDate initial) = 0;

    // The small dialogs the commands ask through.
    virtual MonthDialog &monthDialog() = 0;                 // "Raport miesięczny"
    virtual RenumberDialog &renumberDialog() = 0;           // "Przenumerowanie"
    virtual NumberChangeDialog &numberChangeDialog() = 0;   // "Zmiana numeru dokumentu :"
    virtual CashStateDateDialog &cashStateDateDialog() = 0; // "Stan kasy na dzień"
    virtual DateRangeDialog &dateRangeDialog() = 0;         // "Data od :" / "data do :"
    virtual AmountRangeDialog &amountRangeDialog() = 0;     // "Zakres kwot"

    // "Słownik kas", when it is open: a desk's symbol can be changed only while it has no reports.
    virtual void setDeskSymbolEditable(bool editable) { (void)editable; }
};

// Commands of the other areas that the main window and the editors carry. Each entry whose
// command is not given stays visible and disabled.
struct ExternalCommands {
    // Printouts (the current report; the documents chosen in the document grid, or the current one).
    std::function<void()> printCashReport;                            // "Drukuj", "Wydruk raportu kasowego"
    std::function<void(const QList<Bookmark> &documents)> printDocuments; // "Drukuj", "Wydruk dokumentów KP/KW"
    // The document open in an editor (its "Drukuj"); without it the editors use printDocuments.
    std::function<void(const Bookmark &document)> printDocumentFromEditor;
    // The cash report form in its monthly mode, for the month "YYYY.MM" ("Dokumenty").
    std::function<void(const QString &monthText)> previewMonthlyReport;

    // The contractor catalogue: true when it ended with Yes, its current contractor (TKontrah)
    // then being the chosen one (the editors' catalogue buttons, "Historia kontrahenta").
    std::function<bool()> chooseContractor;
    std::function<void()> contractorCatalogue; // "Katalog Kontrahentów" from the menu

    std::function<void()> moneyPictures; // "Wykresy": the pictures of the money

    // "Parametry programu" menu. The main window shows its data again after each of them.
    std::function<void()> changeUser;        // "Zmiana użytkownika"
    std::function<void()> companyData;       // "Dane o Firmie"
    std::function<void()> programParameters; // "Parametry programu"
    std::function<void()> printSettings;     // "Parametry wydruku"
    std::function<void()> archiveAndRestore; // "Archiwowanie i Odtwarzanie"
    std::function<void()> repairIndexes;     // "Naprawa Indeksów"; the main window then shows the last report
    std::function<void()> importDocuments;   // "Import dokumentów"
    std::function<void()> exportDocuments;   // "Eksport dokumentów"
    std::function<void()> changeYear;        // "Zmiana roku"
    std::function<void()> openYear;          // "Otwarcie roku"
    std::function<void()> migrateParadox;    // "Przeniesienie danych z tabel Paradox"
    std::function<void()> migrateTree;       // "Przeniesienie danych na serwer lub z serwera"
    std::function<void()> users;             // "Użytkownicy"
    std::function<void()> about;             // "O programie"
    std::function<void()> help;              // "Pomoc" (F1); without it the help file opens

    // Runs when the main window closes, before the program ends (the archive reminder).
    std::function<void()> beforeClose;
};
