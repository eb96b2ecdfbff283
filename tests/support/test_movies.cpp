#include "support/test_movies.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace TestMovies {

namespace {

QString cached(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

// A lavfi source's size, rate and length.
QString shape(int width, int height, int fps, double seconds)
{
    return QString::asprintf("s=%dx%d:r=%d:d=%g", width, height, fps, seconds);
}

} // namespace

QString systemToolsDirectory()
{
    static QTemporaryDir dir;
    for (const QString tool : {"ffmpeg", "ffprobe"})
        if (!QFile::exists(dir.filePath(tool))
            && !QFile::link(QStandardPaths::findExecutable(tool), dir.filePath(tool)))
            return QString();
    return dir.path();
}

QString movie(const QString &name, const QStringList &arguments)
{
    const QString path = cached(name);
    if (QFile::exists(path)
        || QProcess::execute("ffmpeg", QStringList{"-v", "error", "-nostdin", "-y"} + arguments + QStringList{path})
            == 0)
        return path;
    QFile::remove(path);
    return QString();
}

QString numberedMovie(int width, int height, int fps, double seconds)
{
    return movie(QString::asprintf("numbered-%dx%d-%d-%g.mp4", width, height, fps, seconds),
                 {"-f", "lavfi", "-i", "color=black:" + shape(width, height, fps, seconds), "-vf",
                  "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128", "-c:v", "libx264", "-qp", "0", "-pix_fmt",
                  "yuv420p"});
}

int frameNumberOf(const QByteArray &png)
{
    return frameNumberOf(QImage::fromData(png, "PNG"));
}

int frameNumberOf(const QImage &frame)
{
    const QImage image = frame.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.constScanLine(y)[x];
    // Limited-range luma 16 + 2n decodes to the grey value 2n × 255 / 219.
    return image.isNull() ? -1 : int(std::lround(sum / (image.width() * image.height()) * 219 / 255 / 2));
}

QString numberedClip(int frames)
{
    return movie(QString::asprintf("numbered-clip-%d.mkv", frames),
                 {"-f", "lavfi", "-i", "color=black:s=64x48:r=25", "-frames:v", QString::number(frames), "-vf",
                  "format=yuv420p,geq=lum='16+2*N':cb=128:cr=128,"
                  "setpts='(N*40+if(gte(N\\,10)\\,80\\,0)-if(eq(N\\,6)\\,39.6\\,0))/1000/TB'",
                  "-fps_mode", "passthrough", "-c:v", "utvideo"});
}

QString sampleMovie(int width, int height, int fps, double seconds)
{
    return movie(QString::asprintf("sample-%dx%d-%d-%g.mp4", width, height, fps, seconds),
                 {"-f", "lavfi", "-i", "testsrc2=" + shape(width, height, fps, seconds), "-f", "lavfi", "-i",
                  QString::asprintf("sine=d=%g", seconds), "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                  "yuv420p", "-c:a", "aac", "-shortest"});
}

QString mediaDirectory()
{
    return QDir(BITGLANCE_MEDIA_DIR).exists() ? QDir(BITGLANCE_MEDIA_DIR).absolutePath() : QString();
}

} // namespace TestMovies
