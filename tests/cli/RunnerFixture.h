#pragma once
// pathloom-run called in the test's own process with a command line as a user types it, and the
// files it writes read back.
#include "Runner.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
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
