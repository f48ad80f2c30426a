// Faults of the file system and inputs far past any real size: a save refused or cut short leaves
// the document under the target name whole; absurd counts and huge path files are refused or read
// as a whole, with no oversized allocation.

#include "DocumentFile.h"
#include "GraphFormats.h"
#include "RunRecord.h"
#include "TestGraphs.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <regex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using TestGraphs::ReadBytes;
using TestGraphs::WriteBytes;

// Every allocation of this test program passes here: above the ceiling it is refused, so that a
// regression fails fast instead of taking the machine's memory, and the largest one is noted.
static std::atomic<std::size_t> ceiling{SIZE_MAX}, largest{0};

static void* Allocate(std::size_t size, bool raise = true) {
    for (std::size_t seen = largest; size > seen && !largest.compare_exchange_weak(seen, size);) {
    }
    void* p = size > ceiling ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (!p && raise)
        throw std::bad_alloc();
    return p;
}

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

const char* const Refused = "SaveGraph: Error saving graph.";
constexpr int Skipped = 77; // the child could not set up its fault

// A piece of a test in a forked child, so that it can drop privileges, change its limits or
// mount, or be killed, without touching the test process. It reports lines through a pipe.
class Child {
  public:
    explicit Child(const std::function<int()>& body) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0 || (pid_ = ::fork()) < 0)
            throw std::runtime_error("cannot start a child");
        if (pid_ == 0) {
            ::close(fds[0]);
            out_ = fds[1];
            ::alarm(60); // a child that hangs ends all the same
            int code = 78;
            try {
                code = body();
            } catch (const std::exception& e) {
                Report(std::string("exception: ") + e.what());
            }
            ::_exit(code); // no exit handlers: they belong to the test process
        }
        ::close(fds[1]);
        in_ = fds[0];
    }
    ~Child() { ::close(in_); }
    static void Report(const std::string& text) {
        if (::write(out_, (text + "\n").data(), text.size() + 1) < 0)
            ::_exit(79);
    }
    void Kill() { ::kill(pid_, SIGKILL); }
    // The exit code (128 + the signal after one) and what the child reported.
    std::pair<int, std::string> Wait() {
        std::string report;
        char buffer[4096];
        for (ssize_t n; (n = ::read(in_, buffer, sizeof buffer)) > 0;)
            report.append(buffer, static_cast<std::size_t>(n));
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), report};
    }

  private:
    static inline int out_ = -1;
    pid_t pid_ = -1;
    int in_ = -1;
};

// The child's report, or "" when it could not set up its fault and the test is skipped.
std::string ReportOf(const std::function<int()>& body) {
    const auto [code, report] = Child(body).Wait();
    EXPECT_TRUE(code == 0 || code == Skipped) << report;
    return code == Skipped ? "" : report;
}
#define SKIP_UNLESS(report)                                                                        \
    if ((report).empty())                                                                          \
    GTEST_SKIP() << "this machine cannot set up the fault"

// Root may write anywhere: a child becomes nobody first.
bool BecomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0 &&
           ::setresuid(65534, 65534, 65534) == 0;
}

void Grow(clsLA& la, int32_t nodes) {
    for (int32_t i = 0; i < nodes; ++i)
        la.Graph().AppendNode().Position.x = i;
}

std::string SaveOutcome(clsLA& la, const std::string& file) {
    return TestGraphs::ErrorOf([&] { SaveGraph(la, file); });
}

class SaveFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        // Others (an unprivileged child) may look inside; what they may write is up to each test.
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
        Grow(big, 5000); // about 200 KB
    }
    std::string File(const std::string& name) const { return dir.File(name); }
    TestGraphs::TempDir dir;
    const std::string old = ReadBytes(TestGraphs::DataPath("documents/two-nodes.plm"));
    clsLA big;
};

TEST_F(SaveFaults, AFolderWithoutWriteAccessRefusesEverySave) {
    ASSERT_EQ(::mkdir(File("locked").c_str(), 0755), 0);
    WriteBytes(File("locked/doc.plm"), old);
    WriteBytes(File("locked/shared.plm"), old);
    // A file anyone may write, in a folder nobody may: replacing it still needs the folder.
    ASSERT_EQ(::chmod(File("locked/shared.plm").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(File("locked").c_str(), 0555), 0);
    const std::string report = ReportOf([&] {
        if (::geteuid() == 0 && !BecomeNobody())
            return Skipped;
        for (const char* name : {"doc.plm", "shared.plm", "new.plm"})
            Child::Report(SaveOutcome(big, File("locked/") + name));
        return 0;
    });
    ::chmod(File("locked").c_str(), 0755);
    SKIP_UNLESS(report);
    EXPECT_EQ(report, std::string(Refused) + "\n" + Refused + "\n" + Refused + "\n");
    EXPECT_TRUE(ReadBytes(File("locked/doc.plm")) == old &&
                ReadBytes(File("locked/shared.plm")) == old);
    EXPECT_EQ(TestGraphs::Listing(File("locked")), "doc.plm shared.plm");
}

// A write refused half way (here for want of space; a file size limit takes the same way out).
// The small file system is mounted in the child's own mount namespace and goes with it.
TEST_F(SaveFaults, AFullFileSystemRefusesTheSaveAndKeepsTheOldDocument) {
    ASSERT_EQ(::mkdir(File("small").c_str(), 0755), 0);
    const std::string file = File("small/doc.plm");
    clsLA empty;
    const std::string report = ReportOf([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", File("small").c_str(), "tmpfs", 0, "size=64k") != 0)
            return Skipped;
        WriteBytes(file, old);
        Child::Report(SaveOutcome(big, file));
        Child::Report(ReadBytes(file) == old ? "old document intact" : "old document changed");
        Child::Report(TestGraphs::Listing(File("small")));
        // The failed save gave its space back: a small document still fits.
        const std::string outcome = SaveOutcome(empty, file);
        Child::Report(outcome + " " + std::to_string(ReadBytes(file).size()));
        return 0;
    });
    SKIP_UNLESS(report);
    EXPECT_EQ(report, std::string(Refused) + "\nold document intact\ndoc.plm\nno error 46\n");
}

// A CSV export is a pair: the edge list and its node list, written before it. When the disk
// fills while the pair is written, both old files stay; a new node list beside the old edges
// would import silently as a mixture of two graphs.
TEST_F(SaveFaults, AFullFileSystemRefusesACsvExportAndKeepsTheOldPair) {
    ASSERT_EQ(::mkdir(File("small").c_str(), 0755), 0);
    const std::string edges = File("small/out.csv"), nodes = File("small/out.nodes.csv");
    clsLA la; // a node list of about 20 KB, which fits, and an edge list of about 100 KB
    Grow(la, 1000);
    clsGraph& g = la.Graph();
    for (int32_t i = 1; i <= 3000; ++i) {
        clsLink& link = g.AppendLink();
        link = clsLink{};
        link.FromNode = &g.Node(i % 1000 + 1);
        link.ToNode = &g.Node((i * 7 + 1) % 1000 + 1);
        link.Weight = 1.0f / static_cast<float>(i);
    }
    const std::string report = ReportOf([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", File("small").c_str(), "tmpfs", 0, "size=64k") != 0)
            return Skipped;
        WriteBytes(edges, "source,target\nold,pair\n");
        WriteBytes(nodes, "id,label\nold,Old\n");
        Child::Report(TestGraphs::ErrorOf(
            [&] { GraphFormats::Export(g, edges, GraphFormats::Format::Csv); }));
        Child::Report(ReadBytes(edges) + ReadBytes(nodes));
        Child::Report(TestGraphs::Listing(File("small")));
        return 0;
    });
    SKIP_UNLESS(report);
    EXPECT_EQ(report, "Export: '" + nodes + "' and '" + edges +
                          "' could not be written: No space left on device\n"
                          "source,target\nold,pair\nid,label\nold,Old\n\n"
                          "out.csv out.nodes.csv\n");
}

// Only a regular file is replaced, through symbolic links, keeping its owner, group, mode and
// other names; anything else stays exactly as it was.
TEST_F(SaveFaults, SaveTargets) {
    clsLA la;
    Grow(la, 2);                       // shorter than the old documents: nothing of theirs may stay
    const mode_t umask = ::umask(022); // a new document is 0666 less the umask, as any new file
    SaveGraph(la, File("fresh.plm"));
    ::umask(umask);
    const std::string saved = ReadBytes(File("fresh.plm"));
    for (const char* name : {"real.plm", "team.plm", "user.plm", "group.plm", "one.plm"})
        WriteBytes(File(name), old);
    // Links in a loop, and chains of 39 and 40 links: a save follows at most 39.
    ASSERT_EQ(::mkdir(File("chain").c_str(), 0755), 0);
    for (int i = 0; i <= 39; ++i)
        ::symlink(i < 39 ? std::to_string(i + 1).c_str() : "end.plm",
                  File("chain/" + std::to_string(i)).c_str());
    ::symlink("loop", File("chain/loop").c_str());
    ASSERT_EQ(::mkdir(File("folder").c_str(), 0755), 0);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(::mkfifo(File("fifo").c_str(), 0666) == 0 &&
                ::symlink("later.plm", File("dangling.plm").c_str()) == 0 &&
                ::symlink(File("real.plm").c_str(), File("link.plm").c_str()) == 0 &&
                ::link(File("one.plm").c_str(), File("two.plm").c_str()) == 0 &&
                (!root || (::mknod(File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                           ::chown(File("team.plm").c_str(), 12345, 12346) == 0 &&
                           ::chown(File("user.plm").c_str(), 12345, 0) == 0 &&
                           ::chown(File("group.plm").c_str(), 0, 12346) == 0)) &&
                ::chmod(File("team.plm").c_str(), root ? 02640 : 0640) == 0);
    const std::string longName = std::string(250, 'n') + ".plm";
    const struct {
        std::string target, holder; // holder: the file that then holds the new document
        unsigned kind;              // of the target afterwards
    } cases[] = {{"null", "", S_IFCHR},
                 {"fifo", "", S_IFIFO},
                 {"dangling.plm", "later.plm", S_IFLNK},
                 {"link.plm", "real.plm", S_IFLNK},
                 {"team.plm", "team.plm", S_IFREG},
                 {"user.plm", "user.plm", S_IFREG},
                 {"group.plm", "group.plm", S_IFREG},
                 {"chain/1", "chain/end.plm", S_IFLNK},
                 {"chain/0", "", S_IFLNK},
                 {"chain/loop", "", S_IFLNK},
                 {"one.plm", "two.plm", S_IFREG},
                 {longName, longName, S_IFREG},
                 {"folder", "", S_IFDIR},
                 {"missing/doc.plm", "", 0}};
    struct stat info {};
    ASSERT_EQ(::stat(File("team.plm").c_str(), &info), 0);
    const ino_t teamFile = info.st_ino; // replaced by a new file, not rewritten
    for (const auto& c : cases) {
        if (c.kind == S_IFCHR && !root)
            continue; // only root may make a device
        EXPECT_EQ(SaveOutcome(la, File(c.target)), c.holder.empty() ? Refused : "no error");
        EXPECT_EQ(::lstat(File(c.target).c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0, c.kind)
            << c.target;
        EXPECT_TRUE(c.holder.empty() || ReadBytes(File(c.holder)) == saved) << c.target;
    }
    // Neither a document that cannot be written nor one without a name changes anything.
    clsLA broken;
    broken.Graph().AppendLink();
    EXPECT_EQ(SaveOutcome(broken, File("real.plm")) + SaveOutcome(la, ""),
              std::string(Refused) + Refused);
    EXPECT_TRUE(ReadBytes(File("real.plm")) == saved);
    ASSERT_EQ(::stat(File("fresh.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    // Owner and group are kept, together or each alone (only root can give them away).
    for (const auto& [name, uid, gid] : {std::tuple{"team.plm", 12345u, 12346u},
                                         {"user.plm", 12345u, 0u},
                                         {"group.plm", 0u, 12346u}}) {
        ASSERT_EQ(::stat(File(name).c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, root ? uid : ::geteuid()) << name;
        EXPECT_EQ(info.st_gid, root ? gid : ::getegid()) << name;
    }
    ASSERT_EQ(::stat(File("team.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, root ? 02640u : 0640u);
    EXPECT_NE(info.st_ino, teamFile);

    // A user who cannot give the new file the owner of the old one rewrites it where it is; but
    // a CSV export's node list, a name the program made up, is always a new file of the user's.
    ASSERT_EQ(::chmod(File("real.plm").c_str(), 0666), 0);
    WriteBytes(File("pair.nodes.csv"), old);
    ASSERT_EQ(::chmod(File("pair.nodes.csv").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string report = ReportOf([&] {
        if (!root || !BecomeNobody())
            return Skipped;
        Grow(la, 1);
        Child::Report(SaveOutcome(la, File("real.plm")));
        Child::Report(TestGraphs::ErrorOf([&] {
            GraphFormats::Export(la.Graph(), File("pair.csv"), GraphFormats::Format::Csv);
        }));
        return 0;
    });
    SKIP_UNLESS(report);
    EXPECT_EQ(report, "no error\nno error\n");
    ASSERT_EQ(::stat(File("real.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_NE(ReadBytes(File("real.plm")), saved);
    ASSERT_EQ(::stat(File("pair.nodes.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(dir.Listing(),
              "chain dangling.plm fifo folder fresh.plm group.plm later.plm link.plm " + longName +
                  (root ? " null" : "") +
                  " one.plm pair.csv pair.nodes.csv real.plm team.plm two.plm "
                  "user.plm");
}

// A save killed at moments spread over its whole length, writing through flushing to renaming:
// the target holds the old document or the new one, byte for byte, never a mixture or a part.
TEST_F(SaveFaults, AKilledSaveLeavesTheOldOrTheNewDocument) {
    Grow(big, 130000); // to about 6 MB
    const std::string file = File("doc.plm");
    const auto save = [&] {
        SaveGraph(big, file);
        return 0;
    };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Child(save).Wait().first, 0);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const std::string saved = ReadBytes(file);
    for (int round = 0; round < 16; ++round) {
        WriteBytes(file, old);
        Child child(save);
        // From at once to half as long again as a whole save takes.
        std::this_thread::sleep_for(saveTime * round / 10);
        child.Kill();
        child.Wait();
        const std::string now = ReadBytes(file);
        ASSERT_TRUE(now == old || now == saved) << "round " << round << ": " << now.size();
        // A killed save may leave its temporary file beside the target, never anything else.
        EXPECT_TRUE(
            std::regex_match(dir.Listing(), std::regex("(\\.pl[0-9a-f]{8}\\.tmp )*doc\\.plm")))
            << dir.Listing();
    }
}

TEST(AbsurdCounts, AreRefusedBeforeAnyLargeAllocation) {
    TestGraphs::TempDir dir;
    const std::string head = std::string("WOVEN-GRAPHS\0\0", 14) + std::string(20, '\0');
    const std::string count("\0\x94\x35\x77", 4), none(4, '\0'); // 2,000,000,000 and 0
    // Files as long as their counts say, but sparse: the records read as zeros without taking
    // the disk.
    const std::pair<std::string, uint64_t> cases[] = {
        {head + count, 38 + 44ull * 2000000000 + 8},
        {head + none + count, 42 + 20ull * 2000000000 + 4},
        {head + none + none + count, 46 + 12ull * 2000000000},
        // Counts that memory could hold, but not the rest of the file: refused all the same.
        {head + std::string("\x80\x96\x98\0", 4), 38}, // 10,000,000 nodes
    };
    for (const auto& [bytes, length] : cases) {
        const std::string file = dir.File("absurd.plm");
        WriteBytes(file, bytes);
        if (::truncate(file.c_str(), static_cast<off_t>(length)) != 0)
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
// names no node. Every path is learned from, and the error names the pair as it stands in the file,
// the label cut to its first 60 characters.
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

    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "{" + a + "," + b + ",\t" + c + "," + a + "}\r\n" + std::string(4400, ' ') + "\r\n";
    text += "{" + a;
    for (int i = 0; i < 110000; ++i)
        text += "," + b + "," + c + "," + a;
    text += "}\n{" + a + "," + label + "}";
    ASSERT_GT(text.size(), 100u << 20);
    WriteBytes(la.Settings.FilePath, text);

    const RunRecord run = RunToEnd(la);
    EXPECT_EQ(run.pathCount, 20001);
    ASSERT_EQ(run.Messages().size(), 1u);
    EXPECT_EQ(run.Messages()[0],
              "The following link not found.\r\n" + a + "->" + std::string(60, 'x') + "...");
    const std::string once = a + "->" + b + ":" + b + "->" + c + ":" + c + "->" + a + ":";
    EXPECT_EQ(run.traces[0], once);
    EXPECT_EQ(run.traces.back().size(), once.size() * 110000);
    EXPECT_EQ(run.traces.back().compare(0, once.size(), once), 0);
}

} // namespace
