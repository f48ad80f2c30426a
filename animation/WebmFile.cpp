#include "WebmFile.h"

#include "PathloomError.h"

#include <QFile>
#include <QStandardPaths>

namespace {
constexpr int StartMs = 30'000;
}

WebmFile::WebmFile(QSize size, int fps) : size_(size) {
    const QString program = QStandardPaths::findExecutable("ffmpeg");
    if (program.isEmpty())
        Raise("Export", "Writing WebM needs the program ffmpeg, which was not found (Debian "
                        "package ffmpeg). A .gif needs nothing more.");
    if (!folder_.isValid())
        Raise("Export",
              "No temporary folder for the video: " + folder_.errorString().toStdString());
    ffmpeg_.setProcessChannelMode(QProcess::SeparateChannels);
    ffmpeg_.setStandardOutputFile(QProcess::nullDevice());
    // VP9 at a constant quality, at the encoder's fastest: line drawings need few bits.
    ffmpeg_.start(program, {"-hide_banner",
                            "-loglevel",
                            "error",
                            "-f",
                            "rawvideo",
                            "-pix_fmt",
                            "rgb24",
                            "-video_size",
                            QString("%1x%2").arg(size.width()).arg(size.height()),
                            "-framerate",
                            QString::number(fps),
                            "-i",
                            "pipe:0",
                            "-c:v",
                            "libvpx-vp9",
                            "-pix_fmt",
                            "yuv420p",
                            "-crf",
                            "33",
                            "-b:v",
                            "0",
                            "-deadline",
                            "realtime",
                            "-cpu-used",
                            "8",
                            "-row-mt",
                            "1",
                            "-y",
                            folder_.filePath("animation.webm")});
    if (!ffmpeg_.waitForStarted(StartMs))
        Fail("it did not start");
}

WebmFile::~WebmFile() {
    if (ffmpeg_.state() != QProcess::NotRunning) {
        ffmpeg_.kill();
        ffmpeg_.waitForFinished(StartMs);
    }
}

void WebmFile::Fail(const QString& what) {
    const QString said = QString::fromLocal8Bit(ffmpeg_.readAllStandardError()).trimmed();
    Raise("Export", ("ffmpeg could not write the video: " + what +
                     (said.isEmpty() ? QString() : " (" + said.left(300) + ")"))
                        .toStdString());
}

void WebmFile::Add(const QImage& frame) {
    const QImage image = frame.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    bytes.reserve(size_.width() * size_.height() * 3);
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 3);
    if (ffmpeg_.write(bytes) != bytes.size())
        Fail("it stopped taking frames");
    while (ffmpeg_.bytesToWrite() > 0) {
        if (!ffmpeg_.waitForBytesWritten(StartMs))
            Fail("it stopped taking frames");
    }
}

QByteArray WebmFile::Finish() {
    ffmpeg_.closeWriteChannel();
    if (!ffmpeg_.waitForFinished(-1) || ffmpeg_.exitStatus() != QProcess::NormalExit ||
        ffmpeg_.exitCode() != 0)
        Fail(QString("it ended with status %1").arg(ffmpeg_.exitCode()));
    QFile video(folder_.filePath("animation.webm"));
    if (!video.open(QIODevice::ReadOnly))
        Fail("its file could not be read");
    return video.readAll();
}
