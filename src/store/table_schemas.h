#pragma once

#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Every table the program opens or creates, defined once: fields in their physical order,
// indexes (the primary one unnamed, the others case-insensitive), and where each table lies.

// Display formats of money columns.
inline constexpr const char *kAmountDisplayFormat = "### ### ##0.00";
inline constexpr const char *kPlainAmountDisplayFormat = "0.00";

TableDefinition ParameterTableDefinition();          // KASA.DB in the working folder
TableDefinition UsersTableDefinition();              // BAZA\USER.DB in the working folder
TableDefinition CompanyTableDefinition();            // FIRMA.DB in the data root
TableDefinition CashDeskTableDefinition();           // KASA\KASA.DB
TableDefinition CashReportTableDefinition();         // KASA\RKASA.DB
TableDefinition CashDocumentTableDefinition();       // KASA\NAGKASA.DB
TableDefinition PaymentDescriptionTableDefinition(); // KASA\OPISKASA.DB
TableDefinition AccountTotalsTableDefinition();      // KASA\RAZEM.DB
TableDefinition ContractorTableDefinition();         // FIN\KONTRAHI.DB
TableDefinition ContractorDetailsTableDefinition();  // FIN\KONTRAHO.DB
TableDefinition CurrencyTableDefinition();           // FIN\WALUTA.DB
TableDefinition AccountTableDefinition();            // SLOWNIKI\KONTAK.DB
TableDefinition OperatorListTableDefinition();       // KSIEGA\USER.DB

// The document table as the old-version conversion creates it: the description TYT1 holds 50
// characters instead of 150. Opened and used like the current one.
TableDefinition ConvertedCashDocumentTableDefinition();

// Cash tables of the oldest version, keyed by automatic numbers instead of desk symbols; the
// conversion reads them. The report field list is what tells an old report table from a current
// one. Old tables may carry further fields; the conversion takes over those whose names match.
TableDefinition OldCashDeskTableDefinition();
TableDefinition OldCashReportTableDefinition();
TableDefinition OldCashDocumentTableDefinition();

// A field the data module computes per row; never stored.
struct CalculatedFieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;

    friend bool operator==(const CalculatedFieldDef &, const CalculatedFieldDef &) = default;
};

struct FieldDisplayFormat {
    QString field;
    QString format;

    friend bool operator==(const FieldDisplayFormat &, const FieldDisplayFormat &) = default;
};

// Where a table lies: the folder its location is relative to.
enum class TableBase {
    WorkingFolder,
    DataRoot,
    YearFolder,
};

struct TableLocation {
    TableBase base = TableBase::YearFolder;
    QString folder;    // module folder inside the base ("KASA"), empty for the base itself
    QString fileName;  // "NAGKASA.DB"

    // Folder and table name without extension, as the program writes it: "KASA\NAGKASA".
    QString relativeName() const;
};

// One table object of the data module: its name, its table, and what the object adds to it.
struct TableObjectEntry {
    QString objectName;                        // "TNAG"
    TableLocation location;
    TableDefinition (*definition)() = nullptr;
    QString master;                            // table object this one follows, empty if none
    QStringList linkFields;                    // fields that follow the master's current row
    QString indexName;                         // index the object orders by ("" = primary)
    QList<CalculatedFieldDef> calculatedFields;
    QList<FieldDisplayFormat> displayFormats;
};

// The table objects of the data module.
const QList<TableObjectEntry> &TableObjectRegistry();
// The entry of a table object, names compared exactly; nullptr when unknown.
const TableObjectEntry *FindTableObject(const QString &objectName);

// The structure the program defines for the table file at the path (with or without ".DB"), known
// by its file name and folder; of two definitions for one file the one whose fields the table
// has (the stored definition given). nullopt for a table the program does not define.
std::optional<TableDefinition> ProgramDefinitionOfTable(const QString &tablePath, const TableDefinition &stored);

// The users table of the whole suite has no table object of the data module.
TableLocation UsersTableLocation();
