#pragma once

#include "store/session.h"
#include "store/table.h"
#include "store/table_definition.h"
#include "support/throwaway_server.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const TableDefinition &definition, std::ostream *out)
{
    for (const FieldDef &f : definition.fields)
        *out << f.name.toStdString() << ':' << int(f.type) << ':' << f.size << (f.required ? "R" : "") << ' ';
    for (const IndexDef &i : definition.indexes)
        *out << '[' << i.name.toStdString() << ':' << i.fields.join(';').toStdString() << (i.primary ? "P" : "")
             << (i.unique ? "U" : "") << (i.caseInsensitive ? "I" : "") << "] ";
}

// A session over a fresh temporary folder, and small table definitions for engine tests. When
// the tests run on the server, the tables a test names lie in an emptied database there.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        session_.setWorkingFolder(dir_.path());
        if (TestsRunOnServer())
            EmptyTestServerDatabase();
    }

    // The table's name as the test gives it, under the server's data root on the server.
    static QString located(const QString &name)
    {
        return TestsRunOnServer() ? TestServerDataRoot() + name : name;
    }

    QString path(const QString &relative) const { return dir_.filePath(relative); }

    // A table object on the file, created from the definition when given.
    std::unique_ptr<Table> table(const QString &name, const TableDefinition *create = nullptr)
    {
        auto t = std::make_unique<Table>(session_, name);
        t->setTableName(located(name));
        if (create)
            t->create(*create);
        return t;
    }

    std::unique_ptr<Table> openTable(const QString &name, const TableDefinition &create)
    {
        auto t = table(name, &create);
        t->open();
        return t;
    }

    static FieldDef Field(const char *name, FieldType type, int size = 0, bool required = false)
    {
        return {QString::fromUtf8(name), type, size, required};
    }
    static IndexDef Index(const char *name, const char *fields, bool caseInsensitive = true)
    {
        IndexDef index;
        index.name = QString::fromUtf8(name);
        index.fields = QString::fromUtf8(fields).split(QLatin1Char(';'));
        index.caseInsensitive = caseInsensitive;
        return index;
    }
    static IndexDef Primary(const char *fields)
    {
        IndexDef index;
        index.fields = QString::fromUtf8(fields).split(QLatin1Char(';'));
        index.primary = true;
        index.unique = true;
        return index;
    }

    // Posts one new row with the given fields set from texts.
    static void AddRow(Table &t, const QList<std::pair<const char *, QVariant>> &values)
    {
        t.append();
        for (const auto &[field, value] : values)
            t.setValue(QString::fromUtf8(field), value);
        t.post();
    }

    // The values of one field down the whole view, first to last.
    static QStringList Column(Table &t, const char *field)
    {
        QStringList values;
        for (t.first(); !t.eof(); t.next())
            values.append(t.asString(QString::fromUtf8(field)));
        return values;
    }
    static QStringList ColumnBackwards(Table &t, const char *field)
    {
        QStringList values;
        for (t.last(); !t.bof(); t.prior())
            values.prepend(t.asString(QString::fromUtf8(field)));
        return values;
    }

    QTemporaryDir dir_;
    Session session_;
};
