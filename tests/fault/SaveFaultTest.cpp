// Saving when the disk says no, or when the process dies halfway: the error reaches the caller
// as "Error saving graph." and the document under the target name stays whole.

#include "ChildProcess.h"
#include "DocumentFile.h"
#include "PathloomError.h"
#include "TestGraphs.h"
#include "clsLA.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <vector>

using TestGraphs::DataPath;
using TestGraphs::ReadBytes;
using TestGraphs::TempDir;
using TestGraphs::WriteBytes;

namespace {

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ListingOf(const std::string& folder) {
    std::string text;
    for (const std::string& name : NamesIn(folder))
        text += (text.empty() ? "" : " ") + name;
    return text;
}

// A ring of nodes, each linked to the next two: a document of about 104 bytes per node.
void BuildRing(clsLA& la, int32_t nodes) {
    clsGraph& g = la.Graph();
    for (int32_t i = 0; i < nodes; ++i)
        g.AppendNode().Position.x = i * 60;
    for (int32_t i = 1; i <= nodes; ++i) {
        for (int32_t step : {1, 2}) {
            clsLink& link = g.AppendLink();
            link.FromNode = &g.Node(i);
            link.ToNode = &g.Node((i - 1 + step) % nodes + 1);
            link.LinkType = step == 1 ? LinkKind::Simple : LinkKind::Unidirectional;
            link.Weight = static_cast<float>(i);
        }
    }
    g.InitProbability();
}

// The description SaveGraph raised, or what else happened.
std::string SaveOutcome(clsLA& la, const std::string& file) {
    try {
        SaveGraph(la, file);
        return "saved";
    } catch (const PathloomError& e) {
        return e.Description();
    }
}

// True when the child ended normally; skips the test when it could not set up its fault.
bool Finished(const ChildProcess::Result& result) {
    if (result.exited && result.code == ChildProcess::Skipped) {
        [&] { GTEST_SKIP() << result.report; }();
        return false;
    }
    EXPECT_TRUE(result.exited && result.code == 0) << result.report;
    return result.exited && result.code == 0;
}

class SaveFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        // Others (an unprivileged child) may look inside; what they may write is up to each test.
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
        old = ReadBytes(DataPath("documents/two-nodes.plm"));
    }
    TempDir dir;
    std::string old;
};

TEST_F(SaveFaults, AFolderWithoutWriteAccessRefusesEverySave) {
    const std::string folder = dir.File("locked");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    WriteBytes(folder + "/doc.plm", old);
    WriteBytes(folder + "/shared.plm", old);
    // A file anyone may write, in a folder nobody may: replacing it still needs the folder.
    ASSERT_EQ(::chmod((folder + "/shared.plm").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

    clsLA la;
    BuildRing(la, 10);
    const auto result = ChildProcess::Run([&] {
        // Root may write anywhere: the child becomes nobody first.
        if (::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                ::setresuid(65534, 65534, 65534) != 0) {
                ChildProcess::Report("cannot drop to an unprivileged user");
                return ChildProcess::Skipped;
            }
        }
        for (const char* name : {"/doc.plm", "/shared.plm", "/new.plm"})
            ChildProcess::Report(SaveOutcome(la, folder + name));
        return 0;
    });
    ::chmod(folder.c_str(), 0755);
    if (!Finished(result))
        return;
    EXPECT_EQ(result.report, "Error saving graph.\nError saving graph.\nError saving graph.\n");
    // Compared as a whole, so that a failure does not print both documents byte by byte.
    EXPECT_TRUE(ReadBytes(folder + "/doc.plm") == old) << "doc.plm changed";
    EXPECT_TRUE(ReadBytes(folder + "/shared.plm") == old) << "shared.plm changed";
    EXPECT_EQ(ListingOf(folder), "doc.plm shared.plm");
}

TEST_F(SaveFaults, AFullFileSystemRefusesTheSaveAndKeepsTheOldDocument) {
    const std::string mountPoint = dir.File("small");
    ASSERT_EQ(::mkdir(mountPoint.c_str(), 0755), 0);
    const std::string file = mountPoint + "/doc.plm";
    clsLA big;
    BuildRing(big, 2000); // about 200 KB, three times the file system
    clsLA empty;

    // The small file system is mounted in the child's own mount namespace and goes with it.
    const auto result = ChildProcess::Run([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ChildProcess::Report("cannot mount a small file system here");
            return ChildProcess::Skipped;
        }
        WriteBytes(file, old);
        ChildProcess::Report(SaveOutcome(big, file));
        ChildProcess::Report(ReadBytes(file) == old ? "old document intact"
                                                    : "old document changed");
        ChildProcess::Report(ListingOf(mountPoint));
        // The failed save gave its space back: a small document still fits.
        ChildProcess::Report(SaveOutcome(empty, file));
        ChildProcess::Report(std::to_string(ReadBytes(file).size()));
        return 0;
    });
    if (!Finished(result))
        return;
    EXPECT_EQ(result.report, "Error saving graph.\nold document intact\ndoc.plm\nsaved\n46\n");
}

TEST_F(SaveFaults, AFileSizeLimitRefusesTheSaveAndKeepsTheOldDocument) {
    const std::string file = dir.File("doc.plm");
    WriteBytes(file, old);
    clsLA big;
    BuildRing(big, 2000);
    const auto result = ChildProcess::Run([&] {
        // Past the limit write() fails with EFBIG instead of the process being signalled.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ChildProcess::Report("cannot limit the file size");
            return ChildProcess::Skipped;
        }
        ChildProcess::Report(SaveOutcome(big, file));
        return 0;
    });
    if (!Finished(result))
        return;
    EXPECT_EQ(result.report, "Error saving graph.\n");
    EXPECT_TRUE(ReadBytes(file) == old) << "the old document changed";
    EXPECT_EQ(dir.Listing(), "doc.plm");
}

// Only a regular file is replaced, through symbolic links, keeping its owner, group, mode and
// other names; anything else stays exactly as it was.
TEST_F(SaveFaults, SaveTargets) {
    clsLA la;
    BuildRing(la, 3);
    const auto f = [&](const std::string& name) { return dir.File(name); };
    const mode_t umask = ::umask(022); // a new document is 0666 less the umask, as any new file
    SaveGraph(la, f("fresh.plm"));
    ::umask(umask);
    const std::string saved = ReadBytes(f("fresh.plm"));
    for (const char* name : {"real.plm", "team.plm", "one.plm"})
        WriteBytes(f(name), old);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(::mkfifo(f("fifo").c_str(), 0666) == 0 &&
                ::symlink("later.plm", f("dangling.plm").c_str()) == 0 &&
                ::symlink(f("real.plm").c_str(), f("link.plm").c_str()) == 0 &&
                ::link(f("one.plm").c_str(), f("two.plm").c_str()) == 0 &&
                (!root || (::mknod(f("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                           ::chown(f("team.plm").c_str(), 12345, 12346) == 0)) &&
                ::chmod(f("team.plm").c_str(), root ? 02640 : 0640) == 0);
    const auto kind = [](const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) != 0 ? 0u : info.st_mode & S_IFMT;
    };
    const struct {
        std::string target, holder; // holder: the file that then holds the new document
        unsigned kind;              // of the target afterwards
    } cases[] = {
        {f("null"), "", S_IFCHR},
        {f("fifo"), "", S_IFIFO},
        {f("dangling.plm"), f("later.plm"), S_IFLNK},
        {f("link.plm"), f("real.plm"), S_IFLNK},
        {f("team.plm"), f("team.plm"), S_IFREG},
        {f("one.plm"), f("two.plm"), S_IFREG},
        {f(std::string(250, 'n') + ".plm"), f(std::string(250, 'n') + ".plm"), S_IFREG},
    };
    for (const auto& c : cases) {
        if (c.kind == S_IFCHR && !root)
            continue; // only root may make a device
        EXPECT_EQ(SaveOutcome(la, c.target), c.holder.empty() ? "Error saving graph." : "saved");
        EXPECT_EQ(kind(c.target), c.kind) << c.target;
        EXPECT_TRUE(c.holder.empty() || ReadBytes(c.holder) == saved) << c.target;
    }
    struct stat info {};
    ASSERT_EQ(::stat(f("fresh.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    ASSERT_EQ(::stat(f("team.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, root ? 02640u : 0640u);
    EXPECT_EQ(info.st_uid, root ? 12345u : ::geteuid());
    EXPECT_EQ(info.st_gid, root ? 12346u : ::getegid());

    // A user who cannot give the new file the owner of the old one rewrites it where it is.
    ASSERT_EQ(::chmod(f("real.plm").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const auto result = ChildProcess::Run([&] {
        if (!root || ::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0) {
            ChildProcess::Report("needs root to become another user");
            return ChildProcess::Skipped;
        }
        BuildRing(la, 4);
        ChildProcess::Report(SaveOutcome(la, f("real.plm")));
        return 0;
    });
    if (!Finished(result))
        return;
    EXPECT_EQ(result.report, "saved\n");
    ASSERT_EQ(::stat(f("real.plm").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_NE(ReadBytes(f("real.plm")), saved);
    for (const std::string& name : NamesIn(dir.Path()))
        EXPECT_NE(name.rfind(".pl", 0), 0u) << "a temporary file stayed: " << name;
}

// A save killed at moments spread over its whole length, writing through flushing to renaming:
// the target holds the old document or the new one, byte for byte, never a mixture or a part.
TEST_F(SaveFaults, AKilledSaveLeavesTheOldOrTheNewDocument) {
    clsLA la;
    BuildRing(la, 60000); // about 6 MB
    const std::string file = dir.File("doc.plm");
    const auto save = [&] {
        ChildProcess::Report("saving");
        SaveGraph(la, file);
        return 0;
    };
    // How long a save takes in a child, from its start to its end.
    ChildProcess whole(save);
    ASSERT_EQ(whole.ReadReport(), "saving");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(whole.Wait().code, 0);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const std::string saved = ReadBytes(file);

    constexpr int Rounds = 16;
    int keptOld = 0, tookNew = 0;
    for (int round = 0; round < Rounds; ++round) {
        WriteBytes(file, old);
        ChildProcess child(save);
        ASSERT_EQ(child.ReadReport(), "saving");
        // From at once to half as long again as a whole save takes.
        std::this_thread::sleep_for(saveTime * round * 3 / (2 * (Rounds - 1)));
        child.Kill(SIGKILL);
        child.Wait();

        const std::string now = ReadBytes(file);
        ASSERT_TRUE(now == old || now == saved)
            << "round " << round << ": " << now.size() << " bytes under the target name";
        (now == old ? keptOld : tookNew)++;
        // A killed save may leave its temporary file beside the target, never anything else.
        for (const std::string& name : NamesIn(dir.Path())) {
            if (name == "doc.plm")
                continue;
            EXPECT_EQ(name.rfind(".pl", 0), 0u) << name;
            EXPECT_EQ(name.substr(name.size() - 4), ".tmp") << name;
            ::unlink(dir.File(name).c_str());
        }
    }
    std::printf("killed saves: %d left the old document, %d the new one (a save took %.0f ms)\n",
                keptOld, tookNew, std::chrono::duration<double, std::milli>(saveTime).count());
}

} // namespace
