#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <unistd.h>

// Runs the reader programs that the exports are checked with (assimp, admesh, python3 with ezdxf,
// all Debian packages that scripts/install-deps brings) and picks numbers out of what they print.

// The command's standard output and error; exitCode receives its status.
inline std::string RunReader(const std::string& command, int* exitCode = nullptr)
{
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
    {
        if (exitCode)
            *exitCode = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (exitCode)
        *exitCode = status;
    return output;
}

// The first number after the pattern (a regular expression that ends where the number starts);
// -1 when the pattern is absent.
inline double NumberAfter(const std::string& text, const std::string& pattern)
{
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern + "\\s*(-?[0-9]+(\\.[0-9]+)?)")))
        return -1.0;
    return std::stod(match[1].str());
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The path of a scratch file with the given name, in a folder of this process's own.
inline std::string ScratchPath(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / ("orvane-export-" + std::to_string(::getpid()));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return (folder / name).string();
}
