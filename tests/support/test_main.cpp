#include "throwaway_server.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs inside a Qt application, so widget tests and core tests share one main.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    StartTestServerWhenAsked();
    return RUN_ALL_TESTS();
}
