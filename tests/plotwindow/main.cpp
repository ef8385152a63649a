// Test entry point for the plot window suites: one widget application, off screen.
#include <gtest/gtest.h>

#include <QApplication>

#include "bigstack.h"

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
