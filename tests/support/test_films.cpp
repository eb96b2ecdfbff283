#include "test_films.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>

namespace TestFilms {

namespace {

QTemporaryDir &cacheDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Moves the "udta" box, which holds an MP4's cover picture, in front of the "trak" boxes of the
// "moov" box (ffmpeg always writes it last). Offsets into "mdat" stay valid: "moov" keeps its size.
QByteArray coverBeforeTracks(const QByteArray &mp4)
{
    const auto size = [&mp4](qsizetype at) { return qsizetype(qFromBigEndian<quint32>(mp4.constData() + at)); };
    for (qsizetype at = 0; at + 8 <= mp4.size() && size(at) >= 8; at += size(at)) {
        if (mp4.mid(at + 4, 4) != "moov")
            continue;
        QByteArray header, udta, rest;
        for (qsizetype child = at + 8; child + 8 <= at + size(at) && size(child) >= 8; child += size(child)) {
            const QByteArray box = mp4.mid(child, size(child));
            (box.mid(4, 4) == "mvhd" ? header : box.mid(4, 4) == "udta" ? udta : rest) += box;
        }
        return udta.isEmpty() ? QByteArray() : mp4.left(at + 8) + header + udta + rest + mp4.mid(at + size(at));
    }
    return {};
}

} // namespace

QString film(const QString &name, const QStringList &arguments)
{
    const QString path = cacheDir().filePath(name);
    if (QFile::exists(path))
        return path;
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-v", "error", "-nostdin", "-y"} + arguments + QStringList{path});
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0
        ? path
        : QString();
}

QString coverFirstFilm()
{
    const QString cover =
        film(QStringLiteral("cover.png"), {"-f", "lavfi", "-i", "color=red:s=64x64", "-frames:v", "1"});
    const QString coverLast = film(QStringLiteral("cover-last.mp4"),
                                   {"-i", cover, "-i", sampleFilm(160, 120, 25, 1), "-map", "0", "-map", "1:v",
                                    "-c:v:0", "mjpeg", "-c:v:1", "copy", "-disposition:v:0", "attached_pic"});
    QFile in(coverLast), out(cacheDir().filePath(QStringLiteral("cover-first.mp4")));
    if (coverLast.isEmpty() || !in.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray reordered = coverBeforeTracks(in.readAll());
    if (reordered.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(reordered) != reordered.size())
        return QString();
    return out.fileName();
}

QString systemToolsDirectory()
{
    static QTemporaryDir dir;
    for (const QString &tool : {QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
        if (!QFile::exists(dir.filePath(tool))
            && !QFile::link(QStandardPaths::findExecutable(tool), dir.filePath(tool)))
            return QString();
    return dir.path();
}

QString numberedFilm(int width, int height, int fps, double seconds)
{
    return film(QStringLiteral("numbered-%1x%2-%3-%4.mp4").arg(width).arg(height).arg(fps).arg(seconds),
                {"-f", "lavfi", "-i",
                 QStringLiteral("color=black:s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds), "-vf",
                 "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128", "-c:v", "libx264", "-qp", "0", "-pix_fmt",
                 "yuv420p"});
}

QString sampleFilm(int width, int height, int fps, double seconds)
{
    return film(QStringLiteral("sample-%1x%2-%3-%4.mp4").arg(width).arg(height).arg(fps).arg(seconds),
                {"-f", "lavfi", "-i",
                 QStringLiteral("testsrc2=s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds), "-f",
                 "lavfi", "-i", QStringLiteral("sine=d=%1").arg(seconds), "-c:v", "libx264", "-preset", "ultrafast",
                 "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest"});
}

QString mediaDirectory()
{
    const QDir dir(QStringLiteral(BITGLANCE_MEDIA_DIR));
    return dir.exists() ? dir.absolutePath() : QString();
}

int frameNumberOf(const QByteArray &png)
{
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        return -1;
    image = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.constScanLine(y)[x];
    // Limited-range luma 16 + 2n decodes to the grey value 2n × 255 / 219.
    return int(std::lround(sum / (double(image.width()) * image.height()) * 219.0 / 255.0 / 2.0));
}

} // namespace TestFilms
