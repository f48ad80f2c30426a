#pragma once
// pathloom-run called in the test's own process with a command line as a user types it, and the
// files it writes read back.
#include "Runner.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

const std::string Examples = PATHLOOM_EXAMPLES_DIR, Data = PATHLOOM_TEST_DATA;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Fields split at commas outside quotes, the quotes dropped.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(csv);
    for (std::string line; std::getline(in, line);) {
        rows.emplace_back(1);
        bool quoted = false;
        for (const char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted)
                rows.back().emplace_back();
            else
                rows.back().back() += c;
        }
    }
    return rows;
}

// True once what pathloom-run streams to `file` holds more than its header: until the run ends,
// a temporary file beside it.
inline bool StreamBegun(const std::string& file) {
    for (const auto& entry : fs::directory_iterator(fs::path(file).parent_path())) {
        std::ifstream in(entry.path());
        std::string header;
        if (entry.path().filename().string().rfind(".pl", 0) == 0 && std::getline(in, header) &&
            in.peek() != EOF)
            return true;
    }
    return false;
}

// pathloom-run as a process of its own, its standard output in `out`.
inline pid_t StartRunner(const std::vector<std::string>& args, const std::string& out) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(PATHLOOM_RUN)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (std::freopen(out.c_str(), "w", stdout))
            ::execv(PATHLOOM_RUN, argv.data());
        ::_exit(127);
    }
    return child;
}

// Waits until StreamBegun(file), for two minutes at most: slow builds (sanitizers) may take a
// while to get there.
inline void WaitForStream(const std::string& file) {
    for (int i = 0; i < 2400 && !StreamBegun(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// The link probabilities of pathloom-run's text output, in link order.
inline std::vector<std::string> LinkProbabilities(const std::string& text) {
    std::vector<std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line) && line.rfind("link\t", 0) != 0) {
    }
    while (std::getline(in, line) && line.find('\t') != std::string::npos)
        values.push_back(line.substr(line.rfind('\t') + 1));
    return values;
}

class Runner : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(own); }
    void TearDown() override { fs::remove_all(own); }
    // A command line after the program's name: a first word T, N, S or G names the triangle,
    // network, S-model or one-way grid example; words starting D/, E/ or O/ are in tests/data,
    // examples or a folder of the test's own.
    int Run(const std::string& command) {
        const std::map<std::string, std::string> names = {{"T", Examples + "/triangle.plm"},
                                                          {"N", Examples + "/network.plm"},
                                                          {"S", Examples + "/s-model.plm"},
                                                          {"G", Examples + "/one-way-grid.plm"},
                                                          {"D", Data},
                                                          {"E", Examples},
                                                          {"O", own}};
        std::vector<std::string> args;
        std::istringstream words(command);
        for (std::string word; words >> word;) {
            const std::string key = word.find('/') == 1 ? word.substr(0, 1)
                                    : args.empty()      ? word
                                                        : "";
            args.push_back(names.count(key) ? names.at(key) + word.substr(key.size()) : word);
        }
        std::ostringstream o, e;
        const int status = RunPathloom(args, o, e, nullptr);
        out = o.str();
        err = e.str();
        return status;
    }
    const std::string own =
        (fs::temp_directory_path() / ("pathloom-cli-" + std::to_string(getpid()))).string();
    std::string out, err;
};
