#pragma once

#include "base/process_environment.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <utility>

// One row to write: field name and value, in any order.
using RowValues = QList<std::pair<QString, QVariant>>;

// A data tree in a temporary folder, built with the table engine from the program's own table
// definitions:
//
//   <root>/praca/                the working folder: KASA.DB (parameters)
//   <root>/<data root name>/     the data root: FIRMA.DB and the year folders
//   <root>/<data root>/<year>/   KASA, FIN, KSIEGA, SLOWNIKI with every table of the year
//   <root>/program/              the program's folder (empty)
//
// The tables are closed when the builder's calls return, so the program can open them. Paths
// use the platform separator; folders end with one. The temporary root's name has no "_", so it
// can be passed as "dr=" with "_" standing for a space.
class DataTreeBuilder {
public:
    explicit DataTreeBuilder(const QString &dataRootName = QStringLiteral("dane"));

    bool isValid() const { return root_.isValid(); }
    // The tree stays on disk when the builder goes (to run the program on it).
    void keepOnDisk();
    Session &session() { return session_; }

    QString root() const;
    QString workingFolder() const;
    QString dataRoot() const;
    QString programFolder() const;
    QString yearFolder(const QString &year) const;
    // ".../<year>/KASA/NAGKASA.DB" for "KASA\NAGKASA.DB" ("\" or "/" between folders).
    QString yearTable(const QString &year, const QString &relative) const;
    QString parameterTable() const;           // <working folder>/KASA.DB
    QString companyTable() const;             // <data root>/FIRMA.DB

    // The process as the program would see it, with these arguments; the program file is
    // <program folder>/kasa.
    ProcessEnvironment environment(const QStringList &arguments = {}) const;
    // "dr=" + the data root with every space written as "_".
    QString dataRootArgument() const;

    // Parameter row: P1 empty, P2 "00000", no per-account section, login mode 0 (L5 present).
    DataTreeBuilder &withParameterTable(int loginMode = 0);
    // Company row NR 1 with the short name; DR left empty.
    DataTreeBuilder &withCompanyTable(const QString &shortName = QStringLiteral("Firma Testowa"));
    // Every table of the year in its current structure, empty but for one operator
    // ("Jan Kowalski") in the operator list.
    DataTreeBuilder &withYear(const QString &year);
    // Parameters, company and the year.
    DataTreeBuilder &withStandardTree(const QString &year = QStringLiteral("2019"));

    // Creates the table (replacing one that is there, making its folders) and writes the rows,
    // all in one transaction.
    void createTable(const QString &path, const TableDefinition &definition, const QList<RowValues> &rows = {});
    void addRows(const QString &path, const QList<RowValues> &rows);
    // Removes the table file and every companion file (listing, journal).
    void removeTable(const QString &path);
    // Overwrites the table file with bytes that are not a table.
    void damageTable(const QString &path);

    // A plain table object on the file, open, in the builder's session.
    std::unique_ptr<Table> open(const QString &path);
    // The values of one field down the table in its primary order.
    QStringList column(const QString &path, const QString &field);

private:
    QTemporaryDir root_;
    QString dataRootName_;
    Session session_;
};
