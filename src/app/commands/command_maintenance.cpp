#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"
#include "app/commands/headless_tree.h"

#include "base/global_state.h"
#include "maintenance/archive_commands.h"
#include "maintenance/new_year_opening.h"
#include "store/select_year.h"
#include "store/table_helper_context.h"
#include "store/data_module.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

namespace {

bool OnTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

QString FolderOption(const CommandArguments &arguments, const QString &name)
{
    const QString folder = arguments.option(name);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()) + QDir::separator();
}

// The opening's log on standard output.
class PrintedYearLog final : public NewYearLog {
public:
    explicit PrintedYearLog(QTextStream &out) : out_(out) {}
    void addLine(const QString &line) override { out_ << line << Qt::endl; }

private:
    QTextStream &out_;
};

} // namespace

int RunArchiveCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    ConsoleProgress progress(err, OnTerminal());
    const QString given = FolderOption(arguments, QStringLiteral("--to"));
    const QString folder =
        given.isEmpty() ? DefaultArchiveFolder(tree.state().DataRoot, tree.data().session().workingFolder()) : given;
    TDANE &d = tree.data();
    if (!Archiwizuj({d.TFIRMA, tree.prompt(), progress, tree.state()}, folder))
        return 1;
    out << QStringLiteral("Zarchiwizowano dane do %1").arg(folder) << Qt::endl;
    return 0;
}

int RunRestoreCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const QString folder = FolderOption(arguments, QStringLiteral("--from"));
    if (folder.isEmpty()) {
        err << QStringLiteral("Użycie: kasa restore --from FOLDER [--yes]") << Qt::endl;
        return 2;
    }
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open(HeadlessTree::Tables::SomeMayFail))
        return 1;
    if (!arguments.has(QStringLiteral("--yes"))) {
        err << QStringLiteral("Odtworzenie zastępuje dane archiwum; potwierdź je opcją --yes.") << Qt::endl;
        return 1;
    }
    tree.prompt().agreeTo(RestoreQuestion());
    ConsoleProgress progress(err, OnTerminal());
    TDANE &d = tree.data();
    if (!Odtwarzaj({d.TFIRMA, tree.prompt(), progress, tree.state()}, folder, [&d] { d.session().closeAll(); },
                   [&d] { d.runOpenSequence(); }))
        return 1;
    out << QStringLiteral("Odtworzono dane z %1").arg(folder) << Qt::endl;
    return 0;
}

int RunNewYearCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    GlobalState &state = tree.state();
    const QString source = arguments.options.contains(QStringLiteral("--from")) ? arguments.option(QStringLiteral("--from"))
                                                                                 : state.CurrentYear;
    bool isYear = false;
    const int sourceYear = source.toInt(&isYear);
    if (!isYear || source.size() != 4) {
        err << QStringLiteral("Rok \"%1\" nie jest rokiem (cztery cyfry).").arg(source) << Qt::endl;
        return 2;
    }
    // A year is opened from a year that is there; nothing is made for one that is not.
    if (!ListYearFolders(state.DataRoot).contains(source)) {
        err << QStringLiteral("Nie ma roku %1 w folderze danych %2; nic nie zostało utworzone.")
                   .arg(source, QDir::toNativeSeparators(state.DataRoot))
            << Qt::endl;
        return 1;
    }
    PrintedYearLog log(out);
    TableHelperContext helpers{tree.session(), tree.prompt(), state};
    const NewYearReport report = OpenNewYear({state.DataRoot, source, QString::number(sourceYear + 1)}, helpers, log);
    if (!report.started)
        return 1;
    if (!report.failedTables.isEmpty()) {
        err << QStringLiteral("Nie utworzono tabel: %1").arg(report.failedTables.join(QStringLiteral(", "))) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Otwarto rok %1 (utworzono tabel: %2)").arg(sourceYear + 1).arg(report.createdTables) << Qt::endl;
    return 0;
}
