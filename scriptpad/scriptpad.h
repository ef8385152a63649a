#pragma once
// The windows of scriptpad, made in start-up order: the main window (whose creation runs
// the start-up), the run-function dialog, the about box and the unit list dialog.
#include <memory>

#include "hotleg.h"

namespace quor {

class tscriptpad {
public:
    tscriptpad(thost& host, tdialogs& dialogs, tscriptsetup setup);
    ~tscriptpad();

    // The dialogs belong to the main window and go with it.
    std::unique_ptr<Thotleg> hotleg;
    Trunfuncdialog* runfunc = nullptr;
    TAboutBox* about = nullptr;
    Tunit_form* unitform = nullptr;
};

// The usual setup: base.ini where the program keeps its settings, the program's folder as
// default base directory, the name tables looked up like the runner's.
tscriptsetup defaultsetup();

}  // namespace quor
