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

// Raised between statements once the host asked the running program to stop. It is no
// fault of the program, so no fault handler of the interpreter catches it: it ends the run
// and reaches the code that started the run.
struct tstopped {};

}  // namespace quor
