#include "store_bench_data.h"

#include "store/helper_indexes.h"
#include "store/polish_collation.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/resource.h>

#include <array>
#include <cstdio>

namespace {

constexpr int kRowsPerReport = 200;
const std::array<const char *, 6> kKinds{"KP", "KW", "KPD", "KWD", "WZ", "RZ"};
const std::array<const char *, 8> kNames{"Kowalski Jan", "Nowak Anna", "Łukasiewicz Sp. z o.o.", "Żabka Polska",
                                         "Wiśniewski", "Ąbel Ćma", "zakład Energetyczny", "Ósma Fala"};

QString BenchFolder()
{
    const QString folder = QDir::temp().filePath(QStringLiteral("kasa-store-bench"));
    QDir().mkpath(folder);
    return folder;
}

void Fill(Table &t, int desks, int reportsPerDesk)
{
    TransactionScope scope;
    int line = 0;
    for (int desk = 1; desk <= desks; ++desk) {
        std::array<int, kKinds.size()> numbers{};
        for (int report = 1; report <= reportsPerDesk; ++report) {
            int rows = 0;
            for (int place = 1; rows < kRowsPerReport; ++place) {
                const int kind = (place + report) % int(kKinds.size());
                const int number = ++numbers[kind];
                const int lines = (place % 3) + (kind >= 4 ? 1 : 0);
                for (int row = 0; row <= lines && rows < kRowsPerReport; ++row, ++rows, ++line) {
                    t.append();
                    t.setString(QStringLiteral("SYMBOL"), BenchDeskSymbol(desk));
                    t.setInteger(QStringLiteral("NUMER"), report);
                    t.setString(QStringLiteral("RD"), QString::fromLatin1(kKinds[kind]));
                    t.setString(QStringLiteral("ROK"), QStringLiteral("2019"));
                    t.setInteger(QStringLiteral("NRD"), number);
                    t.setBoolean(QStringLiteral("GLOWKA"), row == 0);
                    if (row == 0) {
                        t.setInteger(QStringLiteral("POZ"), place);
                        t.setString(QStringLiteral("DATA"), QStringLiteral("2019.%1.%2")
                                                                .arg(1 + report % 12, 2, 10, QLatin1Char('0'))
                                                                .arg(1 + place % 28, 2, 10, QLatin1Char('0')));
                        t.setString(QStringLiteral("ONAZ1"), QString::fromUtf8(kNames[(line / 3) % kNames.size()])
                                                                 + QStringLiteral(" %1").arg(line % 97));
                        t.setMoney(QStringLiteral("KWOTA"), Money::fromCents(100 + line % 50000));
                    }
                    t.setString(QStringLiteral("TYT1"), QStringLiteral("Opis pozycji %1").arg(line));
                    t.setMoney(QStringLiteral("KWOTAP"), Money::fromCents(100 + line % 20000));
                    t.post();
                }
            }
        }
    }
    scope.commit();
}

} // namespace

QString BenchDeskSymbol(int desk)
{
    return QStringLiteral("K%1").arg(desk, 2, 10, QLatin1Char('0'));
}

BenchDocuments PrepareBenchDocuments(int rows)
{
    BenchDocuments documents;
    documents.rows = rows;
    const int reports = std::max(1, rows / kRowsPerReport);
    documents.desks = reports >= 100 ? 10 : 2;
    documents.reportsPerDesk = std::max(1, reports / documents.desks);
    const QString folder = BenchFolder();
    documents.path = QDir(folder).filePath(QStringLiteral("NAGKASA_%1.DB").arg(rows));
    const QString done = documents.path + QStringLiteral(".ready");
    if (QFileInfo::exists(done) && QFileInfo::exists(documents.path))
        return documents;

    std::fprintf(stderr, "Building %d document rows in %s ...\n", rows, qPrintable(folder));
    Session session;
    Table t(session);
    t.setTableName(documents.path);
    t.create(CashDocumentTableDefinition());
    t.open();
    Fill(t, documents.desks, documents.reportsPerDesk);
    t.close();
    BuildProgramHelperIndexes(session, documents.path); // as the program's bulk writers leave it
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    return documents;
}

QStringList SqliteToolArguments(const QString &tableFile)
{
    return {QStringLiteral("-cmd"), QStringLiteral(".load %1").arg(QStringLiteral(KASA_SQLITE_EXTENSION_PATH)), tableFile};
}

void CreateBenchYear(const QString &yearFolder, const QString &documentsPath)
{
    Session session;
    const auto create = [&](const QString &relative, const TableDefinition &definition) {
        const QString path = QDir(yearFolder).filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        Table table(session);
        table.setTableName(path);
        table.create(definition);
    };
    create(QStringLiteral("KASA/KASA.DB"), CashDeskTableDefinition());
    create(QStringLiteral("KASA/RKASA.DB"), CashReportTableDefinition());
    create(QStringLiteral("KASA/OPISKASA.DB"), PaymentDescriptionTableDefinition());
    create(QStringLiteral("FIN/KONTRAHI.DB"), ContractorTableDefinition());
    create(QStringLiteral("FIN/KONTRAHO.DB"), ContractorDetailsTableDefinition());
    create(QStringLiteral("FIN/WALUTA.DB"), CurrencyTableDefinition());
    create(QStringLiteral("KSIEGA/USER.DB"), OperatorListTableDefinition());
    create(QStringLiteral("SLOWNIKI/KONTAK.DB"), AccountTableDefinition());
    QFile::copy(documentsPath, QDir(yearFolder).filePath(QStringLiteral("KASA/NAGKASA.DB")));
}

double ChildrenCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
