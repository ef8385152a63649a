#include "funclist.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "scanner.h"
#include "variables.h"

namespace quor {

namespace {

// Byte-order comparison of names, as unsigned bytes; a prefix sorts first.
int namecompare(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

void tfuncitem::parsehead(const std::string& head, tdialect d)
{
    const std::size_t eq = head.find('=');
    const long e = eq == std::string::npos ? 0 : static_cast<long>(eq) + 1;   // 1-based

    // Result name: the word touching the "=" on its left.
    long b = e - 1;
    while (b >= 1 && charat(head, b) != ' ') --b;
    resultname = e >= 1 ? shortstring(head.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(e - 1 - b))) : "";

    // Function name: after the "=", blanks skipped, up to a blank or "(".
    long i = e + 1;
    while (charat(head, i) == ' ') ++i;
    long j = i;
    while (j <= static_cast<long>(head.size()) && charat(head, j) != ' ' && charat(head, j) != '(') ++j;
    name = shortstring(head.substr(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(j - i)));

    // Parameters: the items between the first "(" and its partner, up to an empty item.
    const std::size_t open = head.find('(');
    if (open == std::string::npos) return;
    const long ob = static_cast<long>(open) + 1;
    const long cb = matchparen(head, ob, d);
    const long last = std::min<long>(cb - 1, static_cast<long>(head.size()));
    std::string rest = last > ob ? head.substr(static_cast<std::size_t>(ob), static_cast<std::size_t>(last - ob)) : "";
    for (;;) {
        const std::string p = splitarg(rest, d);
        if (p.empty()) break;
        params.push_back(shortstring(p));
    }
}

void tnametable::set(std::size_t i, std::string text)
{
    lines_.at(i) = std::move(text);
    filtered_ = false;
}

void tnametable::makefilter() const
{
    for (std::uint64_t& word : filter_) word = 0;
    for (const std::string& line : lines_) {
        const std::uint64_t bit = filterbit(line);
        filter_[bit >> 6] |= std::uint64_t(1) << (bit & 63);
    }
    filtered_ = true;
}

int tnametable::scan(const std::string& n) const
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    auto same = [&](const std::string& line) {
        if (line.size() != n.size()) return false;
        for (std::size_t k = 0; k < n.size(); ++k)
            if (lower(line[k]) != lower(n[k])) return false;
        return true;
    };
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (same(lines_[i])) return static_cast<int>(i);
    return -1;
}

tfunclist::tfunclist(const std::string& n, int t) : tag(t), name(shortstring(n)) {}

int tfunclist::insertfunc(std::unique_ptr<tfuncitem> item)
{
    ++generation_;
    std::size_t i = 0;
    while (i < items_.size() && namecompare(items_[i]->name, item->name) < 0) ++i;
    if (i < items_.size() && items_[i]->name == item->name) {
        retire(std::move(items_[i]));
        items_[i] = std::move(item);
    } else items_.insert(items_.begin() + static_cast<long>(i), std::move(item));
    return count();
}

void tfunclist::clear()
{
    ++generation_;
    for (auto& item : items_) retire(std::move(item));
    items_.clear();
}

void tfunclist::retire(std::unique_ptr<tfuncitem> item)
{
    if (item && item->pins > 0) retired_.push_back(std::move(item));
}

void tfunclist::dropretired(const tfuncitem* item)
{
    for (std::size_t i = 0; i < retired_.size(); ++i)
        if (retired_[i].get() == item) {
            retired_.erase(retired_.begin() + static_cast<long>(i));
            return;
        }
}

const tfuncitem* tfunclist::findfunc(const std::string& name) const
{
    // Item names are cut to 255 bytes.
    const std::string_view n(name.data(), std::min<std::size_t>(name.size(), 255));
    if (items_.empty()) return nullptr;
    long lo = 0, hi = count() - 1;
    while (hi - lo > 1) {
        const long mid = (lo + hi) / 2;
        const int c = namecompare(n, items_[static_cast<std::size_t>(mid)]->name);
        if (c == 0) return items_[static_cast<std::size_t>(mid)].get();
        if (c > 0) lo = mid;
        else hi = mid;
    }
    if (std::string_view(items_[static_cast<std::size_t>(lo)]->name) == n) return items_[static_cast<std::size_t>(lo)].get();
    if (std::string_view(items_[static_cast<std::size_t>(hi)]->name) == n) return items_[static_cast<std::size_t>(hi)].get();
    return nullptr;
}

std::unique_ptr<tfuncitem> makefuncitem(const std::string& head, const std::vector<std::string>& body, tdialect d)
{
    auto item = std::make_unique<tfuncitem>();
    item->parsehead(head, d);
    item->lines = body;
    return item;
}

}  // namespace quor
