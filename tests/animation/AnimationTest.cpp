#include "DocumentFile.h"
#include "FramePicture.h"
#include "GifFile.h"
#include "PathloomError.h"
#include "RunAnimation.h"
#include "RunFrames.h"
#include "clsLA.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// The one-way grid of the examples: every sample from A1 reaches P16, so each is a learned path.
std::unique_ptr<clsLA> Grid(int64_t samples) {
    auto la = std::make_unique<clsLA>();
    LoadGraph(*la, PATHLOOM_EXAMPLES_DIR "/one-way-grid.plm");
    la->Settings.GraphSearchMethod = SearchMethod::Sample;
    la->Settings.sourceNode = 1;
    la->Settings.DestNode = la->Graph().NodeCount();
    la->Settings.Samples = samples;
    la->Settings.Seed = 1;
    return la;
}

std::string Paths(const RunFrames& frames) {
    std::string paths;
    for (const RunFrames::Frame& frame : frames.Frames())
        paths += (paths.empty() ? "" : " ") + std::to_string(frame.path);
    return paths;
}

// Which paths become frames: every few, thinned by half whenever the frames would be too many,
// and the last path always.
TEST(AnimationTest, FramesAreEveryFewPathsThinnedEvenlyAndEndWithTheLast) {
    const struct {
        int64_t pathsPerFrame, samples;
        int32_t maxFrames;
        const char* paths;
    } cases[] = {
        {1, 5, 600, "1 2 3 4 5"}, {2, 5, 600, "2 4 5"}, {1, 10, 4, "4 8 10"},
        {3, 20, 2, "12 20"},      {4, 8, 600, "4 8"},
    };
    for (const auto& c : cases) {
        const auto la = Grid(c.samples);
        RunFrames frames(la->Graph(), c.pathsPerFrame, c.maxFrames);
        RunSession session(la->Graph(), la->Ranges(), la->Settings);
        session.AddObserver(frames);
        session.Step(1 << 20);
        ASSERT_EQ(session.State(), RunState::Finished);
        frames.Finish(session, la->Graph());
        EXPECT_EQ(Paths(frames), c.paths) << c.pathsPerFrame << " " << c.maxFrames;
        // The last frame holds what the run left: its probabilities, and its best path's.
        const RunFrames::Frame& last = frames.Frames().back();
        EXPECT_EQ(last.links.size(), 30u); // 15 steps east and 15 south
        EXPECT_EQ(last.probabilities[0], la->Graph().Link(1).Probability);
        EXPECT_DOUBLE_EQ(last.bestProbability, session.BestProbability());
    }
}

// The frame fits 1280 x 720 with an even size; the path's bands are red, the others blue, and a
// likelier link's band is wider.
TEST(AnimationTest, FramesShowThePathInRedAndProbabilitiesAsBandWidths) {
    auto la = Grid(3);
    const FramePicture grid(la->Graph());
    EXPECT_EQ(grid.Size(), QSize(1200, 720));

    clsLA pair;
    pair.Graph().AddNode(100, 100);
    pair.Graph().AddNode(400, 100);
    pair.Graph().AddNode(100, 300);
    pair.Graph().AddLink(1, 2, LinkKind::Unidirectional);
    pair.Graph().AddLink(1, 3, LinkKind::Unidirectional);
    const FramePicture small(pair.Graph());
    EXPECT_EQ(small.Size(), QSize(424, 344)); // the graph at 100% below its caption, made even
    // The pixels of the path's bands (reddish) and of the others (bluish).
    const auto bands = [&](std::vector<int32_t> path, float east, float south) {
        const QImage image =
            small.Draw(pair.Graph(), {1, 1, 3, true, 0.9, path, {east, south}}, "");
        std::pair<int, int> counted;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                counted.first += c.red() > 200 && c.green() < 200 && c.blue() < 200;
                counted.second += c.blue() > 200 && c.red() < 200;
            }
        return counted;
    };
    const auto [red, blue] = bands({0}, 0.9f, 0.1f);
    const auto [noRed, moreBlue] = bands({}, 0.1f, 0.9f);
    EXPECT_GT(red, 5 * blue);
    EXPECT_EQ(noRed, 0);
    EXPECT_GT(moreBlue, 4 * blue);
}

// A GIF's frames as a reader sees them: the count, the loop, 10 frames a second and every pixel;
// after the first, a frame is only the rectangle that changed.
TEST(AnimationTest, GifFramesReadBackAsDrawn) {
    QImage first(40, 30, QImage::Format_RGB32), second = first, many(300, 2, QImage::Format_RGB32);
    first.fill(Qt::white);
    second = first;
    second.setPixelColor(5, 7, Qt::red);
    second.setPixelColor(9, 20, QColor(255, 255, 150));
    for (int x = 0; x < 300; ++x) // more colours than a GIF holds: the nearest of 256
        for (int y = 0; y < 2; ++y)
            many.setPixelColor(x, y, QColor(x % 256, (x * 7) % 256, y * 255));
    const struct {
        std::vector<QImage> frames;
        int worst; // difference in a channel
    } cases[] = {{{first, second, second, first}, 0}, {{many, many}, 32}};
    for (const auto& c : cases) {
        std::ostringstream out;
        GifFile gif(out, c.frames[0].size(), 10, {c.frames[0], c.frames[1]});
        for (const QImage& frame : c.frames)
            gif.Add(frame);
        gif.Finish();
        QByteArray bytes = QByteArray::fromStdString(out.str());
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "gif");
        EXPECT_EQ(reader.imageCount(), static_cast<int>(c.frames.size()));
        EXPECT_EQ(reader.loopCount(), -1); // for ever
        for (const QImage& frame : c.frames) {
            const QImage read = reader.read().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(reader.nextImageDelay(), 100);
            int worst = 0;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x) {
                    const QColor a = frame.pixelColor(x, y), b = read.pixelColor(x, y);
                    worst =
                        std::max({worst, std::abs(a.red() - b.red()),
                                  std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
                }
            EXPECT_LE(worst, c.worst);
        }
    }
    // The second frame of the first case: from (5, 7) to (9, 20) alone.
    std::ostringstream out;
    GifFile gif(out, first.size(), 10, {first, second});
    gif.Add(first);
    gif.Add(second);
    gif.Finish();
    const std::string bytes = out.str();
    const std::string second_descriptor("\x2C\x05\x00\x07\x00\x05\x00\x0E\x00", 9);
    EXPECT_NE(bytes.find(second_descriptor), std::string::npos);
}

// A whole export: written complete under its name, or nothing at all.
TEST(AnimationTest, AnExportWritesTheWholeAnimationOrNothing) {
    QTemporaryDir folder;
    const std::atomic<bool> go{false}, stop{true};
    const auto ignore = [](const QString&, double) {};
    const auto run = [&](const char* name, int64_t samples, const std::atomic<bool>& cancel) {
        auto la = Grid(samples);
        return ExportRunAnimation(*la, la->Settings, {2, 600}, folder.filePath(name), cancel,
                                  ignore);
    };
    EXPECT_TRUE(run("grid.gif", 9, go));
    QImageReader reader(folder.filePath("grid.gif"));
    EXPECT_EQ(reader.imageCount(), 5); // paths 2, 4, 6, 8 and the last, 9
    EXPECT_EQ(reader.size(), QSize(1200, 720));

    EXPECT_FALSE(run("stopped.gif", 9, stop));
    const struct {
        const char* name;
        int64_t samples;
        const char* message;
    } failures[] = {
        {"grid.png", 5, "An animation is written as .gif or .webm."},
        {"none.gif", 0, "The number of samples must be from 1"},
        {"missing/grid.gif", 5, "No such file or directory"},
    };
    for (const auto& f : failures) {
        try {
            run(f.name, f.samples, go);
            ADD_FAILURE() << f.name;
        } catch (const PathloomError& e) {
            EXPECT_NE(e.Description().find(f.message), std::string::npos) << e.Description();
        }
    }
    // WebM where ffmpeg is installed, and a clear refusal where it is not.
    if (!QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        EXPECT_TRUE(run("grid.webm", 3, go));
        QFile video(folder.filePath("grid.webm"));
        ASSERT_TRUE(video.open(QIODevice::ReadOnly));
        EXPECT_TRUE(video.read(4) == QByteArray("\x1A\x45\xDF\xA3", 4)); // Matroska's mark
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder.path().toLocal8Bit());
    EXPECT_THROW(run("absent.webm", 3, go), PathloomError);
    qputenv("PATH", path);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).join(' ').toStdString(),
              QStandardPaths::findExecutable("ffmpeg").isEmpty() ? "grid.gif"
                                                                 : "grid.gif grid.webm");
}

} // namespace
