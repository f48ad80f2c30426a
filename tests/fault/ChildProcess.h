#pragma once
// Runs a piece of a test in a forked child, so that it can drop privileges, change its limits
// or mount, or be killed, without touching the test process.

#include <functional>
#include <string>

class ChildProcess {
  public:
    // Exit codes a child body may return besides its own.
    static constexpr int Skipped = 77; // the machine cannot do what the body needs
    static constexpr int Thrown = 78;  // the body let an exception out

    struct Result {
        bool exited = false; // ended by _exit, with code
        int code = -1;
        int signal = 0; // ended by this signal
        bool timedOut = false;
        std::string report; // what the body wrote with Report
    };

    // Forks, runs body in the child and ends it with body's result; waits at most timeoutSeconds
    // and kills the child after that.
    static Result Run(const std::function<int()>& body, int timeoutSeconds = 60);

    // From inside a body: text for the parent (appended to Result::report).
    static void Report(const std::string& text);

    // Starts body in a child and returns at once; Wait or Kill ends it.
    explicit ChildProcess(const std::function<int()>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Blocks until the child writes its first Report (or ends); returns that text.
    std::string ReadReport();
    void Kill(int signal);
    Result Wait(int timeoutSeconds = 60);

  private:
    int pid_ = -1;
    int pipe_ = -1;
    std::string pending_;
};
