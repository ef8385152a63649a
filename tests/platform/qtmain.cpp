// Entry point of the desktop suites: an offscreen Qt application around GoogleTest.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

#include "bigstack.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    quor::restartwithbigstack(argv);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
