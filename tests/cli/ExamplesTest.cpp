#include "MiniJson.h"
#include "Runner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kExamples = PATHLOOM_EXAMPLES_DIR;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

JsonValue RunExample(std::vector<std::string> args) {
    args.push_back("--json");
    std::ostringstream out, err;
    const int status = RunPathloom(args, out, err, nullptr);
    EXPECT_EQ(status, 0) << err.str();
    return ParseJson(out.str());
}

TEST(Examples, CheckedInFilesAreWhatTheGeneratorWrites) {
    const fs::path dir =
        fs::temp_directory_path() / ("pathloom-examples-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string command = std::string(PATHLOOM_MAKE_EXAMPLES) + " " + dir.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const fs::path committed = fs::path(kExamples) / entry.path().filename();
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(committed))
            << committed << " differs: run examples/generate.sh";
        ++compared;
    }
    EXPECT_EQ(compared, 5);
    fs::remove_all(dir);
}

TEST(Examples, NetworkPrefersTheCheapestRoute) {
    const JsonValue json = RunExample(
        {kExamples + "/network.plm", "--method", "dest", "--source", "S", "--dest", "D"});
    EXPECT_EQ(json["status"].text, "ok");
    // Every route S..D, the cheapest being S->A->D at 3.
    EXPECT_EQ(json["pathCount"].number, 5);
    float cheapest = 1e9f;
    for (const auto& path : json["paths"].items)
        cheapest = std::min(cheapest, static_cast<float>(path["cost"].number));
    EXPECT_EQ(cheapest, 3.0f);
    // Out of S, the link towards A ends above the one towards B; out of A, the link to D wins.
    const JsonValue& links = json["links"];
    auto probability = [&](const char* from, const char* to) {
        for (const auto& link : links.items)
            if (link["from"].text == from && link["to"].text == to)
                return link["probability"].number;
        ADD_FAILURE() << from << "->" << to;
        return -1.0;
    };
    EXPECT_GT(probability("S", "A"), probability("S", "B"));
    EXPECT_GT(probability("A", "D"), probability("A", "B"));
}

TEST(Examples, SModelLearnsFromThePathFile) {
    const JsonValue json = RunExample({kExamples + "/s-model.plm", "--method", "file", "--paths",
                                       kExamples + "/s-model-paths.txt"});
    EXPECT_EQ(json["status"].text, "ok");
    EXPECT_EQ(json["pathCount"].number, 4);
    EXPECT_EQ(json["paths"][0]["trace"].text, "Home->Mall:Mall->Work:");
    EXPECT_EQ(json["paths"][0]["cost"].text, "5");
    EXPECT_EQ(json["paths"][1]["cost"].text, "4");
}

} // namespace
