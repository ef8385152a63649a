#pragma once
// A raised error of the interpreter: carries the message text to whoever catches it.
#include <stdexcept>
#include <string>

namespace quor {

class tfault : public std::runtime_error {
public:
    explicit tfault(const std::string& text) : std::runtime_error(text) {}
    std::string text() const { return what(); }
};

}  // namespace quor
