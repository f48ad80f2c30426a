// Inputs far larger than any real one: counts no memory could hold, and a path file of over
// 100 MB with a line and a label of 10 MB. Each is read or refused as a whole, with no oversized
// allocation.

#include "DocumentFile.h"
#include "PathloomError.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Every allocation of this test program passes here: above the ceiling it is refused, so that a
// regression fails fast instead of taking the machine's memory, and the largest one is noted.
std::atomic<std::size_t> ceiling{SIZE_MAX}, largest{0};

void* Allocate(std::size_t size, bool raise = true) {
    for (std::size_t seen = largest; size > seen && !largest.compare_exchange_weak(seen, size);) {
    }
    void* p = size > ceiling ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (!p && raise)
        throw std::bad_alloc();
    return p;
}

} // namespace

// Only the plain and nothrow forms: the runtime's array forms call them, its aligned forms keep
// to themselves.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, false);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

std::string Int32(int32_t value) {
    std::string bytes(4, '\0');
    std::memcpy(&bytes[0], &value, 4);
    return bytes;
}

TEST(AbsurdCounts, CountsBeyondTheMemoryAreRefusedBeforeAnyLargeAllocation) {
    TestGraphs::TempDir dir;
    const std::string head = std::string("WOVEN-GRAPHS\0\0", 14) + std::string(20, '\0');
    const std::string count = Int32(2000000000), none = Int32(0);
    // Files as long as their counts say, but sparse: the records read as zeros without taking
    // the disk.
    const std::pair<std::string, uint64_t> cases[] = {
        {head + count, 38 + 44ull * 2000000000 + 8},
        {head + none + count, 42 + 20ull * 2000000000 + 4},
        {head + none + none + count, 46 + 12ull * 2000000000},
    };
    for (const auto& [bytes, length] : cases) {
        const std::string file = dir.File("absurd.plm");
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written =
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::ftruncate(fd, static_cast<off_t>(length)) == 0;
        ::close(fd);
        if (!written)
            GTEST_SKIP() << "the file system here cannot hold a sparse file of " << length;
        clsLA la;
        ceiling = 16u << 20;
        largest = 0;
        const std::string error = TestGraphs::ErrorOf([&] { LoadGraph(la, file); });
        ceiling = SIZE_MAX;
        EXPECT_EQ(error, "LoadGraph: '" + file + "' could not be loaded.");
        EXPECT_LT(largest.load(), 16u << 20) << bytes.size();
        EXPECT_EQ(la.Graph().NodeCount() + la.Graph().LinkCount(), 0);
    }
}

// Over A-B, B-C, C->A, labels of 31 characters, a file of over 100 MB: 20,000 paths with blank
// lines between them, one path of 330,000 links on a line of 10 MB, then a label of 10 MB that
// names no node. Every path is learned from, and the error names the pair as it stands in the file.
TEST(HugePathFile, IsReadToTheEnd) {
    const std::string a = "A" + std::string(30, 'a'), b = "B" + std::string(30, 'b'),
                      c = "C" + std::string(30, 'c'), label(10u << 20, 'x');
    clsLA la;
    TestGraphs::Build(la.Graph(), a + " " + b + " " + c,
                      a + "-" + b + ":1:0.5 " + b + "-" + c + ":1:0.5 " + c + ">" + a);
    la.Settings.Reward = la.Settings.Penalty = 0.01f;
    la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    TestGraphs::TempDir dir;
    la.Settings.FilePath = dir.File("paths.txt");

    std::FILE* out = std::fopen(la.Settings.FilePath.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const std::string path = "{" + a + "," + b + ",\t" + c + "," + a + "}\r\n",
                      blanks = std::string(4400, ' ') + "\r\n";
    for (int i = 0; i < 20000; ++i)
        std::fputs((path + blanks).c_str(), out);
    std::fputs(("{" + a).c_str(), out);
    for (int i = 0; i < 110000; ++i)
        std::fputs(("," + b + "," + c + "," + a).c_str(), out);
    std::fputs(("}\n{" + a + "," + label + "}").c_str(), out);
    ASSERT_GT(std::ftell(out), 100l << 20);
    ASSERT_EQ(std::fclose(out), 0);

    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.pathCount, 20001);
    ASSERT_EQ(run.Messages().size(), 1u);
    EXPECT_TRUE(run.Messages()[0] == "The following link not found.\r\n" + a + "->" + label);
    const std::string once = a + "->" + b + ":" + b + "->" + c + ":" + c + "->" + a + ":";
    EXPECT_EQ(run.traces[0], once);
    EXPECT_EQ(run.traces.back().size(), once.size() * 110000);
    EXPECT_EQ(run.traces.back().compare(0, once.size(), once), 0);
    for (int32_t j = 1; j <= 3; ++j)
        EXPECT_FALSE(la.Graph().Link(j).Flag);
}

} // namespace
