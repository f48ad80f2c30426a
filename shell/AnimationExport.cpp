#include "AnimationExport.h"

#include "GraphDocument.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "ProgressDialog.h"
#include "RunAnimation.h"
#include "ThreadPriority.h"
#include "clsLA.h"

#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>

AnimationExport::AnimationExport(QWidget* owner)
    : owner_(owner),
      fileDialog_("GIF Animation (*.gif);;WebM Video (*.webm)", "gif", "Export Run Animation") {}

void AnimationExport::Export(const GraphDocument& document, const RunSettings& settings) {
    const AnimationOptions defaults;
    const std::optional<frmAnimation::Values> values =
        dialog_.ShowDialog(owner_, {defaults.pathsPerFrame, defaults.maxFrames},
                           {AnimationOptions::MostPathsPerFrame, AnimationOptions::MostFrames});
    if (!values)
        return;
    const std::optional<QString> fileName = fileDialog_.ShowSave(owner_);
    if (!fileName)
        return;
    const AnimationOptions options{values->pathsPerFrame, static_cast<int32_t>(values->maxFrames)};

    // The run's own copy: the window may change the document while it waits.
    auto engine = std::make_unique<clsLA>();
    engine->Graph().CopyFrom(document.Graph());
    engine->Ranges() = document.Ranges();
    struct Shared {
        std::mutex mutex;
        Platform::WorkProgress progress{"Starting the run..."};
        std::atomic<bool> cancel{false}, done{false};
        std::exception_ptr failure;
    } shared;
    std::thread worker([&] {
        Platform::YieldToWindow();
        try {
            ExportRunAnimation(*engine, settings, options, *fileName, shared.cancel,
                               [&](const QString& what, double part) {
                                   std::lock_guard lock(shared.mutex);
                                   shared.progress = {what, part < 0 ? -1 : int(part * 100)};
                               });
        } catch (...) {
            shared.failure = std::current_exception();
        }
        shared.done = true;
    });
    const bool finished = Platform::WaitForWork(
        owner_,
        [&] {
            std::lock_guard lock(shared.mutex);
            return shared.progress;
        },
        [&] { return shared.done.load(); });
    // Cancelled work stops at its next step or frame, and writes nothing.
    shared.cancel = !finished;
    worker.join();
    if (!finished || !shared.failure)
        return;
    try {
        std::rethrow_exception(shared.failure);
    } catch (const PathloomError& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.Description()),
                              MessageIcon::Critical);
    } catch (const std::exception& e) {
        Platform::ShowMessage(owner_, Platform::FromMessageText(e.what()), MessageIcon::Critical);
    }
}
