#pragma once

#include "base/global_state.h"
#include "support/data_tree_builder.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <ostream>
#include <gtest/gtest.h>

inline void writeFile(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A data tree of one year (2019) and an archive folder beside the data root, with helpers to
// add cash documents and count them.
class MaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(QStringLiteral("2019"));
        state.DataRoot = tree.dataRoot();
        state.YearFolders = {QStringLiteral("2019")};
        state.CurrentYear = QStringLiteral("2019");
        state.TodayText = QStringLiteral("2019.05.10");
        state.AccessLevel = 255; // signed in as an administrator
    }

    QString documents(const QString &root = QString()) const
    {
        const QString base = root.isEmpty() ? tree.dataRoot() : root;
        return QDir(base).filePath(QStringLiteral("2019/KASA/NAGKASA.DB"));
    }
    QString archive() const { return QDir(tree.root()).filePath(QStringLiteral("archiwum")) + QDir::separator(); }

    void addDocuments(int count, const QString &path = QString())
    {
        QList<RowValues> rows;
        for (int i = 0; i < count; ++i)
            rows.append({{QStringLiteral("SYMBOL"), QStringLiteral("K1")},
                         {QStringLiteral("NUMER"), 1},
                         {QStringLiteral("RD"), QStringLiteral("KP")},
                         {QStringLiteral("ROK"), QStringLiteral("2019")},
                         {QStringLiteral("NRD"), i + 1},
                         {QStringLiteral("TYT1"), QStringLiteral("Wpłata za fakturę %1").arg(i + 1)}});
        tree.addRows(path.isEmpty() ? documents() : path, rows);
    }
    int documentCount(const QString &path = QString())
    {
        return int(tree.column(path.isEmpty() ? documents() : path, QStringLiteral("NRD")).size());
    }

    DataTreeBuilder tree;
    GlobalState state;
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
