// How long the open sequence takes. Not run with the suite (the large tree takes a while to
// build); run with --gtest_also_run_disabled_tests --gtest_filter='*Timing*'.
// With KASA_TREE_OUT set, the small tree stays on disk (its folder is printed) for running the
// program on it:  cd <folder>/praca && kasa dr=<folder>/dane/

#include "store/data_module.h"

#include "base/global_state.h"
#include "store/session.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

const QString kYear = QStringLiteral("2019");

// Desks, one report a month each, and the given number of document rows spread over them.
void FillYear(DataTreeBuilder &tree, int documentRows)
{
    const QStringList desks{"A", "B", "C"};
    QList<RowValues> deskRows;
    QList<RowValues> reportRows;
    for (const QString &desk : desks) {
        deskRows.append({{"SYMBOL", desk}, {"NAZWA", "Kasa " + desk}});
        for (int month = 1; month <= 12; ++month)
            reportRows.append({{"SYMBOL", desk}, {"NUMER", month}, {"DATAOD", QStringLiteral("2019.%1.01").arg(month, 2, 10, QLatin1Char('0'))}});
    }
    tree.addRows(tree.yearTable(kYear, "KASA\\KASA.DB"), deskRows);
    tree.addRows(tree.yearTable(kYear, "KASA\\RKASA.DB"), reportRows);
    QList<RowValues> documents;
    documents.reserve(documentRows);
    for (int i = 0; i < documentRows; ++i) {
        const int month = 1 + (i / 3) % 12;
        documents.append({{"SYMBOL", desks[i % 3]}, {"NUMER", month}, {"RD", i % 2 ? "KW" : "KP"}, {"ROK", "2019"},
                          {"NRD", i + 1}, {"POZ", i}, {"GLOWKA", true},
                          {"DATA", QStringLiteral("2019.%1.15").arg(month, 2, 10, QLatin1Char('0'))},
                          {"KWOTA", "12,34"}, {"ONAZ1", QStringLiteral("Kontrahent %1").arg(i % 500)}});
    }
    tree.addRows(tree.yearTable(kYear, "KASA\\NAGKASA.DB"), documents);
}

double SecondsOfOpenSequence(TDANE &dane)
{
    QElapsedTimer timer;
    timer.start();
    dane.runOpenSequence();
    return timer.nsecsElapsed() / 1e9;
}

void Measure(const char *label, int documentRows, bool keep)
{
    DataTreeBuilder tree;
    ASSERT_TRUE(tree.isValid());
    tree.withStandardTree(kYear);
    QElapsedTimer building;
    building.start();
    FillYear(tree, documentRows);
    const double built = building.nsecsElapsed() / 1e9;

    ScriptedPrompt prompt;
    GlobalState state;
    state.TodayText = QStringLiteral("2019.05.10");
    state.CurrentYear = kYear;
    Session session;
    session.setWorkingFolder(tree.workingFolder());
    {
        TDANE dane(DataModuleContext{session, prompt, state, tree.environment({tree.dataRootArgument()})});
        const double first = SecondsOfOpenSequence(dane);
        const double again = SecondsOfOpenSequence(dane);
        dane.TKASA.last();
        dane.TRKASA.last();
        std::printf("%s: %d document rows (built in %.2f s): open sequence %.3f s first, %.3f s again; "
                    "last report shows %d documents\n",
                    label, documentRows, built, first, again, dane.TNAG.recordCount());
        EXPECT_TRUE(prompt.messages().isEmpty());
    }
    if (keep && qEnvironmentVariableIsSet("KASA_TREE_OUT")) {
        tree.keepOnDisk();
        std::printf("tree kept in %s\n", qPrintable(tree.root()));
    }
}

TEST(OpenSequenceTiming, DISABLED_SmallTreeAndAYearOfOneHundredThousandDocumentRows)
{
    Measure("small tree", 30, true);
    Measure("large year", 100000, false);
}

} // namespace
