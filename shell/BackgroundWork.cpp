#include "BackgroundWork.h"

#include "ProgressDialog.h"

#include <atomic>
#include <exception>
#include <memory>

BackgroundWork::BackgroundWork(QWidget* owner) : owner_(owner) {
    worker_.setMaxThreadCount(1);
}

bool BackgroundWork::Run(const QString& text, std::function<void()> work) {
    // Shared with the worker, which may outlive the wait.
    struct Job {
        std::function<void()> work;
        std::exception_ptr failure;
        std::atomic<bool> done{false};
    };
    const auto job = std::make_shared<Job>();
    job->work = std::move(work);
    worker_.start([job] {
        try {
            job->work();
        } catch (...) {
            job->failure = std::current_exception();
        }
        job->done = true;
    });
    if (!Platform::WaitForWork(owner_, text, [job] { return job->done.load(); }))
        return false;
    if (job->failure)
        std::rethrow_exception(job->failure);
    return true;
}
