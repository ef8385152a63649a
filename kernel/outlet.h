#pragma once
// Where a running cell's output goes: the front end's channels, seen without the protocol.
#include <string>

#include <nlohmann/json.hpp>

namespace quorkernel {

class toutlet {
public:
    virtual ~toutlet() = default;
    // Text on a stream ("stdout", "stderr").
    virtual void stream(const std::string& name, const std::string& text) = 0;
    // A display block (data by MIME type), new or replacing the one shown under id.
    virtual void display(const nlohmann::json& data, const nlohmann::json& metadata, const std::string& id,
                         bool update) = 0;
    // Asks the front end for a line; false when it does not take input.
    virtual bool ask(const std::string& prompt, std::string& answer) = 0;
};

}  // namespace quorkernel
