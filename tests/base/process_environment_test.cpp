#include "base/process_environment.h"

#include "support/qt_printers.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

TEST(ProcessEnvironment, FoldersEndWithTheSeparatorAndTheProgramItselfIsNoArgument)
{
    const QByteArray savedUser = qgetenv("USER");
    qputenv("USER", "kasjer");
    const ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    qputenv("USER", savedUser);

    const QString separator = QDir::separator();
    EXPECT_EQ(environment.workingFolder, QDir::toNativeSeparators(QDir::currentPath()) + separator);
    EXPECT_TRUE(environment.programFolder.endsWith(separator));
    EXPECT_TRUE(environment.programPath.startsWith(environment.programFolder));
    EXPECT_FALSE(environment.programPath.endsWith(separator));
    EXPECT_EQ(environment.arguments.size(), QCoreApplication::arguments().size() - 1);
    EXPECT_FALSE(environment.arguments.contains(QCoreApplication::arguments().first()));
    EXPECT_EQ(environment.userName, "kasjer");
}
