// Saving when the disk says no, or when the process dies halfway: the error reaches the caller
// as "Error saving graph." and the document under the target name stays whole.

#include "DocumentFile.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
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

// A document of 46 + 44 n bytes.
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
    // Compared as a whole, so that a failure does not print both documents byte by byte.
    EXPECT_TRUE(ReadBytes(File("locked/doc.plm")) == old &&
                ReadBytes(File("locked/shared.plm")) == old);
    EXPECT_EQ(TestGraphs::Listing(File("locked")), "doc.plm shared.plm");
}

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

TEST_F(SaveFaults, AFileSizeLimitRefusesTheSaveAndKeepsTheOldDocument) {
    WriteBytes(File("doc.plm"), old);
    const std::string report = ReportOf([&] {
        // Past the limit write() fails with EFBIG instead of the process being signalled.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return Skipped;
        Child::Report(SaveOutcome(big, File("doc.plm")));
        return 0;
    });
    SKIP_UNLESS(report);
    EXPECT_EQ(report, std::string(Refused) + "\n");
    EXPECT_TRUE(ReadBytes(File("doc.plm")) == old) << "the old document changed";
    EXPECT_EQ(dir.Listing(), "doc.plm");
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
    for (const char* name : {"real.plm", "team.plm", "one.plm"})
        WriteBytes(File(name), old);
    ASSERT_EQ(::mkdir(File("folder").c_str(), 0755), 0);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(::mkfifo(File("fifo").c_str(), 0666) == 0 &&
                ::symlink("later.plm", File("dangling.plm").c_str()) == 0 &&
                ::symlink(File("real.plm").c_str(), File("link.plm").c_str()) == 0 &&
                ::link(File("one.plm").c_str(), File("two.plm").c_str()) == 0 &&
                (!root || (::mknod(File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                           ::chown(File("team.plm").c_str(), 12345, 12346) == 0)) &&
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
                 {"one.plm", "two.plm", S_IFREG},
                 {longName, longName, S_IFREG},
                 {"folder", "", S_IFDIR},
                 {"missing/doc.plm", "", 0}};
    struct stat info {};
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
    ASSERT_EQ(::stat(File("team.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, root ? 02640u : 0640u);
    EXPECT_EQ(info.st_uid, root ? 12345u : ::geteuid());
    EXPECT_EQ(info.st_gid, root ? 12346u : ::getegid());

    // A user who cannot give the new file the owner of the old one rewrites it where it is.
    ASSERT_EQ(::chmod(File("real.plm").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string report = ReportOf([&] {
        if (!root || !BecomeNobody())
            return Skipped;
        Grow(la, 1);
        Child::Report(SaveOutcome(la, File("real.plm")));
        return 0;
    });
    SKIP_UNLESS(report);
    EXPECT_EQ(report, "no error\n");
    ASSERT_EQ(::stat(File("real.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_NE(ReadBytes(File("real.plm")), saved);
    EXPECT_EQ(dir.Listing(), "dangling.plm fifo folder fresh.plm later.plm link.plm " + longName +
                                 (root ? " null" : "") + " one.plm real.plm team.plm two.plm");
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
    // How long a save takes in a child, from its start to its end.
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
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename();
            EXPECT_TRUE(name == "doc.plm" ||
                        (name.rfind(".pl", 0) == 0 && name.substr(name.size() - 4) == ".tmp"))
                << name;
            if (name != "doc.plm")
                ::unlink(entry.path().c_str());
        }
    }
}

} // namespace
