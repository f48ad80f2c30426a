// Any bytes as a path file: the tokenizer always moves on and ends, and a whole run in the
// path-file mode over a small fixed graph ends with one of its own messages and a clean graph.

#include "RunSession.h"
#include "clsLA.h"
#include "clsPathFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "pathfile_fuzz: %s\n", what);
    std::abort();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

class Counter : public RunObserver {
  public:
    int32_t Learned = 0;
    void PathLearned(const LearnedPath&) override { ++Learned; }
};

// A, B, C, D, a Latin-1 letter and "?", with every kind of link, an S-model and three ranges.
void BuildGraph(clsLA& la) {
    clsGraph& g = la.Graph();
    for (const char* label : {"A", "B", "C", "D", "\xE4", "?"}) {
        g.AddNode(g.NodeCount() * 60, 0);
        g.Node(g.NodeCount()).SetLabel(label);
    }
    g.AddLink(1, 2, LinkKind::Simple);
    g.AddLink(2, 3, LinkKind::Simple);
    g.AddLink(3, 1, LinkKind::Unidirectional);
    g.AddLink(5, 2, LinkKind::Bidirectional);
    g.AddLink(6, 2, LinkKind::Simple);
    g.AddLink(3, 4, LinkKind::Unidirectional);
    for (int32_t j = 1; j <= g.LinkCount(); ++j)
        g.Link(j).Weight = static_cast<float>(j);
    la.Settings.Model = Model::S;
    la.Settings.ModelType = Scheme::LRP;
    la.Settings.Reward = 0.1f;
    la.Settings.LearningFactor = 0.2f;
    la.Ranges().AddRange(-100.0f, -0.5f, 0.0f);
    la.Ranges().AddRange(-0.5f, 0.5f, 0.5f);
    la.Ranges().AddRange(0.5f, 100.0f, 1.0f);
}

void CheckTokenizer(const std::string& bytes) {
    clsPathFile reader;
    reader.LoadText(bytes);
    std::u32string token;
    // Every token but the last takes at least one character.
    for (std::size_t calls = 0; calls <= bytes.size() + 1; ++calls) {
        int32_t type = TokenKind::None;
        reader.ReadToken(token, type);
        if (type == TokenKind::EndOfText || type == TokenKind::EmptyFile)
            return;
        if (type == TokenKind::Label) {
            if (token.empty())
                Fail("an empty label");
            for (const char32_t c : token) {
                if (c == U'{' || c == U'}' || c == U',' || c == U' ' || c == U'\t' || c == U'\n' ||
                    c == U'\r')
                    Fail("a label holds a delimiter");
            }
        } else if (token.size() != 1) {
            Fail("a delimiter token is not one character");
        }
    }
    Fail("the tokenizer does not end");
}

// The file lives in memory; the engine opens it by its /proc name as it would any other.
int MemoryFile() {
    static const int fd = memfd_create("paths.txt", 0);
    if (fd < 0)
        Fail("memfd_create");
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckTokenizer(bytes);

    const int fd = MemoryFile();
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(size))
        Fail("cannot write the path file");

    clsLA la;
    BuildGraph(la);
    la.Settings.GraphSearchMethod = SearchMethod::ReadFromFile;
    la.Settings.FilePath = "/proc/self/fd/" + std::to_string(fd);
    la.Settings.EnableDelay = size % 2 == 1;
    RunSession session(la.Graph(), la.Ranges(), la.Settings);
    Counter counter;
    session.AddObserver(counter);
    // Steps in small budgets, and stops at a pause now and then, so that every path is taken.
    while (true) {
        const RunState state = session.Step(7);
        if (state == RunState::Paused && counter.Learned % 7 == 6)
            session.Stop();
        else if (state == RunState::Running || state == RunState::Paused)
            continue;
        break;
    }
    if (counter.Learned != session.PathCount())
        Fail("paths learned and counted differ");
    for (int32_t j = 1; j <= la.Graph().LinkCount(); ++j) {
        const clsLink& link = la.Graph().Link(j);
        if (link.Flag)
            Fail("a link is left flagged");
        if (!std::isfinite(link.Probability))
            Fail("a probability is not finite");
    }
    std::vector<std::string> messages;
    if (session.State() == RunState::Failed)
        messages.push_back(session.Message());
    if (session.NotFound())
        messages.push_back("Not found any path.");
    int critical = 0;
    for (const std::string& m : messages) {
        if (m == "Not found any path.") {
            if (session.PathCount() != 0)
                Fail("no path reported after a path was learned");
        } else if (StartsWith(m, "Syntax error:\r\n") ||
                   StartsWith(m, "The following link not found.\r\n") ||
                   StartsWith(m, "Overflow") || m == "Division by zero") {
            ++critical;
        } else {
            std::fprintf(stderr, "message: %s\n", m.c_str());
            Fail("a message the path-file mode never shows");
        }
    }
    if (critical > 1)
        Fail("more than one error reported");
    return 0;
}
