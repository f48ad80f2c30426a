#include "GifFile.h"

#include "PathloomError.h"

#include <algorithm>
#include <gif_lib.h>

namespace {

constexpr int Colours = 256;
constexpr std::size_t ExactColours = 32;

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
        sum += d * d;
    }
    return sum;
}

int Write(GifFileType* gif, const GifByteType* bytes, int count) {
    auto& out = *static_cast<std::ostream*>(gif->UserData);
    out.write(reinterpret_cast<const char*>(bytes), count);
    return out ? count : 0;
}

[[noreturn]] void Fail(int error) {
    Raise("Export", std::string("The GIF could not be written: ") +
                        (GifErrorString(error) ? GifErrorString(error) : "unknown error"));
}

uint32_t Rgb(const QImage& image, int x, int y) {
    return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x] & 0xFFFFFFu;
}

// The samples' colours, all of them when they are few enough, else median cut's choice with the
// commonest colours (the background, the node fill, the lines) put back exactly.
std::vector<uint32_t> PaletteOf(const std::vector<QImage>& samples) {
    std::unordered_map<uint32_t, int64_t> counts;
    for (const QImage& sample : samples)
        for (int y = 0; y < sample.height(); ++y)
            for (int x = 0; x < sample.width(); ++x)
                ++counts[Rgb(sample, x, y)];
    std::vector<std::pair<int64_t, uint32_t>> common;
    for (const auto& [rgb, count] : counts)
        common.emplace_back(-count, rgb);
    std::sort(common.begin(), common.end()); // commonest first; the same file from the same frames
    if (common.size() <= Colours) {
        std::vector<uint32_t> palette;
        for (const auto& entry : common)
            palette.push_back(entry.second);
        return palette;
    }
    std::vector<GifByteType> red, green, blue;
    unsigned width = 0, height = 0;
    for (const QImage& sample : samples) {
        width = static_cast<unsigned>(sample.width());
        height += static_cast<unsigned>(sample.height());
        for (int y = 0; y < sample.height(); ++y)
            for (int x = 0; x < sample.width(); ++x) {
                const uint32_t rgb = Rgb(sample, x, y);
                red.push_back(static_cast<GifByteType>(rgb >> 16));
                green.push_back(static_cast<GifByteType>(rgb >> 8));
                blue.push_back(static_cast<GifByteType>(rgb));
            }
    }
    std::vector<GifByteType> indexes(red.size());
    std::vector<GifColorType> map(Colours);
    int size = Colours;
    if (GifQuantizeBuffer(width, height, &size, red.data(), green.data(), blue.data(),
                          indexes.data(), map.data()) == GIF_ERROR)
        Fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    std::vector<uint32_t> palette;
    for (int i = 0; i < size; ++i)
        palette.push_back(uint32_t(map[i].Red) << 16 | uint32_t(map[i].Green) << 8 | map[i].Blue);
    std::vector<bool> exact(palette.size());
    for (std::size_t i = 0; i < std::min<std::size_t>(ExactColours, common.size()); ++i) {
        const uint32_t rgb = common[i].second;
        std::size_t nearest = palette.size();
        for (std::size_t k = 0; k < palette.size(); ++k) {
            if (!exact[k] && (nearest == palette.size() ||
                              Distance(rgb, palette[k]) < Distance(rgb, palette[nearest])))
                nearest = k;
        }
        palette[nearest] = rgb;
        exact[nearest] = true;
    }
    return palette;
}

} // namespace

GifFile::GifFile(std::ostream& out, QSize size, int delay, const std::vector<QImage>& samples)
    : out_(out), size_(size), delay_(delay), palette_(PaletteOf(samples)) {
    int error = 0;
    gif_ = EGifOpen(&out_, Write, &error);
    if (!gif_)
        Fail(error);
    EGifSetGifVersion(gif_, true);
    std::vector<GifColorType> colours(Colours);
    for (std::size_t i = 0; i < palette_.size(); ++i)
        colours[i] = {static_cast<GifByteType>(palette_[i] >> 16),
                      static_cast<GifByteType>(palette_[i] >> 8),
                      static_cast<GifByteType>(palette_[i])};
    ColorMapObject* map = GifMakeMapObject(Colours, colours.data());
    if (!map)
        Fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    const int described = EGifPutScreenDesc(gif_, size.width(), size.height(), 8, 0, map);
    GifFreeMapObject(map);
    Check(described);
    // Loop for ever.
    const GifByteType loop[] = {1, 0, 0};
    Check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
    Check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0"));
    Check(EGifPutExtensionBlock(gif_, 3, loop));
    Check(EGifPutExtensionTrailer(gif_));
}

GifFile::~GifFile() {
    if (gif_)
        EGifCloseFile(gif_, nullptr);
}

void GifFile::Check(int result) const {
    if (result == GIF_ERROR)
        Fail(gif_->Error);
}

uint8_t GifFile::IndexOf(uint32_t rgb) {
    if (const auto known = indexes_.find(rgb); known != indexes_.end())
        return known->second;
    const auto distance = [rgb](uint32_t other) {
        int sum = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int d = int(rgb >> shift & 0xFF) - int(other >> shift & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    const auto nearest =
        std::min_element(palette_.begin(), palette_.end(),
                         [&](uint32_t a, uint32_t b) { return distance(a) < distance(b); });
    const auto index = static_cast<uint8_t>(nearest - palette_.begin());
    indexes_.emplace(rgb, index);
    return index;
}

void GifFile::Add(const QImage& frame) {
    const QImage image = frame.convertToFormat(QImage::Format_RGB32);
    const int width = size_.width(), height = size_.height();
    next_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    uint32_t runColour = 0xFFFFFFFFu; // a run of one colour is looked up once
    uint8_t runIndex = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = Rgb(image, x, y);
            if (rgb != runColour) {
                runColour = rgb;
                runIndex = IndexOf(rgb);
            }
            next_[static_cast<std::size_t>(y) * width + x] = runIndex;
        }
    // Only the rectangle that changed; a pixel at least, so that the frame keeps its time.
    int left = 0, top = 0, right = width - 1, bottom = height - 1;
    if (last_.size() == next_.size()) {
        left = width, top = height, right = -1, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * width + x;
                if (next_[at] != last_[at]) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
            }
        if (right < 0)
            left = top = right = bottom = 0;
    }
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay_, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    Check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension));
    Check(EGifPutImageDesc(gif_, left, top, right - left + 1, bottom - top + 1, false, nullptr));
    for (int y = top; y <= bottom; ++y)
        Check(EGifPutLine(gif_, &next_[static_cast<std::size_t>(y) * width + left],
                          right - left + 1));
    std::swap(last_, next_);
}

void GifFile::Finish() {
    int error = 0;
    GifFileType* gif = std::exchange(gif_, nullptr);
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        Fail(error);
    out_.flush();
    if (!out_)
        Fail(E_GIF_ERR_WRITE_FAILED);
}
