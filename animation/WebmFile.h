#pragma once
// A WebM video written by an ffmpeg process (Debian's ffmpeg): raw frames into its input, VP9
// into a temporary file that becomes the file's bytes when all frames are in. Used on one thread,
// without an event loop.

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

class WebmFile {
  public:
    // Frames of this size (even), fps frames a second. Raises PathloomError when ffmpeg is not
    // installed or does not start.
    WebmFile(QSize size, int fps);
    // Without Finish, ffmpeg is stopped and what it wrote goes.
    ~WebmFile();
    WebmFile(const WebmFile&) = delete;
    WebmFile& operator=(const WebmFile&) = delete;

    void Add(const QImage& frame);
    // The whole video's bytes; raises PathloomError with ffmpeg's complaint when it failed.
    QByteArray Finish();

  private:
    [[noreturn]] void Fail(const QString& what);

    QSize size_;
    QTemporaryDir folder_;
    QProcess ffmpeg_;
};
