#include "store/table.h"
#include "support/data_tree_builder.h"

#include <QProcess>
#include <gtest/gtest.h>

// The sqlite3 tool reads a table file through the program's extension: the integrity check
// works and texts come in the program's own order.

#ifdef KASA_SQLITE_EXTENSION_PATH
TEST(SqliteExtension, TheSqliteToolChecksAndOrdersATableAsTheProgramDoes)
{
    DataTreeBuilder tree;
    TableDefinition names;
    names.fields = {{QStringLiteral("NAZWA"), FieldType::Text, 30, true}};
    IndexDef primary;
    primary.fields = {QStringLiteral("NAZWA")};
    primary.primary = primary.unique = true;
    IndexDef ignoringCase;
    ignoringCase.name = QStringLiteral("Ninx");
    ignoringCase.fields = {QStringLiteral("NAZWA")};
    ignoringCase.caseInsensitive = true;
    names.indexes = {primary, ignoringCase};
    const QString path = tree.root() + QStringLiteral("NAZWY.DB");
    tree.createTable(path, names,
                     {{{"NAZWA", "Żak"}}, {{"NAZWA", "Łuk"}}, {{"NAZWA", "Lis"}}, {{"NAZWA", "Sowa"}}, {{"NAZWA", "Śliwa"}},
                      {{"NAZWA", "Zebra"}}, {{"NAZWA", "łata"}}});
    const QStringList programOrder = tree.column(path, "NAZWA");

    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {path, QStringLiteral("-cmd"), QStringLiteral(".load ") + QStringLiteral(KASA_SQLITE_EXTENSION_PATH),
                  QStringLiteral("PRAGMA integrity_check; SELECT NAZWA FROM data ORDER BY NAZWA COLLATE POLISH;")});
    ASSERT_TRUE(sqlite.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(sqlite.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty()) << sqlite.readAllStandardError().constData();
    EXPECT_EQ(lines.first(), QStringLiteral("ok"));
    EXPECT_EQ(lines.mid(1), programOrder);
    EXPECT_EQ(programOrder, QStringList({"Lis", "łata", "Łuk", "Sowa", "Śliwa", "Zebra", "Żak"}));
}
#endif
