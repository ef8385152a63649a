#include "scriptpad.h"

#include "aboutbox.h"
#include "datadirs.h"
#include "datafiles.h"
#include "profile.h"
#include "runfuncdialog.h"
#include "unitform.h"

namespace quor {

tscriptpad::tscriptpad(thost& host, tdialogs& dialogs, tscriptsetup setup)
{
    hotleg = std::make_unique<Thotleg>(host, dialogs, std::move(setup));
    runfunc = new Trunfuncdialog(*hotleg);
    about = new TAboutBox(dialogs, QString::fromStdString(programdatafile("logo_quor_c.bmp")), hotleg.get());
    unitform = new Tunit_form(hotleg->unitfiles(), hotleg.get());
    hotleg->attach(runfunc, about, unitform);
}

tscriptpad::~tscriptpad() = default;

tscriptsetup defaultsetup()
{
    tscriptsetup s;
    s.programdir = exedir();
    s.inipath = profilepath("base.ini", s.programdir);
    s.tabledirs = programdatadirs();
    return s;
}

}  // namespace quor
