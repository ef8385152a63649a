#pragma once
// Variables: a scalar value beside an optional sequence of elements (array or text).
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "enginefwd.h"
#include "session.h"

namespace quor {

using cdemension = std::vector<std::int32_t>;   // declared sizes of the dimensions
using casistance = std::vector<std::int32_t>;   // row-major stride of each dimension

// Most elements one variable may hold; a write beyond is a store fault.
inline constexpr std::int64_t maxelements = std::int64_t(1) << 24;
// Most elements all variables of one list may hold together (1 GiB).
inline constexpr std::int64_t maxlistelements = std::int64_t(1) << 27;

// The elements of a variable. Copies share one store until one of them is written, so a
// call's temporary list costs the same whatever arrays its caller holds.
class telements {
public:
    using const_iterator = std::vector<double>::const_iterator;
    using iterator = const_iterator;
    using value_type = double;

    telements() = default;
    telements(std::initializer_list<double> values) { assign(values.begin(), values.end()); }

    std::size_t size() const { return store_ ? store_->size() : 0; }
    bool empty() const { return size() == 0; }
    double operator[](std::size_t i) const { return (*store_)[i]; }
    const std::vector<double>& values() const { return store_ ? *store_ : none(); }
    const_iterator begin() const { return values().begin(); }
    const_iterator end() const { return values().end(); }

    // Element i becomes x (i below size()).
    void set(std::size_t i, double x) { edit()[i] = x; }
    void resize(std::size_t n, double fill) { edit().resize(n, fill); }
    void assign(std::size_t n, double fill) { edit().assign(n, fill); }
    void clear()
    {
        store_.reset();
        bytes_ = 0;
    }
    template <class It>
    void assign(It first, It last) { edit().assign(first, last); }

    // How many leading elements are known to be byte codes (whole numbers 0 to 255, as text
    // writes leave them), so that they read back as text unchanged. Every other write
    // forgets it.
    std::size_t bytecodes() const { return bytes_; }
    // True when both handles share one store: neither was written since one was copied
    // from the other.
    bool sharesstore(const telements& other) const { return store_ && store_ == other.store_; }
    // Elements 0..n-1 become the codes of the n bytes at p, growing the elements as needed.
    void putbytes(const char* p, std::size_t n);
    // Appends the codes of the n bytes at p (in place when the store is not shared).
    void appendbytes(const char* p, std::size_t n);

    friend bool operator==(const telements& a, const std::vector<double>& b) { return a.values() == b; }
    friend bool operator==(const telements& a, const telements& b) { return a.values() == b.values(); }

private:
    // The store, unshared first when another copy still reads it; whatever the caller
    // writes, the elements are no longer known to be byte codes.
    std::vector<double>& edit()
    {
        bytes_ = 0;
        if (!store_) store_ = std::make_shared<std::vector<double>>();
        else if (store_.use_count() > 1) store_ = std::make_shared<std::vector<double>>(*store_);
        return *store_;
    }
    static const std::vector<double>& none()
    {
        static const std::vector<double> empty;
        return empty;
    }
    std::shared_ptr<std::vector<double>> store_;
    std::size_t bytes_ = 0;   // see bytecodes()
};

struct tvar {
    std::string name;
    double value = 0;
    cdemension demension{-1};
    casistance asistance{1};
    telements data;
    int count() const { return static_cast<int>(data.size()); }
};

// name[index] split at the first "[" and its partner.
struct tsplitref {
    std::string name;
    std::string index;
};
tsplitref splitref(const std::string& ref);
// Number of commas in t outside (...) and [...] groups.
int topcommas(const std::string& t, tdialect d);

// Exact comparison of two names, inline for the short ones variables have.
[[gnu::always_inline]] inline bool samename(const std::string& a, const std::string& b)
{
    const std::size_t n = a.size();
    const char* p = a.data();
    const char* q = b.data();
    // Both texts end in a NUL, so the first bytes of two empty names compare equal.
    if (n != b.size() || p[0] != q[0]) return false;
    return n <= 1 || std::memcmp(p + 1, q + 1, n - 1) == 0;
}

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
    // Becomes a copy of source: names, values and elements, without sizes and strides. The
    // list's own storage is reused; a failure leaves it part copied (the call discards it).
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
    // settext of the text that lead (elements getstr of n read earlier) reads as, followed
    // by tail; in place when n still holds those very elements, all of them byte codes.
    // Releases lead.
    int growtext(const std::string& n, telements& lead, const std::string& tail);
    // Reads the elements back as characters (box and empty text for an unknown name).
    std::string gettext(const std::string& n, tsession& s) const;

    // settext without its fault text: the codes are written as one by one, up to the
    // first that a limit refuses, which then raises a store fault.
    void puttext(const std::string& n, const char* p, std::size_t len);

    // Appends name[k]=value for every element.
    void listelements(const std::string& n, std::vector<std::string>& lines) const;
    // Appends name=value, then its elements, for every variable.
    void listvars(std::vector<std::string>& lines) const;
};

// The text the elements read as: each element truncated, taken modulo 256.
std::string textof(const telements& data);

// Copies the source variable of list S into the target of list T (value; for two bare
// names also elements, sizes and strides).
void copyvar(tvarlist& T, const std::string& targetref, const std::string& sourceref,
             tvarlist& S, tsession& s);

}  // namespace quor
