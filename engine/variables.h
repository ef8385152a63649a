#pragma once
// Variables: a scalar value beside an optional sequence of elements (array or text).
#include <cstdint>
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quor {

using cdemension = std::vector<std::int32_t>;   // declared sizes of the dimensions
using casistance = std::vector<std::int32_t>;   // row-major stride of each dimension

// Most elements one variable may hold; a write beyond is a store fault.
inline constexpr std::int64_t maxelements = std::int64_t(1) << 24;
// Most elements all variables of one list may hold together (1 GiB).
inline constexpr std::int64_t maxlistelements = std::int64_t(1) << 27;

struct tvar {
    std::string name;
    double value = 0;
    cdemension demension{-1};
    casistance asistance{1};
    std::vector<double> data;
    int count() const { return static_cast<int>(data.size()); }
};

// Cuts a short text to its 255 bytes.
std::string shortstring(const std::string& s);

// A list of variables, looked up linearly by exact name.
class tvarlist {
public:
    tvarlist(const std::string& name, int tag);
    virtual ~tvarlist() = default;
    tvarlist(const tvarlist&) = default;
    tvarlist& operator=(const tvarlist&) = default;

    std::string name;
    std::vector<tvar> items;
    // Most elements all variables of this list may hold together; a list assigned from
    // another takes its limit (hosts with less memory lower it).
    std::int64_t elementlimit = maxlistelements;
    int tag;
    int count() const { return static_cast<int>(items.size()); }

    // Appends a copy of the record as a scalar (no elements, sizes [-1], strides [1]).
    int addvar(const tvar& record);
    void deletevar(int i);
    void clearlist() { items.clear(); }
    // Becomes a copy of source: names, values and elements, without sizes and strides.
    void assignlist(const tvarlist& source);

    int varindex(const std::string& n) const;
    bool varexists(const std::string& n) const { return varindex(n) >= 0; }
    // Copies the variable into record; false (record untouched) when there is none.
    bool getvar(const std::string& n, tvar& record) const;
    tvar* find(const std::string& n);
    const tvar* find(const std::string& n) const;
    // Elements held by all variables of the list.
    std::int64_t elementtotal() const;
    // Fails with a store fault when growing by that many elements passes maxlistelements.
    void reserveelements(std::int64_t growth) const;

    // Sets the scalar value, creating the variable when needed.
    void setscalar(const std::string& n, double x);
    // Sets element k (growing with zeros), creating the variable when needed; an offset
    // at or beyond maxelements raises a fault and stores nothing.
    void setelement(const std::string& n, std::int64_t k, double x);
    // Element k of an existing variable; a missing element shows its box and gives 0.
    double getelement(const std::string& n, std::int64_t k, tsession& s) const;

    // Sets a reference (name or name[i,...]); 1 when stored, 0 for a negative offset.
    int setvar(const std::string& ref, double x, tfunclist* funcs, tmemo* memo, tsession& s);
    // Reads a reference (name or name[i,...]).
    double getvalue(const std::string& ref, tfunclist* funcs, tmemo* memo, tsession& s);
    // Flat offset of name[indextext], or -1. With indexlines false the index errors show
    // their boxes only (the read path).
    std::int64_t elementoffset(const std::string& n, const std::string& indextext, tmemo* memo,
                               tfunclist* funcs, tsession& s, bool indexlines = true);
    // Evaluates comma-separated index expressions, truncated toward zero.
    std::vector<std::int64_t> evalindexes(const std::string& indextext, tfunclist* funcs,
                                          tmemo* memo, tsession& s);

    // Declares an array of the given sizes, all elements 0.
    void dimarray(const std::string& n, const std::vector<std::int64_t>& sizes);
    void cleararray(const std::string& n);
    // Stores the text's byte codes as elements 0..length-1.
    int settext(const std::string& n, const std::string& text);
    // Reads the elements back as characters (box and empty text for an unknown name).
    std::string gettext(const std::string& n, tsession& s) const;

    // Appends name[k]=value for every element.
    void listelements(const std::string& n, std::vector<std::string>& lines) const;
    // Appends name=value, then its elements, for every variable.
    void listvars(std::vector<std::string>& lines) const;
};

// Copies the source variable of list S into the target of list T (value; for two bare
// names also elements, sizes and strides).
void copyvar(tvarlist& T, const std::string& targetref, const std::string& sourceref,
             tvarlist& S, tsession& s);

}  // namespace quor
