// Runs pathloom-run and the plain program (plain_run) on the same cases, turn about, checks that
// their outputs are the same bytes and prints the better of their times and the ratio, with the
// geometric mean of each group of cases. Times are the CPU time (user and system) of the child
// process, which another program's load on the machine disturbs less than the wall clock. A
// program gets at most LimitSeconds of it; a case that one of them cannot finish is shown and
// left out of the means.
//   side_by_side RUNNER PLAIN FOLDER CASES [REPEATS]
// CASES holds one case a line: "group|name|document args" (the document in FOLDER).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr rlim_t LimitSeconds = 100;

// Runs the program with its standard output in the file; the child's CPU seconds, or -1 when it
// failed or ran out of time.
double Run(const std::vector<std::string>& command, const std::string& output) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{LimitSeconds, LimitSeconds};
        setrlimit(RLIMIT_CPU, &limit);
        const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        std::vector<char*> argv;
        for (const std::string& arg : command)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return -1;
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string Contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: side_by_side RUNNER PLAIN FOLDER CASES [REPEATS]\n");
        return 2;
    }
    const std::string runner = argv[1], plain = argv[2], folder = argv[3];
    const int repeats = argc > 5 ? std::max(1, std::atoi(argv[5])) : 5;
    std::ifstream cases(argv[4]);
    std::map<std::string, std::vector<double>> ratios;
    std::vector<std::string> groups;
    bool allSame = true;
    std::printf("%-36s %10s %10s %7s\n", "case", "runner ms", "plain ms", "ratio");
    for (std::string line; std::getline(cases, line);) {
        std::istringstream fields(line);
        std::string group, name, words;
        std::getline(fields, group, '|');
        std::getline(fields, name, '|');
        std::getline(fields, words);
        std::vector<std::string> args;
        std::istringstream split(words);
        for (std::string word; split >> word;)
            args.push_back(args.empty() ? folder + "/" + word : word);
        std::vector<std::string> first = {runner}, second = {plain};
        first.insert(first.end(), args.begin(), args.end());
        second.insert(second.end(), args.begin(), args.end());
        double a = 1e30, b = 1e30;
        for (int r = 0; r < repeats && a >= 0 && b >= 0; ++r) {
            a = std::min(a, Run(first, folder + "/runner.out"));
            b = std::min(b, Run(second, folder + "/plain.out"));
        }
        if (a < 0 || b < 0) {
            std::printf("%-36s %10s %10s  (failed or out of %d s)\n", name.c_str(),
                        a < 0 ? "-" : std::to_string(int(a * 1e3)).c_str(),
                        b < 0 ? "-" : std::to_string(int(b * 1e3)).c_str(), int(LimitSeconds));
            continue;
        }
        const bool same = Contents(folder + "/runner.out") == Contents(folder + "/plain.out");
        allSame = allSame && same;
        // A run too short for the clock's resolution counts as one tick.
        const double ratio = std::max(a, 1e-3) / std::max(b, 1e-3);
        if (ratios.find(group) == ratios.end())
            groups.push_back(group);
        ratios[group].push_back(ratio);
        std::printf("%-36s %10.1f %10.1f %7.2f %s\n", name.c_str(), a * 1e3, b * 1e3, ratio,
                    same ? "same" : "DIFFERENT");
        std::fflush(stdout);
    }
    for (const std::string& group : groups) {
        double logs = 0, worst = 0;
        for (const double r : ratios[group]) {
            logs += std::log(r);
            worst = std::max(worst, r);
        }
        std::printf("%-36s geometric mean %.2f, worst %.2f\n", group.c_str(),
                    std::exp(logs / ratios[group].size()), worst);
    }
    return allSame ? 0 : 1;
}
