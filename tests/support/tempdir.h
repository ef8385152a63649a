#pragma once
// A fresh directory for the files of one test, removed with everything in it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quortest {

struct tempdir {
    std::filesystem::path path;
    tempdir()
    {
        std::string templ = (std::filesystem::path(testing::TempDir()) / "quorXXXXXX").string();
        if (!mkdtemp(templ.data())) ADD_FAILURE() << "mkdtemp failed";
        path = templ;
    }
    ~tempdir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    tempdir(const tempdir&) = delete;
    tempdir& operator=(const tempdir&) = delete;
    // Writes a file of the directory; returns its path.
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name, std::ios::binary) << text;
        return (path / name).string();
    }
    std::string str() const { return path.string(); }
};

}  // namespace quortest
