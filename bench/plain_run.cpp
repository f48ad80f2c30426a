// The yardstick of bench/run.sh: the runs of pathloom-run written plainly over arrays, with the
// same learning, the same paths in the same order and the same JSON, byte for byte, so that the
// runner's time can be set against what such a run costs at least. It takes the runner's options
// (P-model only, nodes as #N, path files in ASCII) and writes what `pathloom-run ... --json`
// writes. Sampled runs also take --length (nodes as labels or #N, non-negative means) and
// --threshold, and write an experiment's figures as the runner does. Enumerations never enter a
// branch that cannot complete a path: up to 64 nodes a step is taken only when the destination, or
// every node still to visit, can be reached from it through unvisited nodes (bit masks); on larger
// graphs the walk to a destination marks nodes from which the destination cannot be reached until a
// node they depend on leaves the path, and the walk through all nodes checks the unvisited nodes by
// a flood over the links once at most 4,096 are left (before, a flood costs more than it saves).

#include "Choices.h"
#include "DocumentFile.h"
#include "LinkLength.h"
#include "PathloomError.h"
#include "clsLA.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

[[noreturn]] void Unsupported(const std::string& what) {
    std::fprintf(stderr, "plain_run: %s\n", what.c_str());
    std::exit(2);
}

// Output through one buffer, written out in large blocks.
struct Out {
    std::vector<char> buffer;
    Out() { buffer.reserve(1 << 17); }
    ~Out() { Flush(); }
    void Flush() {
        std::fwrite(buffer.data(), 1, buffer.size(), stdout);
        buffer.clear();
    }
    void Text(const char* text, std::size_t size) {
        buffer.insert(buffer.end(), text, text + size);
        if (buffer.size() >= (1 << 16))
            Flush();
    }
    void Text(const std::string& text) { Text(text.data(), text.size()); }
    void Text(const char* text) { Text(text, std::strlen(text)); }
    template <typename Number> void Num(Number value) {
        if constexpr (std::is_floating_point_v<Number>) {
            if (!std::isfinite(value))
                return Text("null");
        }
        char text[32];
        Text(text, static_cast<std::size_t>(std::to_chars(text, text + 32, value).ptr - text));
    }
};

// Latin-1 as UTF-8 inside a JSON string.
std::string JsonPiece(const std::string& latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out;
}

struct Failure {
    std::string message; // as the runner's JSON shows it
};
[[noreturn]] void Overflow() {
    throw Failure{"Overflow"};
}
// A value that is not finite, or beyond the float range, stays so as a float.
float Store(double value) {
    const auto f = static_cast<float>(value);
    if (!std::isfinite(f))
        Overflow();
    return f;
}

struct Graph {
    int32_t n = 0, m = 0;
    std::vector<int32_t> from, to, kind;
    std::vector<float> weight, probability;
    std::vector<std::string> label;
    std::vector<std::string> piece; // "from->to:" of each link, ready for a JSON string
    std::vector<int32_t> moveStart, moveTo, moveLink;      // steps from each node, in link order
    std::vector<int32_t> fromStart, fromLink;              // links stored from each node
    std::vector<double> rLessOne;                          // out-degree - 1
    std::vector<std::shared_ptr<const LinkLength>> length; // drawn lengths, empty for none
};

Graph Arrays(const clsGraph& g) {
    Graph a;
    a.n = g.NodeCount();
    a.m = g.LinkCount();
    std::unordered_map<const clsNode*, int32_t> at;
    for (int32_t i = 0; i < a.n; ++i) {
        at[&g.Node(i + 1)] = i;
        a.label.push_back(g.Node(i + 1).Label());
    }
    std::vector<int32_t> degree(static_cast<std::size_t>(a.n), 0);
    std::vector<std::vector<int32_t>> moves(static_cast<std::size_t>(a.n)),
        links(static_cast<std::size_t>(a.n));
    for (int32_t j = 0; j < a.m; ++j) {
        const clsLink& l = g.Link(j + 1);
        const int32_t f = at.at(l.FromNode), t = at.at(l.ToNode);
        a.from.push_back(f);
        a.to.push_back(t);
        a.kind.push_back(l.LinkType);
        a.weight.push_back(l.Weight);
        a.probability.push_back(l.InitialProbability);
        a.piece.push_back(JsonPiece(a.label[f] + "->" + a.label[t] + ":"));
        moves[f].push_back(j);
        links[f].push_back(j);
        ++degree[f];
        if (l.LinkType != 1) {
            ++degree[t];
            if (t != f)
                moves[t].push_back(j);
        }
    }
    for (int32_t j = 0; j < a.m; ++j) {
        if (a.kind[j] == 1)
            a.probability[j] = static_cast<float>(1.0 / degree[a.from[j]]);
        if (g.Link(j + 1).Length) {
            a.length.resize(static_cast<std::size_t>(a.m));
            a.length[j] = g.Link(j + 1).Length;
        }
    }
    for (int32_t v = 0; v < a.n; ++v) {
        a.moveStart.push_back(static_cast<int32_t>(a.moveTo.size()));
        for (const int32_t j : moves[v]) {
            a.moveTo.push_back(a.from[j] == v ? a.to[j] : a.from[j]);
            a.moveLink.push_back(j);
        }
        a.fromStart.push_back(static_cast<int32_t>(a.fromLink.size()));
        a.fromLink.insert(a.fromLink.end(), links[v].begin(), links[v].end());
        a.rLessOne.push_back(degree[v] - 1.0);
    }
    a.moveStart.push_back(static_cast<int32_t>(a.moveTo.size()));
    a.fromStart.push_back(static_cast<int32_t>(a.fromLink.size()));
    return a;
}

struct Random {
    uint64_t s[4];
    explicit Random(uint64_t seed) {
        for (uint64_t& word : s) {
            uint64_t z = (seed += 0x9e3779b97f4a7c15u);
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
            word = z ^ (z >> 31);
        }
    }
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    double Uniform() {
        const uint64_t result = Rotl(s[1] * 5, 7) * 9;
        const uint64_t t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = Rotl(s[3], 45);
        return static_cast<double>(result >> 11) * 0x1.0p-53;
    }
};

// P-model learning with the linear reward and penalty; the cheapest path so far.
struct Learner {
    Graph& g;
    double a, b;
    bool tiesRewarded;
    std::vector<double> penaltyShare; // b / (r - 1) per node; NaN where r - 1 is 0
    bool first = true;
    float reference = 0;
    std::vector<int32_t> best;
    float bestCost = 0;
    int32_t paths = 0;
    int32_t maxPaths;

    // With b = 0 a penalty gives every link back its value, unless a sibling holds -0 (which
    // turns +0) or has r - 1 = 0 (which raises); with a <= 1 nothing makes a -0 that was not
    // there at the start.
    bool idlePenalty = false;

    Learner(Graph& graph, double reward, double penalty, bool ties, int32_t most)
        : g(graph), a(reward), b(penalty), tiesRewarded(ties), maxPaths(most) {
        idlePenalty = b == 0 && a <= 1;
        for (int32_t v = 0; v < g.n; ++v) {
            const double r = g.rLessOne[v];
            penaltyShare.push_back(r == 0 ? std::nan("") : b / r);
            if (r == 0 && g.fromStart[v + 1] - g.fromStart[v] > 1)
                idlePenalty = false;
        }
        for (const float p : g.probability)
            idlePenalty = idlePenalty && !(p == 0 && std::signbit(p));
    }

    // Drawn lengths and the mean threshold.
    struct Random* random = nullptr;
    int64_t draws = 0;
    bool meanThreshold = false;
    double costSum = 0;
    int64_t costCount = 0;

    float Cost(const int32_t* path, int32_t length);

    float Learn(const int32_t* path, int32_t length) {
        const float cost = Cost(path, length);
        bool favourable = first || cost < reference || (tiesRewarded && cost == reference);
        if (meanThreshold) {
            costSum += cost;
            favourable = cost <= costSum / static_cast<double>(++costCount);
        }
        float* const p = g.probability.data();
        const int32_t* const fromStart = g.fromStart.data();
        const int32_t* const fromLink = g.fromLink.data();
        if (favourable) {
            first = false;
            reference = cost;
            const double keep = 1.0 - a;
            for (int32_t k = 0; k < length; ++k) {
                const int32_t l = path[k], v = g.from[l];
                p[l] = Store(p[l] + a * (1.0 - p[l]));
                for (int32_t i = fromStart[v], end = fromStart[v + 1]; i < end; ++i) {
                    if (fromLink[i] != l)
                        p[fromLink[i]] = Store(keep * p[fromLink[i]]);
                }
            }
        } else if (!idlePenalty) {
            const double keep = 1.0 - b;
            for (int32_t k = 0; k < length; ++k) {
                const int32_t l = path[k], v = g.from[l];
                p[l] = Store(keep * p[l]);
                const double share = penaltyShare[v];
                for (int32_t i = fromStart[v], end = fromStart[v + 1]; i < end; ++i) {
                    if (fromLink[i] == l)
                        continue;
                    if (std::isnan(share))
                        throw Failure{g.rLessOne[v] == 0 ? "Division by zero" : "Overflow"};
                    p[fromLink[i]] = Store(share + keep * p[fromLink[i]]);
                }
            }
        }
        if (best.empty() || cost < bestCost) {
            bestCost = cost;
            best.assign(path, path + length);
        }
        return cost;
    }
};

float Learner::Cost(const int32_t* path, int32_t length) {
    float cost = 0;
    if (g.length.empty()) {
        for (int32_t k = 0; k < length; ++k)
            cost = Store(double(cost) + double(g.weight[path[k]]));
        return cost;
    }
    for (int32_t k = 0; k < length; ++k) {
        float drawn = g.weight[path[k]];
        if (const LinkLength* l = g.length[path[k]].get()) {
            drawn = static_cast<float>(l->Draw([this] { return random->Uniform(); }));
            ++draws;
        }
        cost = static_cast<float>(double(cost) + double(drawn));
    }
    return Store(cost);
}

// Prints each path as it is learned.
struct Printer {
    Out& out;
    const Graph& g;
    bool quiet;
    void Path(int32_t number, const int32_t* path, int32_t length, float cost) {
        if (quiet)
            return;
        out.Text(number == 1 ? "\n  {\"n\": " : ",\n  {\"n\": ");
        out.Num(number);
        out.Text(", \"trace\": \"");
        for (int32_t k = 0; k < length; ++k)
            out.Text(g.piece[path[k]]);
        out.Text("\", \"cost\": ");
        out.Num(cost);
        out.Text("}");
    }
};

// Counts, learns and prints a path found; the 32,768th of an enumeration ends the run.
struct Sink {
    Learner& learner;
    Printer& printer;
    void Found(const int32_t* path, int32_t length) {
        if (learner.paths == learner.maxPaths)
            throw Failure{"Overflow\\r\\nThe run stopped because a run counts at most 32,767 "
                          "paths."};
        ++learner.paths;
        const float cost = learner.Learn(path, length);
        printer.Path(learner.paths, path, length, cost);
    }
};

// ---- enumerations ----

struct Walk {
    const Graph& g;
    int32_t source, dest; // dest -1: through all nodes
    std::vector<int32_t> next, end, links, nodes;
    std::vector<uint8_t> onPath;
    uint64_t mask = 0; // the nodes on the path, on graphs of up to 64 nodes
    int32_t depth = 1, length = 0, count = 0;

    Walk(const Graph& graph, int32_t s, int32_t d) : g(graph), source(s), dest(d) {
        const auto size = static_cast<std::size_t>(g.n) + 1;
        next.resize(size), end.resize(size), links.resize(size), nodes.resize(size);
        onPath.assign(size, 0);
        next[0] = g.moveStart[s];
        end[0] = g.moveStart[s + 1];
    }
    void Push(int32_t step, int32_t node) {
        links[length] = g.moveLink[step];
        nodes[length++] = node;
        onPath[node] = 1;
        ++count;
        if (length == 1 && !onPath[source]) {
            onPath[source] = 1;
            ++count;
        }
        if (g.n <= 64)
            mask |= uint64_t{1} << node | uint64_t{1} << source;
    }
    void Pop() {
        onPath[nodes[--length]] = 0;
        --count;
        if (g.n <= 64)
            mask &= ~(uint64_t{1} << nodes[length]);
        if (length == 0 && onPath[source]) {
            onPath[source] = 0;
            --count;
            mask = 0;
        }
    }
    bool Complete(int32_t node) const { return dest >= 0 ? node == dest : count == g.n; }

    // Depth-first in link order; Viable(node) says whether a path can still be completed from
    // the node just stepped to, Left(node, found) is told when the walk steps back from it.
    template <typename Viable, typename Left> void Run(Sink& sink, Viable viable, Left left) {
        std::vector<uint8_t> found(next.size(), 0);
        while (depth > 0) {
            const int32_t d = depth - 1;
            if (next[d] == end[d]) {
                if (--depth > 0) {
                    const int32_t node = nodes[length - 1];
                    left(node, found[d] != 0);
                    found[d - 1] |= found[d];
                    Pop();
                }
                continue;
            }
            const int32_t step = next[d]++;
            const int32_t node = g.moveTo[step];
            if (onPath[node])
                continue;
            Push(step, node);
            if (Complete(node)) {
                found[d] = 1;
                sink.Found(links.data(), length);
                Pop();
                continue;
            }
            if (!viable(node)) {
                Pop();
                continue;
            }
            found[depth] = 0;
            next[depth] = g.moveStart[node];
            end[depth++] = g.moveStart[node + 1];
        }
    }
};

void Enumerate(const Graph& g, int32_t source, int32_t dest, Sink& sink) {
    Walk walk(g, source, dest);
    const auto none = [](int32_t, bool) {};
    if (g.n <= 64) {
        std::vector<uint64_t> adjacent(static_cast<std::size_t>(g.n), 0);
        for (int32_t v = 0; v < g.n; ++v) {
            for (int32_t i = g.moveStart[v]; i < g.moveStart[v + 1]; ++i)
                adjacent[v] |= uint64_t{1} << g.moveTo[i];
        }
        const uint64_t all = g.n == 64 ? ~uint64_t{0} : (uint64_t{1} << g.n) - 1;
        const uint64_t destBit = dest >= 0 ? uint64_t{1} << dest : 0;
        walk.Run(
            sink,
            [&](int32_t node) {
                const uint64_t open = all & ~walk.mask;
                uint64_t reached = 0, frontier = uint64_t{1} << node;
                while (frontier) {
                    uint64_t grown = 0;
                    for (uint64_t f = frontier; f; f &= f - 1)
                        grown |= adjacent[static_cast<std::size_t>(__builtin_ctzll(f))];
                    frontier = grown & open & ~reached;
                    reached |= frontier;
                    if (destBit && (reached & destBit))
                        return true;
                }
                return destBit ? false : reached == open;
            },
            none);
        return;
    }
    if (dest >= 0) {
        // A node the walk stepped back from without reaching the destination stays dead until a
        // node it has a step to is freed with a way to the destination.
        std::vector<uint8_t> dead(static_cast<std::size_t>(g.n), 0);
        std::vector<std::vector<int32_t>> waiting(static_cast<std::size_t>(g.n));
        std::vector<uint8_t> listed(g.moveTo.size(), 0);
        std::vector<int32_t> stepFrom(g.moveTo.size());
        for (int32_t v = 0; v < g.n; ++v) {
            for (int32_t i = g.moveStart[v]; i < g.moveStart[v + 1]; ++i)
                stepFrom[i] = v;
        }
        std::vector<int32_t> freed;
        walk.Run(
            sink, [&](int32_t node) { return !dead[node]; },
            [&](int32_t node, bool found) {
                if (!found) {
                    dead[node] = 1;
                    for (int32_t i = g.moveStart[node]; i < g.moveStart[node + 1]; ++i) {
                        if (!listed[i]) {
                            listed[i] = 1;
                            waiting[g.moveTo[i]].push_back(i);
                        }
                    }
                    return;
                }
                freed.assign(1, node);
                while (!freed.empty()) {
                    const int32_t u = freed.back();
                    freed.pop_back();
                    for (const int32_t i : waiting[u]) {
                        listed[i] = 0;
                        if (dead[stepFrom[i]]) {
                            dead[stepFrom[i]] = 0;
                            freed.push_back(stepFrom[i]);
                        }
                    }
                    waiting[u].clear();
                }
            });
        return;
    }
    std::vector<int32_t> mark(static_cast<std::size_t>(g.n), 0), stack;
    int32_t stamp = 0;
    walk.Run(
        sink,
        [&](int32_t node) {
            if (g.n - walk.count > 4096)
                return true;
            ++stamp;
            int32_t reached = 0;
            stack.assign(1, node);
            mark[node] = stamp;
            while (!stack.empty()) {
                const int32_t v = stack.back();
                stack.pop_back();
                for (int32_t i = g.moveStart[v]; i < g.moveStart[v + 1]; ++i) {
                    const int32_t w = g.moveTo[i];
                    if (mark[w] != stamp && !walk.onPath[w]) {
                        mark[w] = stamp;
                        ++reached;
                        stack.push_back(w);
                    }
                }
            }
            return reached == g.n - walk.count;
        },
        none);
}

// ---- sampled paths ----

void Sample(const Graph& g, int32_t source, int32_t dest, int64_t samples, uint64_t seed,
            Sink& sink, int64_t& deadEnds) {
    Random random(seed);
    sink.learner.random = &random;
    std::vector<uint32_t> visited(static_cast<std::size_t>(g.n), 0);
    std::vector<int32_t> path(static_cast<std::size_t>(g.n));
    std::vector<int32_t> stepBuffer(g.moveTo.size() + 1);
    std::vector<double> sumBuffer(g.moveTo.size() + 1);
    int32_t* const step = stepBuffer.data();
    double* const sums = sumBuffer.data();
    const float* const p = g.probability.data();
    const int32_t *const start = g.moveStart.data(), *const to = g.moveTo.data(),
                         *const link = g.moveLink.data();
    for (int64_t sample = 1; sample <= samples; ++sample) {
        const auto mark = static_cast<uint32_t>(sample);
        int32_t at = source, length = 0;
        visited[at] = mark;
        while (true) {
            // The candidates and the running sums of their probabilities, then the first whose
            // sum passes u times the whole (or the last).
            double total = 0;
            int32_t candidates = 0;
            for (int32_t i = start[at]; i < start[at + 1]; ++i) {
                if (visited[to[i]] != mark) {
                    step[candidates] = i;
                    total += p[link[i]];
                    sums[candidates++] = total;
                }
            }
            if (candidates == 0) {
                ++deadEnds;
                break;
            }
            const double u = random.Uniform();
            int32_t pick = candidates - 1;
            if (total > 0) {
                const double bar = u * total;
                for (int32_t k = 0; k < candidates - 1; ++k) {
                    if (sums[k] > bar) {
                        pick = k;
                        break;
                    }
                }
            } else {
                pick = std::min(pick, static_cast<int32_t>(std::floor(u * candidates)));
            }
            const int32_t chosen = step[pick];
            path[length++] = link[chosen];
            at = to[chosen];
            visited[at] = mark;
            if (at == dest) {
                sink.Found(path.data(), length);
                break;
            }
        }
    }
}

// ---- path files ----

void ReadPaths(const Graph& g, const std::string& file, Sink& sink) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        Unsupported("cannot read " + file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::unordered_map<std::string, int32_t> nodeOf;
    for (int32_t v = 0; v < g.n; ++v) {
        std::string folded = g.label[v];
        for (char& c : folded) {
            if (c & 0x80)
                Unsupported("labels beyond ASCII");
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (!nodeOf.emplace(folded, v).second)
            Unsupported("duplicate labels");
    }
    std::unordered_map<uint64_t, int32_t> linkOf;
    const auto key = [](int32_t a, int32_t b) { return uint64_t(uint32_t(a)) << 32 | uint32_t(b); };
    for (int32_t j = 0; j < g.m; ++j) {
        linkOf.emplace(key(g.from[j], g.to[j]), j);
        if (g.kind[j] != 1)
            linkOf.emplace(key(g.to[j], g.from[j]), j);
    }
    std::vector<int32_t> path;
    std::string word;
    int32_t previous = -1;
    bool open = false, label = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '\0';
        if (c & 0x80)
            Unsupported("path files beyond ASCII");
        const bool delimiter = c == '{' || c == '}' || c == ',' || c == '\0';
        if (!delimiter && c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (!word.empty()) {
            if (!open || label)
                Unsupported("a syntax error");
            const auto node = nodeOf.find(word);
            if (node == nodeOf.end())
                Unsupported("an unknown label");
            if (previous >= 0) {
                const auto found = linkOf.find(key(previous, node->second));
                if (found == linkOf.end())
                    Unsupported("a missing link");
                path.push_back(found->second);
            }
            previous = node->second;
            label = true;
            word.clear();
        }
        if (c == '{' && !open) {
            open = true, label = false, previous = -1;
            path.clear();
        } else if (c == ',' && open && label) {
            label = false;
        } else if (c == '}' && open && label) {
            open = false;
            sink.Found(path.data(), static_cast<int32_t>(path.size()));
        } else if (c == '\0' && !open && i > 0) {
            return;
        } else if (delimiter) {
            Unsupported("a syntax error");
        }
    }
}

// ---- an experiment's figures ----

// A node by label or #N; a link "A->B" as stored, else a simple or bidirectional one backwards.
struct Names {
    std::unordered_map<std::string, int32_t> node;
    std::unordered_map<uint64_t, int32_t> stored, backwards;
    static uint64_t Key(int32_t a, int32_t b) { return uint64_t(uint32_t(a)) << 32 | uint32_t(b); }
    explicit Names(const Graph& g) {
        for (int32_t v = 0; v < g.n; ++v)
            node.emplace(g.label[v], v);
        for (int32_t j = 0; j < g.m; ++j) {
            stored.emplace(Key(g.from[j], g.to[j]), j);
            if (g.kind[j] != 1)
                backwards.emplace(Key(g.to[j], g.from[j]), j);
        }
    }
    int32_t Node(const std::string& name) const {
        if (name.size() > 1 && name[0] == '#')
            return std::stoi(name.substr(1)) - 1;
        const auto found = node.find(name);
        if (found == node.end())
            Unsupported("an unknown label (labels as stored only): " + name);
        return found->second;
    }
    int32_t Link(const std::string& name) const {
        const std::size_t arrow = name.find("->");
        const uint64_t key = Key(Node(name.substr(0, arrow)), Node(name.substr(arrow + 2)));
        const auto found = stored.find(key);
        if (found != stored.end())
            return found->second;
        const auto back = backwards.find(key);
        if (back == backwards.end())
            Unsupported("no link " + name);
        return back->second;
    }
};

struct Measured {
    bool found = false;
    std::vector<int32_t> links;
    double probability = 1.0;
    float cost = 0;
};

// At each node its most probable link to a node not yet on the path, the first on ties.
Measured Preferred(const Graph& g, int32_t source, int32_t dest) {
    Measured path;
    std::vector<bool> on(static_cast<std::size_t>(g.n), false);
    on[source] = true;
    for (int32_t at = source; at != dest;) {
        int32_t best = -1;
        for (int32_t i = g.moveStart[at]; i < g.moveStart[at + 1]; ++i) {
            if (!on[g.moveTo[i]] &&
                (best < 0 || g.probability[g.moveLink[i]] > g.probability[g.moveLink[best]]))
                best = i;
        }
        if (best < 0)
            return Measured{};
        path.links.push_back(g.moveLink[best]);
        path.probability *= static_cast<double>(g.probability[g.moveLink[best]]);
        at = g.moveTo[best];
        on[at] = true;
    }
    path.found = true;
    return path;
}

float Sum(float a, float b) {
    return static_cast<float>(double(a) + double(b));
}

// Dijkstra: nodes settled by distance then position, moves in link order, only a strictly
// smaller distance replacing one.
Measured Shortest(const Graph& g, int32_t source, int32_t dest) {
    for (const float w : g.weight) {
        if (w < 0)
            Unsupported("negative means");
    }
    std::vector<float> distance(static_cast<std::size_t>(g.n), INFINITY);
    std::vector<int32_t> via(static_cast<std::size_t>(g.n), -1), previous(via);
    std::vector<bool> settled(static_cast<std::size_t>(g.n), false);
    std::set<std::pair<float, int32_t>> queue{{0.0f, source}};
    distance[source] = 0;
    while (!queue.empty()) {
        const int32_t at = queue.begin()->second;
        queue.erase(queue.begin());
        settled[at] = true;
        if (at == dest)
            break;
        for (int32_t i = g.moveStart[at]; i < g.moveStart[at + 1]; ++i) {
            const int32_t to = g.moveTo[i];
            const float through = Sum(distance[at], g.weight[g.moveLink[i]]);
            if (settled[to] || !(through < distance[to]))
                continue;
            queue.erase({distance[to], to});
            distance[to] = through;
            via[to] = g.moveLink[i];
            previous[to] = at;
            queue.emplace(through, to);
        }
    }
    Measured path;
    if (!settled[dest])
        return path;
    for (int32_t at = dest; at != source; at = previous[at])
        path.links.push_back(via[at]);
    std::reverse(path.links.begin(), path.links.end());
    path.found = true;
    path.cost = distance[dest];
    return path;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        Unsupported("usage: plain_run DOCUMENT.plm --method all|dest|file|sample [options] --json");
    clsLA la;
    try {
        LoadGraph(la, args[0]);
    } catch (const PathloomError& e) {
        Unsupported(e.Description());
    }
    std::string method, paths;
    int32_t source = -1, dest = -1;
    int64_t samples = 10000;
    uint64_t seed = 1;
    int32_t scheme = la.Settings.ModelType;
    float reward = la.Settings.Reward, penalty = la.Settings.Penalty;
    bool quiet = false, json = false, meanThreshold = false;
    std::vector<std::string> lengths;
    const auto node = [&](const std::string& text) {
        if (text.size() < 2 || text[0] != '#')
            Unsupported("nodes as #N only");
        return std::stoi(text.substr(1)) - 1;
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (++i == args.size())
                Unsupported("a value missing after " + arg);
            return args[i];
        };
        if (arg == "--method")
            method = value();
        else if (arg == "--source")
            source = node(value());
        else if (arg == "--dest")
            dest = node(value());
        else if (arg == "--paths")
            paths = value();
        else if (arg == "--samples")
            samples = std::stoll(value());
        else if (arg == "--seed")
            seed = std::stoull(value());
        else if (arg == "--reward")
            reward = std::strtof(value().c_str(), nullptr);
        else if (arg == "--penalty")
            penalty = std::strtof(value().c_str(), nullptr);
        else if (arg == "--scheme")
            scheme = Choices::Schemes.Parse(value()).value_or(-1);
        else if (arg == "--quiet")
            quiet = true;
        else if (arg == "--length")
            lengths.push_back(value());
        else if (arg == "--threshold")
            meanThreshold = value() == "mean";
        else if (arg == "--json")
            json = true;
        else
            Unsupported("not taken here: " + arg);
    }
    if (!json || la.Settings.Model != Model::P)
        Unsupported("JSON and the P-model only");
    penalty = scheme == Scheme::LRP ? reward : scheme == Scheme::LRI ? 0.0f : penalty;

    Graph g = Arrays(la.Graph());
    if (!lengths.empty()) {
        const Names names(g);
        g.length.resize(static_cast<std::size_t>(g.m)); // keeps the document's
        for (const std::string& text : lengths) {
            const std::size_t equals = text.find('=');
            const int32_t j = names.Link(text.substr(0, equals));
            g.length[j] =
                std::make_shared<const LinkLength>(LinkLength::Parse(text.substr(equals + 1)));
            g.weight[j] = static_cast<float>(g.length[j]->Mean());
        }
    }
    const bool sampled = method == "sample";
    const bool experiment = !g.length.empty() || meanThreshold;
    if (experiment && !sampled)
        Unsupported("experiments with --method sample only");
    Out out;
    Learner learner(g, reward, penalty, sampled, sampled ? INT32_MAX : 32767);
    learner.meanThreshold = meanThreshold;
    Printer printer{out, g, quiet};
    Sink sink{learner, printer};
    int64_t deadEnds = 0;
    std::string failure;
    out.Text("{\"paths\": [");
    try {
        if (method == "all")
            Enumerate(g, source, -1, sink);
        else if (method == "dest")
            Enumerate(g, source, dest, sink);
        else if (method == "file")
            ReadPaths(g, paths, sink);
        else if (sampled)
            Sample(g, source, dest, samples, seed, sink, deadEnds);
        else
            Unsupported("no such method: " + method);
    } catch (const Failure& f) {
        failure = f.message;
    }
    out.Text("],\n\"status\": \"");
    out.Text(!failure.empty() ? "error" : learner.paths == 0 ? "not-found" : "ok");
    out.Text("\", \"message\": ");
    out.Text(failure.empty() ? "null" : "\"" + failure + "\"");
    out.Text(",\n\"pathCount\": ");
    out.Num(learner.paths);
    out.Text(reward == 0 && penalty == 0 ? ",\n\"learnsNothing\": true,\n"
                                         : ",\n\"learnsNothing\": false,\n");
    if (sampled) {
        out.Text("\"samples\": ");
        out.Num(samples);
        out.Text(", \"deadEnds\": ");
        out.Num(deadEnds);
        out.Text(",\n\"bestCost\": ");
        double probability = 1.0;
        std::string trace;
        for (const int32_t l : learner.best) {
            probability *= static_cast<double>(g.probability[l]);
            trace += g.piece[l];
        }
        if (learner.best.empty()) {
            out.Text("null, \"bestPath\": null,\n\"bestPathProbability\": null");
        } else {
            out.Num(learner.bestCost);
            out.Text(", \"bestPath\": \"" + trace + "\",\n\"bestPathProbability\": ");
            out.Num(probability);
        }
        out.Text(", \"convergedAt\": null,\n");
    }
    if (experiment) {
        const Measured preferred = Preferred(g, source, dest), shortest = Shortest(g, source, dest);
        const auto trace = [&](const Measured& path) {
            std::string text = "\"";
            for (const int32_t l : path.links)
                text += g.piece[l];
            return path.found ? text + "\"" : std::string("null");
        };
        float preferredCost = 0;
        for (const int32_t l : preferred.links)
            preferredCost = Sum(preferredCost, g.weight[l]);
        out.Text("\"linkDraws\": ");
        out.Num(learner.draws);
        out.Text(", \"preferredPath\": " + trace(preferred) + ",\n\"preferredPathProbability\": ");
        preferred.found ? out.Num(preferred.probability) : out.Text("null");
        out.Text(", \"expectedShortestPath\": " + trace(shortest) +
                 ",\n\"expectedShortestCost\": ");
        shortest.found ? out.Num(shortest.cost) : out.Text("null");
        out.Text(", \"convergedOnShortest\": ");
        out.Text(preferred.found && shortest.found && preferredCost == shortest.cost ? "true"
                                                                                     : "false");
        out.Text(",\n");
    }
    out.Text("\"links\": [");
    for (int32_t j = 0; j < g.m; ++j) {
        out.Text(j > 0 ? ",\n  {\"index\": " : "\n  {\"index\": ");
        out.Num(j + 1);
        out.Text(", \"from\": \"" + JsonPiece(g.label[g.from[j]]) + "\", \"to\": \"" +
                 JsonPiece(g.label[g.to[j]]) + "\", \"type\": ");
        out.Num(g.kind[j]);
        out.Text(", \"weight\": ");
        out.Num(g.weight[j]);
        out.Text(", \"probability\": ");
        out.Num(g.probability[j]);
        out.Text("}");
    }
    out.Text("]}\n");
    return 0;
}
