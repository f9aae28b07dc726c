#include "support/paradox_writer.h"

#include "maintenance/exchange_text.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
// pxlib's header declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

#include <cstring>
#include <stdexcept>

namespace {

// pxlib counts a date's days from 1 January of the year 1.
constexpr long kSerialDayOfDayZero = 1721425;

QByteArray Encoded(const QString &text)
{
    qsizetype bad = -1;
    return EncodeWindows1250(text, bad);
}

void PutValue(pxdoc_t *document, char *data, const ParadoxColumn &column, const QVariant &value)
{
    const bool empty = !value.isValid();
    switch (column.type) {
    case pxfAlpha: {
        QByteArray bytes = empty ? QByteArray() : Encoded(value.toString());
        PX_put_data_alpha(document, data, column.length, bytes.data());
        break;
    }
    case pxfMemoBLOb: {
        QByteArray bytes = empty ? QByteArray() : Encoded(value.toString());
        if (bytes.isEmpty())
            std::memset(data, 0, size_t(column.length));
        else
            PX_put_data_blob(document, data, column.length, bytes.data(), int(bytes.size()));
        break;
    }
    case pxfDate: {
        const QDate date = value.toDate();
        PX_put_data_long(document, data, empty ? 0 : 4,
                         empty ? 0 : int(PX_GregorianToSdn(date.year(), date.month(), date.day()) - kSerialDayOfDayZero));
        break;
    }
    case pxfShort:
        PX_put_data_short(document, data, empty ? 0 : 2, short(value.toInt()));
        break;
    case pxfLong:
    case pxfAutoInc:
        PX_put_data_long(document, data, empty ? 0 : 4, int(value.toLongLong()));
        break;
    case pxfCurrency:
    case pxfNumber:
        PX_put_data_double(document, data, empty ? 0 : 8, value.toDouble());
        break;
    case pxfLogical:
        PX_put_data_byte(document, data, empty ? 0 : 1, char(value.toBool() ? 1 : 0));
        break;
    default:
        std::memset(data, 0, size_t(column.length));
        break;
    }
}

} // namespace

struct ParadoxTableWriter::State {
    pxdoc_t *document = nullptr;
    QList<ParadoxColumn> columns;
    QList<int> offsets;
    QByteArray record;
};

ParadoxTableWriter::ParadoxTableWriter(const QString &path, const QList<ParadoxColumn> &columns, int keyFields)
    : state_(new State)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    state_->columns = columns;
    pxdoc_t *document = PX_new();
    state_->document = document;
    // pxlib frees the field list with the document, so it is its memory.
    auto *fields = static_cast<pxfield_t *>(document->malloc(document, sizeof(pxfield_t) * size_t(columns.size()), "fields"));
    int offset = 0;
    bool memo = false;
    for (int i = 0; i < columns.size(); ++i) {
        fields[i].px_fname = PX_strdup(document, Encoded(columns[i].name).constData());
        fields[i].px_ftype = char(columns[i].type);
        fields[i].px_flen = columns[i].length;
        fields[i].px_fdc = 0;
        state_->offsets << offset;
        offset += columns[i].length;
        memo = memo || columns[i].type == pxfMemoBLOb;
    }
    state_->record.resize(offset);
    if (PX_create_file(document, fields, int(columns.size()), QFile::encodeName(path).constData(),
                       keyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) < 0) {
        throw std::runtime_error("pxlib could not create " + path.toStdString());
    }
    if (keyFields > 0)
        PX_set_value(document, "numprimkeys", float(keyFields));
    if (memo) {
        QString memoPath = path;
        memoPath.replace(memoPath.size() - 3, 3, QStringLiteral(".MB"));
        QFile::remove(memoPath);
        if (PX_set_blob_file(document, QFile::encodeName(memoPath).constData()) < 0)
            throw std::runtime_error("pxlib could not create " + memoPath.toStdString());
    }
}

ParadoxTableWriter::~ParadoxTableWriter()
{
    PX_close(state_->document);
    PX_delete(state_->document);
    delete state_;
}

void ParadoxTableWriter::add(const ParadoxRecord &record)
{
    char *data = state_->record.data();
    std::memset(data, 0, size_t(state_->record.size()));
    for (int i = 0; i < state_->columns.size(); ++i) {
        QVariant value;
        for (const auto &[name, given] : record)
            if (name.compare(state_->columns[i].name, Qt::CaseInsensitive) == 0)
                value = given;
        PutValue(state_->document, data + state_->offsets[i], state_->columns[i], value);
    }
    if (PX_put_record(state_->document, data) < 0)
        throw std::runtime_error("pxlib could not write a record");
}

QList<ParadoxColumn> ParadoxColumnsOf(const TableDefinition &definition)
{
    QList<ParadoxColumn> columns;
    for (const FieldDef &field : definition.fields) {
        switch (field.type) {
        case FieldType::Text: columns.append({field.name, pxfAlpha, field.size}); break;
        case FieldType::Date: columns.append({field.name, pxfAlpha, 10}); break;
        case FieldType::SmallInt: columns.append({field.name, pxfShort, 2}); break;
        case FieldType::Integer: columns.append({field.name, pxfLong, 4}); break;
        case FieldType::AutoIncrement: columns.append({field.name, pxfAutoInc, 4}); break;
        case FieldType::Boolean: columns.append({field.name, pxfLogical, 1}); break;
        case FieldType::Float: columns.append({field.name, pxfNumber, 8}); break;
        case FieldType::Currency: columns.append({field.name, pxfCurrency, 8}); break;
        case FieldType::Memo: columns.append({field.name, pxfMemoBLOb, std::max(field.size, 1) + 10}); break;
        default: columns.append({field.name, pxfAlpha, std::max(field.size, 1)}); break;
        }
    }
    return columns;
}

void WriteParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<ParadoxRecord> &rows,
                       int keyFields)
{
    ParadoxTableWriter writer(path, columns, keyFields);
    for (const ParadoxRecord &row : rows)
        writer.add(row);
}

namespace {

int KeyFieldCount(const TableDefinition &definition)
{
    for (const IndexDef &index : definition.indexes)
        if (index.primary)
            return int(index.fields.size());
    return 0;
}

void WriteProgramTable(const QString &path, const TableDefinition &definition, const QList<ParadoxRecord> &rows,
                       const QList<ParadoxColumn> &extra = {})
{
    WriteParadoxTable(path, ParadoxColumnsOf(definition) + extra, rows, KeyFieldCount(definition));
}

ParadoxRecord Document(const QString &desk, int report, int autoNumber, const QString &kind, int number, bool header,
                       double amount, const QString &contractor, const QString &description, const QString &sign = {})
{
    ParadoxRecord record{{QStringLiteral("SYMBOL"), desk},     {QStringLiteral("NUMER"), report},
                         {QStringLiteral("AUTO"), autoNumber}, {QStringLiteral("RD"), kind},
                         {QStringLiteral("ROK"), QStringLiteral("2024")}, {QStringLiteral("NRD"), number},
                         {QStringLiteral("POZ"), number},      {QStringLiteral("GLOWKA"), header},
                         {QStringLiteral("DATA"), QStringLiteral("2024.03.%1").arg(number, 2, 10, QLatin1Char('0'))},
                         {QStringLiteral("ONAZ1"), contractor}, {QStringLiteral("TYT1"), description},
                         {QStringLiteral("KONTO"), QStringLiteral("100")}};
    record << QPair<QString, QVariant>(header ? QStringLiteral("KWOTA") : QStringLiteral("KWOTAP"), amount);
    if (!sign.isEmpty())
        record << QPair<QString, QVariant>(QStringLiteral("OKOD"), sign);
    return record;
}

} // namespace

void WriteParadoxInstallation(const QString &folder)
{
    const QDir root(folder);
    WriteProgramTable(root.filePath(QStringLiteral("KASA.DB")), ParameterTableDefinition(),
                      {{{QStringLiteral("P1"), QStringLiteral("[RD] [NRD]")}, {QStringLiteral("P2"), QStringLiteral("00000")},
                        {QStringLiteral("B3"), false}, {QStringLiteral("L4"), 0}, {QStringLiteral("L5"), 0},
                        {QStringLiteral("ADATA"), QStringLiteral("2024.01.00")}, {QStringLiteral("ACYKL"), 0}}});
    WriteProgramTable(root.filePath(QStringLiteral("BAZA/USER.DB")), UsersTableDefinition(),
                      {{{QStringLiteral("LOGIN"), QStringLiteral("ADMIN")},
                        {QStringLiteral("NAZWISKO"), QStringLiteral("Źdźbło Józef")},
                        {QStringLiteral("P0"), 255}, {QStringLiteral("P9"), 255}}});
    WriteProgramTable(root.filePath(QStringLiteral("FIRMA.DB")), CompanyTableDefinition(),
                      {{{QStringLiteral("NR"), 1}, {QStringLiteral("DR"), QStringLiteral("C:\\KASA\\DANE\\")},
                        {QStringLiteral("SKROT"), QStringLiteral("Pszczółka")},
                        {QStringLiteral("NAZWA1"), QStringLiteral("Przedsiębiorstwo Handlowe „Pszczółka”")},
                        {QStringLiteral("MIEJSCOWOSC"), QStringLiteral("Łódź")}, {QStringLiteral("OBRDATA"), QStringLiteral("01.01")}}});

    const QString year = root.filePath(QStringLiteral("2024"));
    WriteProgramTable(year + QStringLiteral("/KASA/KASA.DB"), CashDeskTableDefinition(),
                      {{{QStringLiteral("SYMBOL"), QStringLiteral("01")}, {QStringLiteral("NAZWA"), QStringLiteral("Kasa główna")},
                        {QStringLiteral("KONTO"), QStringLiteral("100")}},
                       {{QStringLiteral("SYMBOL"), QStringLiteral("02")}, {QStringLiteral("NAZWA"), QStringLiteral("Kasa oddziału w Gdańsku")},
                        {QStringLiteral("KONTO"), QStringLiteral("101")}}});
    // Desk 01: a closed report and an open one; desk 02: one open report.
    // Report 01/1: 0 + 999 999 999,99 - 0,01 = 999 999 999,98.
    WriteProgramTable(year + QStringLiteral("/KASA/RKASA.DB"), CashReportTableDefinition(),
                      {{{QStringLiteral("SYMBOL"), QStringLiteral("01")}, {QStringLiteral("NUMER"), 1},
                        {QStringLiteral("OZNACZENIE"), QStringLiteral("RK 1/2024")}, {QStringLiteral("DATAOD"), QStringLiteral("2024.03.01")},
                        {QStringLiteral("DATADO"), QStringLiteral("2024.03.15")}, {QStringLiteral("BOWARTOSC"), 0.0},
                        {QStringLiteral("BZWARTOSC"), 999999999.98}, {QStringLiteral("ZAMKNIETY"), true},
                        {QStringLiteral("OSOBA"), QStringLiteral("Józef Źdźbło")}},
                       {{QStringLiteral("SYMBOL"), QStringLiteral("01")}, {QStringLiteral("NUMER"), 2},
                        {QStringLiteral("OZNACZENIE"), QStringLiteral("RK 2/2024")}, {QStringLiteral("DATAOD"), QStringLiteral("2024.03.16")},
                        {QStringLiteral("DATADO"), QStringLiteral("2024.03.31")}, {QStringLiteral("BOWARTOSC"), 999999999.98},
                        {QStringLiteral("ZAMKNIETY"), false}},
                       {{QStringLiteral("SYMBOL"), QStringLiteral("02")}, {QStringLiteral("NUMER"), 1},
                        {QStringLiteral("OZNACZENIE"), QStringLiteral("RK 1/2024")}, {QStringLiteral("DATAOD"), QStringLiteral("2024.03.01")},
                        {QStringLiteral("DATADO"), QStringLiteral("2024.03.31")}, {QStringLiteral("BOWARTOSC"), 0.10},
                        {QStringLiteral("ZAMKNIETY"), false}}});
    WriteProgramTable(year + QStringLiteral("/KASA/NAGKASA.DB"), CashDocumentTableDefinition(),
                      {Document(QStringLiteral("01"), 1, 3, QStringLiteral("KP"), 1, true, 999999999.99,
                                QStringLiteral("Zakład Usług Leśnych „Jaźń”"), QStringLiteral("Wpłata za drewno bukowe")),
                       Document(QStringLiteral("01"), 1, 7, QStringLiteral("KW"), 1, true, 0.01,
                                QStringLiteral("Żabka sp. z o.o."), QStringLiteral("Opłata pocztowa")),
                       Document(QStringLiteral("01"), 2, 8, QStringLiteral("KP"), 2, true, 1234.56,
                                QStringLiteral("Gęślą jaźń ŁÓDŹ"), QStringLiteral("Zwrot zaliczki")),
                       Document(QStringLiteral("01"), 2, 9, QStringLiteral("RZ"), 1, true, -15.5,
                                QStringLiteral("Jan Kowalski"), QStringLiteral("Rozliczenie zaliczki"), QStringLiteral("-")),
                       Document(QStringLiteral("01"), 2, 10, QStringLiteral("RZ"), 1, false, 84.5,
                                QStringLiteral("Jan Kowalski"), QStringLiteral("Bilety kolejowe")),
                       Document(QStringLiteral("02"), 1, 12, QStringLiteral("KP"), 3, true, 0.10,
                                QStringLiteral("Świętokrzyska Spółdzielnia"), QStringLiteral("Wpłata"))});
    WriteProgramTable(year + QStringLiteral("/KASA/OPISKASA.DB"), PaymentDescriptionTableDefinition(),
                      {{{QStringLiteral("RD"), QStringLiteral("KP")}, {QStringLiteral("NAZWA"), QStringLiteral("Wpłata utargu")},
                        {QStringLiteral("CENA"), 100.0}}});
    // Contractors with a memo longer than its leading part, and a field another program added.
    WriteProgramTable(year + QStringLiteral("/FIN/KONTRAHI.DB"), ContractorTableDefinition(),
                      {{{QStringLiteral("NR"), 1}, {QStringLiteral("SKROT"), QStringLiteral("JAŹŃ")},
                        {QStringLiteral("NAZWA1"), QStringLiteral("Zakład Usług Leśnych „Jaźń”")},
                        {QStringLiteral("MIEJSC"), QStringLiteral("Zgierz")},
                        {QStringLiteral("ff"), QStringLiteral("Stały odbiorca drewna; płaci przelewem w ciągu 14 dni, "
                                                              "kontakt: pani Źrebięcka, tel. 42 000 00 00.")},
                        {QStringLiteral("RABAT"), 5}},
                       {{QStringLiteral("NR"), 2}, {QStringLiteral("SKROT"), QStringLiteral("ŻABKA")},
                        {QStringLiteral("NAZWA1"), QStringLiteral("Żabka sp. z o.o.")}, {QStringLiteral("ff"), QStringLiteral("krótko")}}},
                      {{QStringLiteral("RABAT"), pxfShort, 2}});
    WriteProgramTable(year + QStringLiteral("/FIN/WALUTA.DB"), CurrencyTableDefinition(),
                      {{{QStringLiteral("KOD"), QStringLiteral("1")}, {QStringLiteral("WALUTA"), QStringLiteral("PLN")},
                        {QStringLiteral("Z1"), QStringLiteral("złoty")}, {QStringLiteral("Z2"), QStringLiteral("złote")},
                        {QStringLiteral("Z3"), QStringLiteral("złotych")}, {QStringLiteral("G1"), QStringLiteral("grosz")},
                        {QStringLiteral("G2"), QStringLiteral("grosze")}, {QStringLiteral("G3"), QStringLiteral("groszy")},
                        {QStringLiteral("L1"), 1.0}}});
    WriteProgramTable(year + QStringLiteral("/SLOWNIKI/KONTAK.DB"), AccountTableDefinition(),
                      {{{QStringLiteral("KOD"), QStringLiteral("100")}, {QStringLiteral("NAZWA"), QStringLiteral("Kasa złotówkowa")}}});
    WriteProgramTable(year + QStringLiteral("/KSIEGA/USER.DB"), OperatorListTableDefinition(),
                      {{{QStringLiteral("KOD"), QStringLiteral("1")}, {QStringLiteral("NAZWISKO"), QStringLiteral("Józef Źdźbło")}}});
    // A table of the ledger module of the suite, which this program does not know.
    WriteParadoxTable(year + QStringLiteral("/FK/DEKRETY.DB"),
                      {{QStringLiteral("LP"), pxfAutoInc, 4}, {QStringLiteral("DATA"), pxfDate, 4},
                       {QStringLiteral("KWOTA"), pxfCurrency, 8}, {QStringLiteral("STRONA"), pxfShort, 2},
                       {QStringLiteral("OPIS"), pxfMemoBLOb, 20}},
                      {{{QStringLiteral("LP"), 1}, {QStringLiteral("DATA"), QDate(2024, 2, 29)},
                        {QStringLiteral("KWOTA"), -0.01}, {QStringLiteral("STRONA"), 1},
                        {QStringLiteral("OPIS"), QStringLiteral("Przeksięgowanie różnic kursowych za luty (zaokrąglenia)")}},
                       {{QStringLiteral("LP"), 2}, {QStringLiteral("KWOTA"), 999999999.99}}},
                      1);
}
