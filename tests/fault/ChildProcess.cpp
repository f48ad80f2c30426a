#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {
int reportPipe = -1; // the write end, in the child
} // namespace

void ChildProcess::Report(const std::string& text) {
    if (reportPipe < 0)
        return;
    const std::string line = text + "\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(reportPipe, line.data() + done, line.size() - done);
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
}

ChildProcess::ChildProcess(const std::function<int()>& body) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("fork");
    if (pid_ == 0) {
        ::close(fds[0]);
        reportPipe = fds[1];
        int code = Thrown;
        try {
            code = body();
        } catch (const std::exception& e) {
            Report(std::string("exception: ") + e.what());
        } catch (...) {
            Report("exception");
        }
        // No exit handlers: they belong to the test process (and its leak check).
        ::_exit(code);
    }
    ::close(fds[1]);
    pipe_ = fds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (pipe_ >= 0)
        ::close(pipe_);
}

std::string ChildProcess::ReadReport() {
    while (true) {
        const std::size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        char buffer[4096];
        const ssize_t n = ::read(pipe_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            std::string rest;
            rest.swap(pending_);
            return rest;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

void ChildProcess::Kill(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

ChildProcess::Result ChildProcess::Wait(int timeoutSeconds) {
    Result result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    // Reads while waiting, so that a child with much to say never blocks on a full pipe.
    bool closed = false;
    const auto drain = [this, &closed](int waitMilliseconds) {
        if (closed) {
            ::usleep(static_cast<useconds_t>(waitMilliseconds) * 1000);
            return;
        }
        pollfd fd{pipe_, POLLIN, 0};
        while (::poll(&fd, 1, waitMilliseconds) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(pipe_, buffer, sizeof buffer);
            if (n <= 0) {
                closed = n == 0 || errno != EINTR;
                return;
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
            waitMilliseconds = 0;
        }
    };
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_)
            break;
        if (done < 0 && errno != EINTR)
            throw std::runtime_error("waitpid");
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        drain(5);
    }
    pid_ = -1;
    drain(0);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.report.swap(pending_);
    return result;
}

ChildProcess::Result ChildProcess::Run(const std::function<int()>& body, int timeoutSeconds) {
    ChildProcess child(body);
    return child.Wait(timeoutSeconds);
}
