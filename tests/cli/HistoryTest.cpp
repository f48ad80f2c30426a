// pathloom-run --history: the CSV of every learned path ends where --json ends.
#include "Runner.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    return fields;
}

} // namespace

TEST(History, TheLastRowHoldsTheFinalProbabilitiesOfTheJson) {
    const std::string csvFile = ::testing::TempDir() + "history.csv";
    std::ostringstream out, err;
    ASSERT_EQ(RunPathloom({std::string(PATHLOOM_EXAMPLES_DIR) + "/network.plm", "--method",
                           "sample", "--source", "S", "--dest", "D", "--samples", "40", "--history",
                           csvFile, "--json", "--quiet"},
                          out, err, nullptr),
              0)
        << err.str();
    std::ifstream csv(csvFile);
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);)
        lines.push_back(line);
    std::remove(csvFile.c_str());
    ASSERT_EQ(lines.size(), 41u); // the header and one row per learned path
    EXPECT_EQ(lines[0], "n,trace,cost,decision,best cost,best-path probability,S->B,B->D,B->C,"
                        "C->D,S->A,A->B,A->D");
    const std::vector<std::string> last = Split(lines.back());
    ASSERT_EQ(last.size(), 13u);
    EXPECT_EQ(last[0], "40");

    std::vector<std::string> probabilities;
    const std::string json = out.str();
    const std::string key = "\"probability\": ";
    for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
        const std::size_t start = at + key.size();
        probabilities.push_back(json.substr(start, json.find('}', start) - start));
    }
    EXPECT_EQ(std::vector<std::string>(last.begin() + 6, last.end()), probabilities);
    EXPECT_NE(json.find("\"bestPathProbability\": " + last[5] + ","), std::string::npos);
}

TEST(History, AFileThatCannotBeWrittenFailsTheRunAsOutput) {
    std::ostringstream out, err;
    EXPECT_EQ(RunPathloom({std::string(PATHLOOM_EXAMPLES_DIR) + "/network.plm", "--method", "dest",
                           "--source", "S", "--dest", "D", "--history", "/dev/full"},
                          out, err, nullptr),
              4);
    EXPECT_EQ(err.str(), "pathloom-run: the history could not be written to /dev/full\n");
}
