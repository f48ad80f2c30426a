#pragma once
// A run animation from start to file: the run of the settings on the engine given (the caller's
// own copy), its frames gathered, drawn and written as GIF or WebM at 10 frames a second. Nothing
// is written under the file's name unless the whole animation is.

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

class clsLA;
struct RunSettings;

struct AnimationOptions {
    int64_t pathsPerFrame = 1;
    int32_t maxFrames = 600; // a minute
    // The bounds taken; every frame keeps each link's probability in memory until it is drawn.
    static constexpr int64_t MostPathsPerFrame = 1'000'000'000;
    static constexpr int32_t MostFrames = 100'000;
};
constexpr int AnimationFps = 10;

enum class AnimationFormat { Gif, Webm };
// By the extension, in any letter case: .gif, .webm.
std::optional<AnimationFormat> AnimationFormatOf(const QString& fileName);

// What the work does now ("Writing frame 3 of 40") and the part of it done, from 0 to 1, or
// negative where a run cannot tell (enumerations); called on the working thread.
using AnimationProgress = std::function<void(const QString& what, double done)>;

// False when `cancel` was set before the end. Raises PathloomError for a run that is refused,
// fails or finds no path ("Not found any path."), for a name that is neither .gif nor .webm, and
// for a file that cannot be written.
bool ExportRunAnimation(clsLA& la, const RunSettings& settings, const AnimationOptions& options,
                        const QString& fileName, const std::atomic<bool>& cancel,
                        const AnimationProgress& progress);
