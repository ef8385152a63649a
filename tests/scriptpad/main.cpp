// Test entry point: the windows need an application object (offscreen in ctest).
#include <gtest/gtest.h>

#include <QApplication>

#include "bigstack.h"

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
    // Windows are never shown on a screen, also when the tests are listed outside ctest.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
