// Inputs far larger than any real one: counts no memory could hold, path files of 100 MB and a
// single line of 10 MB. Each is read or refused as a whole, with no oversized allocation.

#include "AllocationProbe.h"
#include "DocumentFile.h"
#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using TestGraphs::AddLink;
using TestGraphs::AddNodes;
using TestGraphs::DataPath;
using TestGraphs::ReadBytes;
using TestGraphs::TempDir;

namespace {

constexpr std::size_t Ceiling = 16u << 20;

std::string Int32(int32_t value) {
    std::string bytes(4, '\0');
    std::memcpy(&bytes[0], &value, 4);
    return bytes;
}

const std::string Head = std::string("WOVEN-GRAPHS\0\0", 14) + std::string(20, '\0');

// A file of the given head, as long as its counts say, but sparse: its records read as zeros
// without taking the disk. False where the file system cannot hold a file that long.
bool WriteSparse(const std::string& file, const std::string& head, uint64_t length) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    ::ftruncate(fd, static_cast<off_t>(length)) == 0;
    ::close(fd);
    return ok;
}

// Loads with every allocation above the ceiling refused; returns the largest one asked for.
std::size_t LoadRefused(const std::string& file) {
    clsLA la;
    AllocationProbe::Arm(Ceiling);
    bool refused = false;
    try {
        LoadGraph(la, file);
    } catch (const PathloomError& e) {
        refused = e.Description() == "'" + file + "' could not be loaded.";
    }
    const std::size_t largest = AllocationProbe::Disarm();
    EXPECT_TRUE(refused) << file;
    EXPECT_EQ(la.Graph().NodeCount(), 0);
    EXPECT_EQ(la.Graph().LinkCount(), 0);
    return largest;
}

TEST(AbsurdCounts, CountsBeyondTheMemoryAreRefusedBeforeAnyLargeAllocation) {
    TempDir dir;
    const int32_t count = 2000000000;
    struct Case {
        const char* name;
        std::string head;
        uint64_t length;
    };
    const Case cases[] = {
        {"nodes.plm", Head + Int32(count), 38 + 44ull * count + 8},
        {"links.plm", Head + Int32(0) + Int32(count), 42 + 20ull * count + 4},
        {"ranges.plm", Head + Int32(0) + Int32(0) + Int32(count), 46 + 12ull * count},
    };
    for (const Case& c : cases) {
        const std::string file = dir.File(c.name);
        if (!WriteSparse(file, c.head, c.length))
            GTEST_SKIP() << "the file system here cannot hold a sparse file of " << c.length
                         << " bytes";
        EXPECT_LT(LoadRefused(file), Ceiling) << c.name;
        ::unlink(file.c_str());
    }
}

// Runs the path-file mode over A, B, C (A-B, B-C, C->A) whose labels are 31 characters long.
class LargePathFile : public ::testing::Test {
  protected:
    void SetUp() override {
        AddNodes(la.Graph(), {A.c_str(), B.c_str(), C.c_str()});
        AddLink(la.Graph(), A, B, LinkKind::Simple).SetProbability(0.5f);
        AddLink(la.Graph(), B, C, LinkKind::Simple).SetProbability(0.5f);
        AddLink(la.Graph(), C, A, LinkKind::Unidirectional);
        la.Settings.Reward = 0.01f;
        la.Settings.Penalty = 0.01f;
    }
    void Run(const std::string& file) {
        la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
        la.Settings.FilePath = file;
        run = RunToEnd(la);
        for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j)
            EXPECT_FALSE(la.Graph().Link(j).Flag);
    }
    // Writes blocks of text until the file has at least size bytes.
    static void Fill(std::FILE* out, const std::string& block, std::size_t size) {
        for (std::size_t written = 0; written < size; written += block.size())
            std::fwrite(block.data(), 1, block.size(), out);
    }
    const std::string A = "A" + std::string(30, 'a');
    const std::string B = "B" + std::string(30, 'b');
    const std::string C = "C" + std::string(30, 'c');
    TempDir dir;
    clsLA la;
    RunRecord run;
};

// 20,000 paths with blank lines between them, then a path without its closing brace: every
// path is learned from and the error names the early end of the text.
TEST_F(LargePathFile, AHundredMegabytesAreReadToTheEnd) {
    const std::string file = dir.File("paths.txt");
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const std::string path = "{" + A + "," + B + ",\t" + C + "," + A + "}\r\n";
    const std::string blank = std::string(78, ' ') + "\r\n";
    constexpr int Paths = 20000;
    for (int i = 0; i < Paths; ++i) {
        std::fputs(path.c_str(), out);
        Fill(out, blank, 5300);
    }
    std::fputs(("{" + A + "," + B).c_str(), out);
    ASSERT_EQ(std::fclose(out), 0);
    ASSERT_GT(ReadBytes(file).size(), 100u << 20);

    Run(file);
    EXPECT_EQ(run.pathCount, Paths);
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"Syntax error:\r\n"});
    ::unlink(file.c_str());
}

// One path of 330,000 links on a single line of 10 MB.
TEST_F(LargePathFile, ALineOfTenMegabytesIsOnePath) {
    const std::string file = dir.File("line.txt");
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs(("{" + A).c_str(), out);
    const std::string step = "," + B + "," + C + "," + A;
    constexpr int Steps = 110000;
    for (int i = 0; i < Steps; ++i)
        std::fputs(step.c_str(), out);
    std::fputs("}\n", out);
    ASSERT_EQ(std::fclose(out), 0);
    ASSERT_GT(ReadBytes(file).size(), 10u << 20);

    Run(file);
    EXPECT_TRUE(run.Messages().empty());
    ASSERT_EQ(run.traces.size(), 1u);
    const std::string once = A + "->" + B + ":" + B + "->" + C + ":" + C + "->" + A + ":";
    EXPECT_EQ(run.traces[0].size(), once.size() * Steps);
    EXPECT_EQ(run.traces[0].compare(0, once.size(), once), 0);
    ::unlink(file.c_str());
}

// A label of 10 MB names no node: the run reports the pair as it stands in the file.
TEST_F(LargePathFile, ALabelOfTenMegabytesIsALinkNotFound) {
    const std::string file = dir.File("label.txt");
    const std::string label(10u << 20, 'x');
    TestGraphs::WriteBytes(file, "{" + A + "," + label + "}");

    Run(file);
    ASSERT_EQ(run.Messages().size(), 2u);
    EXPECT_TRUE(run.Messages()[0] == "The following link not found.\r\n" + A + "->" + label);
    EXPECT_EQ(run.Messages()[1], "Not found any path.");
    ::unlink(file.c_str());
}

} // namespace
