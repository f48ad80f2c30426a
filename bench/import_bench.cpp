// Imports of the shapes that once took quadratic time: DOT tokens of 20,000 and 100,000
// characters, a DOT file that declares an attribute name for each of its 5,000 nodes, and GraphML
// elements with 80,000 attributes or data values, or 20,000 keys with defaults. Each import runs
// in a child of its own, which reports its processor time (the machine may be shared), its time
// and its peak memory; an import that takes more processor time than the bound fails the
// benchmark.
//   import_bench [CAP [NAME]]   CAP: processor seconds after which a child is stopped (default
//                               60); NAME: only the files whose names hold it

#include "GraphFormats.h"
#include "PathloomError.h"
#include "ProcessMemory.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double Bound = 2.0; // seconds: a file of this size is read at once

struct Shape {
    const char* description;
    const char* fileName;
    std::function<std::string()> text;
};

std::string DotWithLongLabel(std::size_t length) {
    return "digraph {\n  a [label=\"" + std::string(length, 'x') + "\"];\n  a -> b\n}\n";
}

std::string DotWithLongName(std::size_t length) {
    return "digraph {\n  " + std::string(length, 'x') + " -> b\n}\n";
}

std::string DotWithOwnAttributes(int nodes) {
    std::string text = "digraph {\n";
    for (int i = 0; i < nodes; ++i)
        text += "  n" + std::to_string(i) + " [a" + std::to_string(i) + "=1, pos=\"" +
                std::to_string(i * 60) + ",0\"];\n";
    return text + "}\n";
}

const char* const GraphMLHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\">\n";

std::string GraphMLWithAttributes(int count) {
    std::string text = std::string(GraphMLHead) + "  <graph edgedefault=\"directed\">\n";
    text += "    <node id=\"a\"";
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"1\"";
    return text + "/>\n    <node id=\"b\"/>\n    <edge source=\"a\" target=\"b\"/>\n  </graph>\n" +
           "</graphml>\n";
}

// Keys with defaults, and one node that gives a value for each of them.
std::string GraphMLWithData(int count) {
    std::string text = GraphMLHead;
    for (int i = 0; i < count; ++i)
        text += "  <key id=\"k" + std::to_string(i) + "\" for=\"node\" attr.name=\"k" +
                std::to_string(i) + "\"><default>0</default></key>\n";
    text += "  <graph edgedefault=\"directed\">\n    <node id=\"a\">";
    for (int i = 0; i < count; ++i)
        text += "<data key=\"k" + std::to_string(i) + "\">1</data>";
    return text + "</node>\n    <node id=\"b\"/>\n    <edge source=\"a\" target=\"b\"/>\n" +
           "  </graph>\n</graphml>\n";
}

// Keys with defaults, and many nodes placed by the file that give none of them.
std::string GraphMLWithDefaults(int keys, int nodes) {
    std::string text = GraphMLHead;
    for (int i = 0; i < keys; ++i)
        text += "  <key id=\"k" + std::to_string(i) + "\" for=\"node\" attr.name=\"k" +
                std::to_string(i) + "\"><default>0</default></key>\n";
    text += "  <key id=\"x\" for=\"node\" attr.name=\"x\"/><key id=\"y\" for=\"node\" "
            "attr.name=\"y\"/>\n  <graph edgedefault=\"directed\">\n";
    for (int i = 0; i < nodes; ++i)
        text += "    <node id=\"n" + std::to_string(i) + "\"><data key=\"x\">" +
                std::to_string(i * 60) + "</data><data key=\"y\">0</data></node>\n";
    return text + "  </graph>\n</graphml>\n";
}

double ProcessorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Writes the file, imports it and prints one row: seconds, peak MiB, what came of it.
int ImportOne(const Shape& shape, const std::string& folder) {
    const std::string file = folder + "/" + shape.fileName;
    {
        std::ofstream out(file, std::ios::binary);
        out << shape.text();
    }
    const long before = StatusKilobytes("VmHWM:");
    const double processorStart = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::string result;
    try {
        clsGraph graph;
        GraphFormats::Import(file, graph);
        result = std::to_string(graph.NodeCount()) + " nodes";
    } catch (const PathloomError& e) {
        result = "refused: " + e.Description().substr(e.Description().find(": ") + 2);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double processor = ProcessorSeconds() - processorStart;
    std::printf("%-58s %9.3f %9.3f %9.1f  %s\n", shape.description, processor, seconds,
                static_cast<double>(StatusKilobytes("VmHWM:") - before) / 1024, result.c_str());
    std::fflush(stdout); // the child ends without flushing
    return processor <= Bound ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const rlim_t cap = argc > 1 ? static_cast<rlim_t>(std::atol(argv[1])) : 60;
    const Shape shapes[] = {
        {"DOT, a quoted label of 20,000 characters", "token-20000.dot",
         [] { return DotWithLongLabel(20000); }},
        {"DOT, a quoted label of 100,000 characters", "token-100000.dot",
         [] { return DotWithLongLabel(100000); }},
        {"DOT, a node name of 20,000 characters", "name-20000.dot",
         [] { return DotWithLongName(20000); }},
        {"DOT, a node name of 100,000 characters", "name-100000.dot",
         [] { return DotWithLongName(100000); }},
        {"DOT, 5,000 nodes each with an attribute name of its own", "names-5000.dot",
         [] { return DotWithOwnAttributes(5000); }},
        {"GraphML, a node with 80,000 attributes", "attributes-80000.graphml",
         [] { return GraphMLWithAttributes(80000); }},
        {"GraphML, a node with values for 80,000 keys with defaults", "data-80000.graphml",
         [] { return GraphMLWithData(80000); }},
        {"GraphML, 20,000 keys with defaults, 20,000 nodes", "defaults-20000.graphml",
         [] { return GraphMLWithDefaults(20000, 20000); }},
    };
    char folder[] = "/tmp/pathloom-import-XXXXXX";
    if (!::mkdtemp(folder))
        return 2;
    std::printf("%-58s %9s %9s %9s  %s\n", "file", "cpu s", "seconds", "peak MiB", "result");
    int failed = 0;
    for (const Shape& shape : shapes) {
        if (argc > 2 && std::string(shape.fileName).find(argv[2]) == std::string::npos)
            continue;
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit limit{cap, cap + 1};
            ::setrlimit(RLIMIT_CPU, &limit);
            std::_Exit(ImportOne(shape, folder));
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)
            std::printf("%-58s %9s %9s %9s  stopped after %u processor seconds\n",
                        shape.description, "-", "-", "-", static_cast<unsigned>(cap));
        failed += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        ::unlink((std::string(folder) + "/" + shape.fileName).c_str());
    }
    ::rmdir(folder);
    std::printf("%s: every import within %.0f processor seconds\n", failed ? "FAILED" : "ok",
                Bound);
    return failed ? 1 : 0;
}
