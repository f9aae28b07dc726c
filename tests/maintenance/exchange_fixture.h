#pragma once

#include "base/global_state.h"
#include "maintenance/exchange_documents.h"
#include "store/table.h"
#include "store/table_helper_context.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A data tree of the year 2019 with empty tables, the global state on it and a folder for files.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.withStandardTree(QStringLiteral("2019"));
        state.DataRoot = tree.dataRoot();
        state.CurrentYear = QStringLiteral("2019");
        state.TodayText = QStringLiteral("2019.03.15");
    }

    QString documentTable() const { return tree.yearTable(QStringLiteral("2019"), QStringLiteral("KASA\\NAGKASA.DB")); }
    QString reportTable() const { return tree.yearTable(QStringLiteral("2019"), QStringLiteral("KASA\\RKASA.DB")); }
    QString contractorTable() const { return tree.yearTable(QStringLiteral("2019"), QStringLiteral("FIN\\KONTRAHI.DB")); }
    QString file(const QString &name) const { return QDir(tree.root()).filePath(name); }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile out(file(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return out.fileName();
    }
    static QByteArray readFile(const QString &path)
    {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // Every row of the table in its primary order, each value in its exchange text, the fields
    // left out skipped.
    QStringList rowsOf(const QString &path, const QStringList &skip = {})
    {
        std::unique_ptr<Table> table = tree.open(path);
        QStringList rows;
        const QList<FieldDef> fields = table->definition().fields;
        for (table->first(); !table->eof(); table->next()) {
            QStringList values;
            for (const FieldDef &field : fields)
                if (!skip.contains(field.name))
                    values.append(field.name + QLatin1Char('=') + table->asString(field.name));
            rows.append(values.join(QLatin1Char('|')));
        }
        table->close();
        return rows;
    }

    DataTreeBuilder tree;
    GlobalState state{.AccessLevel = 255}; // signed in as an administrator
    ScriptedPrompt prompt;
    TableHelperContext helpers{tree.session(), prompt, state};
};
