#pragma once
// Text drawing needs fonts, and fonts need one application object for the whole run.
#include <QGuiApplication>

namespace quortest {

inline void ensuregui()
{
    static int argc = 1;
    static char name[] = "plottests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

}  // namespace quortest
