#pragma once
// The editor's windows for a test: made in a fresh folder holding base.ini, with the
// shipped name tables, scripted dialogs and the real Qt host; modal dialogs never wait.
#include <QComboBox>
#include <QDialog>
#include <QToolButton>
#include <QPlainTextEdit>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codeedit.h"
#include "hotleg.h"
#include "qthost.h"
#include "scripteddialogs.h"
#include "scriptpad.h"
#include "tempdir.h"

namespace quortest {

// Replaces a text box's text as typing does: the text counts as modified.
inline void typeinto(QPlainTextEdit* edit, const std::string& text)
{
    QTextCursor c(edit->document());
    c.select(QTextCursor::Document);
    c.insertText(QString::fromStdString(text));
}

struct pad {
    tempdir dir;
    scripteddialogs dialogs;
    quor::tqthost host{dialogs, "Quor Editor"};
    std::unique_ptr<quor::tscriptpad> windows;
    std::vector<std::string> modals;   // dialogs shown modally, by caption

    // Starts with base.ini holding ini (none when empty) and the tables from tabledir.
    explicit pad(const std::string& ini = "", const std::string& tabledir = QUOR_TESTDATA)
    {
        if (!ini.empty()) dir.write("base.ini", ini);
        start(tabledir);
    }
    void start(const std::string& tabledir = QUOR_TESTDATA)
    {
        windows.reset();
        quor::tscriptsetup setup;
        setup.inipath = (dir.path / "base.ini").string();
        setup.programdir = dir.str();
        setup.tabledirs = firsttables;
        setup.tabledirs.push_back(tabledir);
        if (readtable) setup.readtable = readtable;
        windows = std::make_unique<quor::tscriptpad>(host, dialogs, setup);
        ed().runmodal = [this](QDialog& d) {
            modals.push_back(d.windowTitle().toStdString());
            d.setResult(0);
            d.show();
            if (onmodal) onmodal(d);
            d.hide();
            return d.result();
        };
    }
    // Folders searched for name tables before tabledir, and how a table found is read
    // (the usual way when unset); both take effect at the next start().
    std::vector<std::string> firsttables;
    quor::ttablereader readtable;
    // What a modally shown dialog does in the test (nothing when unset).
    std::function<void(QDialog&)> onmodal;

    quor::Thotleg& ed() { return *windows->hotleg; }
    // Replaces the editor text (lines joined by LF) and marks it as the user's edit.
    void type(const std::string& text) { typeinto(ed().flowmemo, text); }
    std::string text() { return ed().flowmemo->toPlainText().toStdString(); }
    std::vector<std::string> memo() { return quor::textlines(ed().resultmemo); }
    // The events since the last call, which clears them.
    std::vector<std::string> take()
    {
        std::vector<std::string> out;
        out.swap(dialogs.events);
        return out;
    }
    std::string read(const std::string& name)
    {
        std::string t;
        std::ifstream in(dir.path / name, std::ios::binary);
        t.assign(std::istreambuf_iterator<char>(in), {});
        return t;
    }
};

using events = std::vector<std::string>;

}  // namespace quortest
