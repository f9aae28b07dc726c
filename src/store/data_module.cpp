#include "store/data_module.h"

#include "base/global_state.h"
#include "store/data_change_permission.h"
#include "store/data_tree.h"
#include "store/session.h"
#include "store/table_schemas.h"

#include <QDir>

TDANE::TDANE(const DataModuleContext &context)
    : TFIRMA(context.session, QStringLiteral("TFIRMA")),
      TPARA(context.session, QStringLiteral("TPARA")),
      TKASA(context.session, QStringLiteral("TKASA")),
      TRKASA(context.session, QStringLiteral("TRKASA")),
      TNAG(context.session, QStringLiteral("TNAG")),
      TPOZ(context.session, QStringLiteral("TPOZ")),
      KNAG(context.session, QStringLiteral("KNAG")),
      TSLO(context.session, QStringLiteral("TSLO")),
      TKONTA(context.session, QStringLiteral("TKONTA")),
      TWALUTA(context.session, QStringLiteral("TWALUTA")),
      TKontrah(context.session, QStringLiteral("TKontrah")),
      TKONTRAHo(context.session, QStringLiteral("TKONTRAHo")),
      TUSER(context.session, QStringLiteral("TUSER")),
      TRAZEM(context.session, QStringLiteral("TRAZEM")),
      TRKASAS(context.session, QStringLiteral("TRKASAS")),
      context_(context),
      helpers_{context.session, context.prompt, context.state},
      tables_{&TFIRMA, &TPARA, &TKASA, &TRKASA, &TNAG, &TPOZ, &KNAG, &TSLO, &TKONTA, &TWALUTA,
              &TKontrah, &TKONTRAHo, &TUSER, &TRAZEM, &TRKASAS}
{
    configureFromRegistry();
    TRKASA.events.onCalcFields = SetReportClosedText;
    // The totals table is the cash report printout's scratch table and the oldest report table
    // is only recognised, never written: printing stays open to every level.
    for (Table *table : tables_)
        if (table != &TRAZEM && table != &TRKASAS)
            GuardDataChanges(*table, context.state, context.prompt);
}

TDANE::~TDANE()
{
    closeAll();
}

Table *TDANE::tableObject(const QString &objectName) const
{
    for (Table *table : tables_)
        if (table->objectName() == objectName)
            return table;
    return nullptr;
}

// Order, calculated fields, display formats and master links as the table registry gives them.
void TDANE::configureFromRegistry()
{
    for (const TableObjectEntry &entry : TableObjectRegistry()) {
        Table *table = tableObject(entry.objectName);
        if (!table)
            continue;
        table->setIndexName(entry.indexName);
        for (const CalculatedFieldDef &field : entry.calculatedFields)
            table->addCalculatedField({field.name, field.type, field.size, false});
        for (const FieldDisplayFormat &format : entry.displayFormats)
            table->setDisplayFormat(format.field, format.format);
        if (Table *master = tableObject(entry.master))
            table->setMasterSource(master, entry.linkFields, entry.linkFields);
    }
}

// Details go before their masters, so no detail follows a master that is closing.
void TDANE::closeAll()
{
    for (auto it = tables_.crbegin(); it != tables_.crend(); ++it)
        (*it)->close();
}

QString TDANE::yearPath(const QString &relative) const
{
    return YearTablePath(context_.state.DataRoot, context_.state.CurrentYear, relative);
}

void SetReportClosedText(Table &reports)
{
    reports.setString(QStringLiteral("TZAMKNIETY"), reports.asBoolean(QStringLiteral("ZAMKNIETY"))
                                                       ? QStringLiteral("Zamknięty")
                                                       : QStringLiteral("Otwarty"));
}

QString TableDriverErrorMessage(const ProcessEnvironment &environment, const QString &dataRoot)
{
    const QString workingFolder = QDir::toNativeSeparators(environment.workingFolder);
    const QString shownDataRoot = dataRoot.isEmpty() ? workingFolder : QDir::toNativeSeparators(dataRoot);
    return QStringLiteral("Błąd sterownika BDE.") + u'\r'
           + QStringLiteral("Nie można otworzyć plików tabel programu: ani tabeli parametrów KASA.DB")
           + QStringLiteral(" w folderze roboczym ") + workingFolder + u'\r'
           + QStringLiteral("ani tabeli firmy FIRMA.DB w folderze danych ") + shownDataRoot + QStringLiteral(".")
           + u'\r' + QStringLiteral("Sterownik tabel jest częścią programu i nie wymaga osobnej instalacji.") + u'\r'
           + QStringLiteral("Proszę uruchomić program w jego folderze roboczym i sprawdzić argument dr= (folder danych).")
           + u'\r'
           + QStringLiteral("Jeżeli błąd się powtórzy, proszę skontaktować się z administratorem lub dostawcą programu.");
}

QString ParameterTableErrorMessage(const QString &pathWithoutExtension)
{
    return QStringLiteral("Nie można otworzyć tabeli parametrów programu") + u'\r'
           + QDir::toNativeSeparators(pathWithoutExtension) + QStringLiteral(".DB") + u'\r'
           + QStringLiteral("Program zostanie zakończony.");
}

QString IndexUpgradeErrorMessage(const QString &programPath)
{
    return QStringLiteral("Błąd aktualizacji indeksu.\rProszę zamknąć wszystkie programy i uruchomić\rprogram ")
           + QDir::toNativeSeparators(programPath);
}
