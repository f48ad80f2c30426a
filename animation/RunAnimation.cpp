#include "RunAnimation.h"

#include "FramePicture.h"
#include "GifFile.h"
#include "Latin1Text.h"
#include "PathloomError.h"
#include "RunFrames.h"
#include "RunSession.h"
#include "SafeFile.h"
#include "WebmFile.h"
#include "clsLA.h"

#include <QLocale>
#include <memory>

namespace {

constexpr int64_t StepBudget = 1 << 16;

QString Caption(const RunFrames::Frame& frame, const RunFrames::Frame& last, bool sampled) {
    const QLocale locale;
    QString text =
        sampled
            ? QString("Sample %1 of %2")
                  .arg(locale.toString(frame.sample), locale.toString(last.sample))
            : QString("Path %1 of %2").arg(locale.toString(frame.path), locale.toString(last.path));
    return text + QString("   cost %1, %2   P(best path) %3")
                      .arg(locale.toString(frame.cost), frame.rewarded ? "rewarded" : "penalised",
                           locale.toString(frame.bestProbability, 'g', 4));
}

} // namespace

std::optional<AnimationFormat> AnimationFormatOf(const QString& fileName) {
    const QString lower = fileName.toLower();
    if (lower.endsWith(".gif"))
        return AnimationFormat::Gif;
    if (lower.endsWith(".webm"))
        return AnimationFormat::Webm;
    return std::nullopt;
}

bool ExportRunAnimation(clsLA& la, const RunSettings& settings, const AnimationOptions& options,
                        const QString& fileName, const std::atomic<bool>& cancel,
                        const AnimationProgress& progress) {
    const std::optional<AnimationFormat> format = AnimationFormatOf(fileName);
    if (!format)
        Raise("Export", "An animation is written as .gif or .webm.");
    clsGraph& graph = la.Graph();
    // Whatever would fail at the end fails before the run: the graph's size, ffmpeg, the file.
    const FramePicture picture(graph);
    std::unique_ptr<WebmFile> webm;
    if (format == AnimationFormat::Webm)
        webm = std::make_unique<WebmFile>(picture.Size(), AnimationFps);
    SafeStream file(Platform::ToFileName(fileName));

    RunSettings run = settings;
    run.EnableDelay = false;
    RunSession session(graph, la.Ranges(), run);
    RunFrames frames(graph, options.pathsPerFrame, options.maxFrames);
    session.AddObserver(frames);
    const bool sampled = run.GraphSearchMethod == SearchMethod::Sample;
    while (session.State() == RunState::Running) {
        if (cancel)
            return false;
        session.Step(StepBudget);
        progress(sampled ? QString("Running: %1 samples").arg(session.Samples())
                         : QString("Running: %1 paths").arg(session.PathCount()),
                 sampled ? double(session.Samples()) / double(std::max<int64_t>(run.Samples, 1))
                         : -1);
    }
    if (session.State() == RunState::Failed)
        Raise("Export", session.Message());
    if (session.NotFound())
        Raise("Export", "Not found any path.");
    frames.Finish(session, graph);

    const std::vector<RunFrames::Frame>& all = frames.Frames();
    const auto draw = [&](std::size_t i) {
        return picture.Draw(graph, all[i], Caption(all[i], all.back(), sampled));
    };
    std::unique_ptr<GifFile> gif;
    if (format == AnimationFormat::Gif)
        gif = std::make_unique<GifFile>(file.Stream(), picture.Size(), 100 / AnimationFps,
                                        std::vector<QImage>{draw(0), draw(all.size() - 1)});
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (cancel)
            return false;
        progress(QString("Writing frame %1 of %2").arg(i + 1).arg(all.size()),
                 double(i) / double(all.size()));
        const QImage frame = draw(i);
        gif ? gif->Add(frame) : webm->Add(frame);
    }
    if (gif) {
        gif->Finish();
    } else {
        const QByteArray bytes = webm->Finish();
        file.Stream().write(bytes.constData(), bytes.size());
    }
    if (!file.Stream())
        Raise("Export", "'" + Platform::ToFileName(fileName) + "' could not be written.");
    file.Commit();
    return true;
}
