// Every command that writes, started straight on the data module and the ledger (as any window
// or other path would), at the levels 1, 100 and 255: below 100 it is refused with one message
// and no stored byte of the data tree changes.

#include "main_window_fixture.h"

#include "base/progress.h"
#include "maintenance/archive_commands.h"
#include "maintenance/new_year_opening.h"
#include "store/table.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

namespace {

const QString kRefused = QString::fromUtf8("Brak uprawnień do zmiany danych.");

// What the desk holds when the command runs: the last report open with two documents, closed
// (for a new report or reopening), or open and empty (for deleting it).
enum class LastReport { OpenWithDocuments, Closed, Empty };

struct WritingCommand {
    const char *title;
    LastReport lastReport;
    std::function<void(TDANE &, CashLedger &, GlobalState &, Prompt &)> run;
};

// Appends a row to the table with the field set, and stores it.
void AddRow(Table &table, const char *field, const QVariant &value)
{
    table.append();
    table.setValue(QString::fromLatin1(field), value);
    table.post();
}

void ChangeRow(Table &table, const char *field, const QVariant &value)
{
    table.first();
    table.edit();
    table.setValue(QString::fromLatin1(field), value);
    table.post();
}

class NoLog final : public NewYearLog {
public:
    void addLine(const QString &) override {}
};

const QList<WritingCommand> &WritingCommands()
{
    static const QList<WritingCommand> commands{
        {"NewReport", LastReport::Closed, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.reports().newReport(); }},
        {"OpenReport", LastReport::Closed, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.reports().openReport(); }},
        {"CloseReport", LastReport::OpenWithDocuments, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.reports().closeReport(); }},
        {"DeleteReport", LastReport::Empty, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.reports().deleteReport(); }},
        {"NewReceipt", LastReport::OpenWithDocuments,
         [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { 
             l.documents().createHeader(QStringLiteral("KP"));
             l.documents().postHeader();
         }},
        {"NewAdvanceRequest", LastReport::OpenWithDocuments,
         [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { 
             l.documents().createHeader(QStringLiteral("WZ"));
             l.documents().postHeader();
         }},
        {"DeleteDocument", LastReport::OpenWithDocuments, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.documents().deleteDocument(); }},
        {"CopyDocument", LastReport::OpenWithDocuments, [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.copying().copyDocuments(); }},
        {"RenumberByDate", LastReport::OpenWithDocuments,
         [](TDANE &, CashLedger &l, GlobalState &, Prompt &) { l.renumbering().renumberPlacesByDate(); }},
        {"DocumentLine", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { ChangeRow(d.TPOZ, "TYT1", "zmiana"); }},
        {"Desk", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { AddRow(d.TKASA, "SYMBOL", "K9"); }},
        {"Description", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { AddRow(d.TSLO, "NAZWA", "Opłata"); }},
        {"Account", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { AddRow(d.TKONTA, "KOD", "101"); }},
        {"Contractor", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { AddRow(d.TKontrah, "NAZWA1", "Nowak"); }},
        {"Operator", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { AddRow(d.TUSER, "KOD", "9"); }},
        {"CompanyData", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { ChangeRow(d.TFIRMA, "SKROT", "Firma"); }},
        {"Parameters", LastReport::OpenWithDocuments, [](TDANE &d, CashLedger &, GlobalState &, Prompt &) { ChangeRow(d.TPARA, "P1", "KP/#"); }},
        {"Archive", LastReport::OpenWithDocuments,
         [](TDANE &d, CashLedger &, GlobalState &state, Prompt &prompt) {
             NullProgress progress;
             Archiwizuj({d.TFIRMA, prompt, progress, state}, DefaultArchiveFolder(state.DataRoot, QString()));
         }},
        {"NewYear", LastReport::OpenWithDocuments,
         [](TDANE &d, CashLedger &, GlobalState &state, Prompt &) {
             NoLog log;
             OpenNewYear({state.DataRoot, QStringLiteral("2019"), QStringLiteral("2020")}, d.helpers(), log);
         }},
    };
    return commands;
}

using Case = std::tuple<WritingCommand, int>;

class DataChangeLevels : public MainWindowTest, public ::testing::WithParamInterface<Case> {
protected:
    // Every file of the working folder and the data tree with a digest of its bytes.
    std::string storedFiles() const
    {
        QStringList files;
        QDirIterator it(tree.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                files.append(path + u' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
        }
        files.sort();
        return files.join(u'\n').toStdString();
    }
};

TEST_P(DataChangeLevels, WriteOnlyFromLevel100)
{
    const auto &[command, level] = GetParam();
    addDesk("K1", "Kasa");
    addReport("K1", 1, Amount("0"), true, Amount("0"));
    addReport("K1", 2, Amount("0"), command.lastReport == LastReport::Closed, Amount("20"));
    const int withDocuments = command.lastReport == LastReport::Empty ? 1 : 2;
    addDocument("K1", withDocuments, "KP", 1, Amount("10"), {}, "2019.03.10", {Amount("10")});
    addDocument("K1", withDocuments, "KP", 2, Amount("10"), {}, "2019.03.05", {Amount("10")});
    start({}, level);
    window->hide();
    data->TRKASA.last();
    data->TNAG.first();
    data->TPOZ.first();
    const std::string before = storedFiles();

    try {
        command.run(*data, *ledger, state, prompt);
    } catch (const Abort &) {
    }
    for (Table *table : {&data->TPOZ, &data->TKASA, &data->TSLO, &data->TKONTA, &data->TKontrah, &data->TUSER,
                         &data->TFIRMA, &data->TPARA})
        if (table->isOpen() && table->state() != TableState::Browse)
            table->cancel();

    if (level < 100) {
        EXPECT_TRUE(storedFiles() == before) << "a stored file changed";
        EXPECT_EQ(prompt.texts().count(kRefused), 1) << prompt.texts().join(u'\n').toStdString();
    } else {
        EXPECT_FALSE(storedFiles() == before) << "nothing was stored: " << prompt.texts().join(u'\n').toStdString();
        EXPECT_FALSE(prompt.texts().contains(kRefused));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWritingCommand, DataChangeLevels,
                         ::testing::Combine(::testing::ValuesIn(WritingCommands()), ::testing::Values(1, 100, 255)),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             return std::string(std::get<0>(info.param).title) + "_Level"
                                    + std::to_string(std::get<1>(info.param));
                         });

} // namespace
