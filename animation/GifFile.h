#pragma once
// An animated GIF written as its frames come, with giflib: one colour table for the whole
// animation (the sample frames' own colours, or the 256 that median cut makes of them), each
// frame after the first only where it differs from the one before, looping forever.

#include <QImage>
#include <cstdint>
#include <ostream>
#include <unordered_map>
#include <vector>

struct GifFileType;

class GifFile {
  public:
    // Frames of this size, shown for delay hundredths of a second each, in the colours of the
    // samples (frames of the same size, such as the first and the last). Raises PathloomError
    // when the stream cannot be written.
    GifFile(std::ostream& out, QSize size, int delay, const std::vector<QImage>& samples);
    ~GifFile();
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;

    void Add(const QImage& frame);
    // Writes the end; the stream then holds the whole file.
    void Finish();

  private:
    void Check(int result) const;
    uint8_t IndexOf(uint32_t rgb);

    std::ostream& out_;
    GifFileType* gif_ = nullptr;
    QSize size_;
    int delay_;
    std::vector<uint32_t> palette_; // 0xRRGGBB
    std::unordered_map<uint32_t, uint8_t> indexes_;
    std::vector<uint8_t> last_, next_; // the frame shown, and the one being added
};
