// Storage operations of variable lists: scalars, elements, arrays, texts and listings.
#include "variables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "fault.h"
#include "host.h"
#include "numtext.h"
#include "session.h"

namespace quor {

std::string shortstring(const std::string& s) { return s.size() > 255 ? s.substr(0, 255) : s; }

tvarlist::tvarlist(const std::string& n, int t) : name(shortstring(n)), tag(t) {}

int tvarlist::addvar(const tvar& record)
{
    tvar v;
    v.name = shortstring(record.name);
    v.value = record.value;
    items.push_back(std::move(v));
    return count() - 1;
}

void tvarlist::deletevar(int i)
{
    if (i >= 0 && i < count()) items.erase(items.begin() + i);
}

void tvarlist::assignlist(const tvarlist& source)
{
    // Records already here are overwritten in place, so that a list used again keeps its
    // storage; new records get empty sizes and strides directly (no allocation for them).
    try {
        const std::size_t n = source.items.size();
        if (items.size() > n) items.erase(items.begin() + static_cast<std::ptrdiff_t>(n), items.end());
        items.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            const tvar& from = source.items[i];
            if (i == items.size()) {
                items.push_back(tvar{from.name, from.value, {}, {}, from.data});
                continue;
            }
            tvar& to = items[i];
            // A reused list mostly holds the same names already (calls of one function).
            if (!samename(to.name, from.name)) to.name = from.name;
            to.value = from.value;
            to.demension.clear();
            to.asistance.clear();
            to.data = from.data;
        }
        elementlimit = source.elementlimit;
    } catch (const std::bad_alloc&) {
        throw tfault("Error on assign varlist");
    }
}

int tvarlist::varindex(const std::string& n) const
{
    // Stored names are cut to 255 bytes, so the name looked up is cut the same way.
    const std::string key = shortstring(n);
    for (int i = 0; i < count(); ++i)
        if (items[static_cast<std::size_t>(i)].name == key) return i;
    return -1;
}

tvar* tvarlist::find(const std::string& n)
{
    const int i = varindex(n);
    return i < 0 ? nullptr : &items[static_cast<std::size_t>(i)];
}

const tvar* tvarlist::find(const std::string& n) const
{
    const int i = varindex(n);
    return i < 0 ? nullptr : &items[static_cast<std::size_t>(i)];
}

bool tvarlist::getvar(const std::string& n, tvar& record) const
{
    const tvar* v = find(n);
    if (!v) return false;
    record = *v;
    return true;
}

std::int64_t tvarlist::elementtotal() const
{
    std::int64_t total = 0;
    for (const tvar& v : items) total += v.count();
    return total;
}

void tvarlist::reserveelements(std::int64_t growth) const
{
    if (growth > 0 && elementtotal() + growth > elementlimit) throw tfault("variables larger than storage allows");
}

void tvarlist::setscalar(const std::string& n, double x)
{
    if (tvar* v = find(n)) {
        v->value = x;
        return;
    }
    tvar r;
    r.name = n;
    r.value = x;
    addvar(r);
}

void tvarlist::setelement(const std::string& n, std::int64_t k, double x)
{
    if (k < 0 || k >= maxelements) throw tfault("element offset beyond storage");
    const std::size_t at = static_cast<std::size_t>(k);
    if (tvar* v = find(n)) {
        if (at >= v->data.size()) {
            reserveelements(static_cast<std::int64_t>(at + 1 - v->data.size()));
            v->data.resize(at + 1, 0.0);
        }
        v->data.set(at, x);
        return;
    }
    reserveelements(k + 1);
    tvar r;
    r.name = n;
    r.value = x;
    const int i = addvar(r);
    tvar& created = items[static_cast<std::size_t>(i)];
    created.data.assign(at + 1, 0.0);
    created.data.set(at, x);
}

double tvarlist::getelement(const std::string& n, std::int64_t k, tsession& s) const
{
    const tvar* v = find(n);
    if (!v || k < 0 || k >= v->count()) {
        s.host.showmessage("array " + n + "[] out of range of array ,the result may be incorrected");
        return 0;
    }
    return v->data[static_cast<std::size_t>(k)];
}

void tvarlist::dimarray(const std::string& n, const std::vector<std::int64_t>& sizes)
{
    // The total saturates far beyond maxelements, so huge sizes cannot wrap around.
    std::int64_t total = 1;   // the product of no sizes is 1
    for (std::int64_t size : sizes) {
        if (size <= 0) { total = 0; break; }
        total = total > maxelements ? total : total * std::min<std::int64_t>(size, maxelements + 1);
    }
    if (total > maxelements) throw tfault("array larger than storage allows");
    const tvar* old = find(n);
    reserveelements(total - (old ? old->count() : 0));
    cleararray(n);
    if (total > 0) {
        setelement(n, total - 1, 0);
    } else if (!varexists(n)) {
        tvar r;
        r.name = n;
        addvar(r);
    }
    tvar* v = find(n);
    v->data.assign(static_cast<std::size_t>(total), 0.0);
    v->demension.clear();
    v->asistance.assign(sizes.size(), 1);
    for (std::int64_t size : sizes)
        v->demension.push_back(static_cast<std::int32_t>(std::clamp<std::int64_t>(size, INT32_MIN, INT32_MAX)));
    std::int64_t stride = 1;
    for (std::size_t i = sizes.size(); i-- > 0;) {
        v->asistance[i] = static_cast<std::int32_t>(std::min<std::int64_t>(stride, INT32_MAX));
        const std::int64_t size = std::clamp<std::int64_t>(sizes[i], 0, INT32_MAX);
        stride = std::min<std::int64_t>(stride * size, INT32_MAX);
    }
}

void tvarlist::cleararray(const std::string& n)
{
    if (tvar* v = find(n)) {
        v->data.clear();
        v->demension.clear();
        v->asistance.clear();
    }
}

int tvarlist::settext(const std::string& n, const std::string& text)
{
    try {
        puttext(n, text.data(), text.size());
    } catch (const std::exception&) {
        throw tfault("Error on set " + n + " string:" + text);
    }
    return 1;
}

void tvarlist::puttext(const std::string& n, const char* p, std::size_t len)
{
    if (len == 0) return;
    // The first code makes the variable (with it as its value) when there is none.
    tvar* v = find(n);
    std::size_t from = 0;
    if (!v) {
        setelement(n, 0, static_cast<unsigned char>(p[0]));
        v = find(n);
        from = 1;
    }
    // As code by code, growing stops at the first element past either limit.
    const std::size_t have = v->data.size();
    std::size_t room = len;
    if (len > have) {
        const std::int64_t spare = std::max<std::int64_t>(0, elementlimit - elementtotal());
        room = static_cast<std::size_t>(std::min<std::int64_t>(
            {static_cast<std::int64_t>(len), maxelements, static_cast<std::int64_t>(have) + spare}));
    }
    if (room > from) v->data.putbytes(p, room);
    if (room < len) throw tfault("variables larger than storage allows");
}

int tvarlist::growtext(const std::string& n, telements& lead, const std::string& tail)
{
    tvar* v = find(n);
    if (!v || !v->data.sharesstore(lead) || lead.bytecodes() != lead.size()) {
        std::string text = textof(lead);
        lead.clear();
        text += tail;
        return settext(n, text);
    }
    // The variable holds the very elements read, all of them byte codes: rewriting them
    // changes nothing, so only the tail is added, in place once this handle lets go.
    lead.clear();
    const std::size_t have = v->data.size();
    try {
        const std::int64_t spare = std::max<std::int64_t>(0, elementlimit - elementtotal());
        const std::size_t room = static_cast<std::size_t>(std::min<std::int64_t>(
            {static_cast<std::int64_t>(tail.size()), std::max<std::int64_t>(0, maxelements - static_cast<std::int64_t>(have)), spare}));
        v->data.appendbytes(tail.data(), room);
        if (room < tail.size()) throw tfault("variables larger than storage allows");
    } catch (const std::exception&) {
        std::string text = textof(v->data);
        text.resize(have);
        throw tfault("Error on set " + n + " string:" + text + tail);
    }
    return 1;
}

std::string textof(const telements& data)
{
    const std::size_t n = data.size();
    std::string out(n, '\0');
    const double* e = data.values().data();
    if (data.bytecodes() == n) {
        for (std::size_t k = 0; k < n; ++k) out[k] = static_cast<char>(static_cast<unsigned char>(e[k]));
        return out;
    }
    for (std::size_t k = 0; k < n; ++k) {
        const std::int64_t code = truncint(e[k]);
        out[k] = static_cast<char>(static_cast<unsigned char>(((code % 256) + 256) % 256));
    }
    return out;
}

std::string tvarlist::gettext(const std::string& n, tsession& s) const
{
    const tvar* v = find(n);
    if (!v) {
        s.host.showmessage("NO such variable:" + n);
        return "";
    }
    return textof(v->data);
}

void telements::putbytes(const char* p, std::size_t n)
{
    const std::size_t known = bytes_;
    std::vector<double>& e = edit();
    if (e.size() < n) e.resize(n);
    for (std::size_t k = 0; k < n; ++k) e[k] = static_cast<unsigned char>(p[k]);
    bytes_ = std::max(known, n);
}

void telements::appendbytes(const char* p, std::size_t n)
{
    const std::size_t had = size();
    const bool clean = bytes_ == had;
    std::vector<double>& e = edit();
    // Room doubles as texts grow, so adding one code at a time costs constant time each.
    if (e.capacity() < had + n) e.reserve(std::max(had + n, 2 * e.capacity()));
    for (std::size_t k = 0; k < n; ++k) e.push_back(static_cast<unsigned char>(p[k]));
    bytes_ = clean ? had + n : 0;
}

void tvarlist::listelements(const std::string& n, std::vector<std::string>& lines) const
{
    const tvar* v = find(n);
    if (!v) return;
    for (int k = 0; k < v->count(); ++k)
        lines.push_back(n + "[" + std::to_string(k) + "]=" + numtotext(v->data[static_cast<std::size_t>(k)]));
}

void tvarlist::listvars(std::vector<std::string>& lines) const
{
    for (const tvar& v : items) {
        lines.push_back(v.name + "=" + numtotext(v.value));
        listelements(v.name, lines);
    }
}

}  // namespace quor
