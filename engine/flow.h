#pragma once
// Flow control: runs ranges of store lines with if/else/end, for/end, while/end, break.
#include <string>

namespace quor {

class tfuncstore;
class tvarlist;
class tfunclist;
class tmemo;
class tsession;

// The parsed term of a for statement.
struct cfortermstr {
    std::string name;
    double start = 1;
    double end = 100;
    double step = 1;
};

// Runs lines first..last; 1 when the range ran to its end, 14 after a break.
int runlines(tfuncstore& store, int first, int last, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// Runs the if block at line I whose end is at line E.
int runif(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// Runs the for block at line I whose end is at line E.
int runfor(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// Runs the while block at line I whose end is at line E.
int runwhile(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// Parses name:=start:end or name:=start:step:end, evaluating the parts without a memo.
cfortermstr getforterm(const std::string& term, tvarlist& vars, tfunclist& funcs, tsession& s);
// The text between the first "(" of a block line and its partner.
std::string blockterm(const std::string& line, tsession& s);
std::string blockterm(const std::string& line, bool editordialect);

}  // namespace quor
