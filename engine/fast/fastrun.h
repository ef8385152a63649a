#pragma once
// The fast path: runs the scanned forms of compiled.h with the same results, boxes, memo
// lines and faults, in the same order, as the literal algorithms. The public engine
// functions hand over to these unless the session asks for the reference.
#include <string>

#include "enginefwd.h"

namespace quor {

class tfuncstore;
struct tccall;

double fastevaluate(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
double fastevalassign(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
std::string fastexecstatement(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// Runs the store's lines, recording a failure in store.fault as runstore does.
void fastrunstore(tfuncstore& store, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// calluserfunc; `call` (may be null) keeps the argument cut between calls.
double fastcalluserfunc(const std::string& name, const std::string& args, const tccall* call, tvarlist& vars,
                        tfunclist* funcs, tmemo* memo, tsession& s);

}  // namespace quor
