#pragma once
// A plotter main window for tests: its settings file and pictures in a fresh folder, the
// shipped name tables, scripted dialogs and plot windows recorded without a screen.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "boards.h"
#include "mainform.h"
#include "scripteddialogs.h"
#include "tempdir.h"
#include "units.h"

namespace painttest {

// Plot windows as records: made, shown, hidden and destroyed by handle.
struct fakeboards : quor::tboards {
    struct board {
        std::string expr, var;
        bool visible = false;
    };
    std::map<std::int32_t, board> open;
    std::vector<std::int32_t> order;
    std::vector<std::string> calls;
    std::int32_t next = 501;

    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist&,
                                  quor::tfunclist*, quor::tmemo*) override
    {
        calls.push_back("create " + expr + "|" + varname);
        open[next] = board{expr, varname, false};
        order.push_back(next);
        return next++;
    }
    void showplotwindow(std::int32_t h) override
    {
        calls.push_back("show " + std::to_string(h));
        if (open.count(h)) open[h].visible = true;
    }
    std::int32_t getdc(std::int32_t h) override { return open.count(h) ? 1 : 0; }
    std::int32_t showwnd(std::int32_t h, std::int32_t mode) override
    {
        calls.push_back("showwnd " + std::to_string(h) + "," + std::to_string(mode));
        if (!open.count(h)) return 0;
        const bool was = open[h].visible;
        open[h].visible = mode != 0;
        return was;
    }
    std::int32_t setwndtext(std::int32_t, const std::string&) override { return 0; }
    std::vector<tboard> list() const override
    {
        std::vector<tboard> out;
        for (std::int32_t h : order)
            if (open.count(h)) out.push_back({h, QString::fromStdString(open.at(h).expr), open.at(h).visible});
        return out;
    }
    bool destroy(std::int32_t h) override
    {
        calls.push_back("destroy " + std::to_string(h));
        return open.erase(h) > 0;
    }
    void destroyall() override
    {
        calls.push_back("destroyall");
        open.clear();
    }
};

struct paintfixture {
    quortest::tempdir dir;
    quortest::scripteddialogs dialogs;
    fakeboards* boards = nullptr;
    std::unique_ptr<quor::Tmainform> form;
    std::vector<std::string> datadirs{QUOR_TABLES};
    std::function<void(const std::string&, quor::tfunclist&)> loadunit;
    quor::tboardsfactory factory;   // real plot windows when set; records otherwise
    quor::ttablereader readtable;   // how a name table found is read; the usual way when unset

    std::string ini() const { return dir.str() + "/vivevazed.ini"; }
    std::string readini() const
    {
        std::string text;
        quor::readtextfile(ini(), text);
        return text;
    }
    // Starts the plotter; pictures are looked for in the test's folder first.
    quor::Tmainform& start()
    {
        quor::tpaintoptions o;
        o.inipath = ini();
        o.datadirs = {dir.str()};
        o.datadirs.insert(o.datadirs.end(), datadirs.begin(), datadirs.end());
        o.loadunit = loadunit;
        if (readtable) o.readtable = readtable;
        quor::tboardsfactory make = factory;
        if (!make)
            make = [this](quor::tsession&, quor::tdialogs&, quor::tvarlist&) {
                auto b = std::make_unique<fakeboards>();
                boards = b.get();
                return b;
            };
        form = std::make_unique<quor::Tmainform>(dialogs, o, make);
        return *form;
    }
    // Closes the window as its exit button does.
    void stop() { form->close(); }
    double var(const std::string& name)
    {
        const quor::tvar* v = form->vars().find(name);
        return v ? v->value : -12345;
    }
};

}  // namespace painttest
