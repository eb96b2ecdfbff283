#include "test_films.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace TestFilms {

namespace {

QTemporaryDir &cacheDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Big-endian 32-bit number at data[at].
quint32 boxNumber(const QByteArray &data, qsizetype at)
{
    return quint32(quint8(data[at])) << 24 | quint32(quint8(data[at + 1])) << 16 | quint32(quint8(data[at + 2])) << 8
        | quint32(quint8(data[at + 3]));
}

// Moves the "udta" box (which holds an MP4's cover picture) in front of the "trak" boxes of the
// "moov" box. Offsets into "mdat" stay valid because "moov" keeps its size. Empty on failure.
QByteArray coverBeforeTracks(const QByteArray &mp4)
{
    qsizetype at = 0;
    while (at + 8 <= mp4.size()) {
        const quint32 size = boxNumber(mp4, at);
        if (size < 8 || at + size > mp4.size())
            return {};
        if (mp4.mid(at + 4, 4) == "moov") {
            QByteArray header, udta, rest;
            for (qsizetype child = at + 8; child + 8 <= at + size;) {
                const quint32 childSize = boxNumber(mp4, child);
                if (childSize < 8 || child + childSize > at + size)
                    return {};
                const QByteArray box = mp4.mid(child, childSize);
                const QByteArray type = box.mid(4, 4);
                (type == "mvhd" ? header : type == "udta" ? udta : rest) += box;
                child += childSize;
            }
            if (udta.isEmpty())
                return {};
            return mp4.left(at + 8) + header + udta + rest + mp4.mid(at + size);
        }
        at += size;
    }
    return {};
}

} // namespace

QString film(const QString &name, const QStringList &arguments)
{
    const QString path = cacheDir().filePath(name);
    if (QFileInfo::exists(path))
        return path;
    QStringList args = arguments;
    args << path;
    return ffmpeg(args) ? path : QString();
}

QString coverFirstFilm()
{
    const QString path = cacheDir().filePath(QStringLiteral("cover-first.mp4"));
    if (QFileInfo::exists(path))
        return path;
    const QString cover = film(QStringLiteral("cover.png"),
                               {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                QStringLiteral("color=red:s=64x64"), QStringLiteral("-frames:v"), QStringLiteral("1")});
    const QString movie = sampleFilm(160, 120, 25, 1);
    const QString coverLast =
        film(QStringLiteral("cover-last.mp4"),
             {QStringLiteral("-i"), cover, QStringLiteral("-i"), movie, QStringLiteral("-map"), QStringLiteral("0"),
              QStringLiteral("-map"), QStringLiteral("1:v"), QStringLiteral("-c:v:0"), QStringLiteral("mjpeg"),
              QStringLiteral("-c:v:1"), QStringLiteral("copy"), QStringLiteral("-disposition:v:0"),
              QStringLiteral("attached_pic")});
    if (cover.isEmpty() || movie.isEmpty() || coverLast.isEmpty())
        return QString();
    QFile in(coverLast);
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray reordered = coverBeforeTracks(in.readAll());
    QFile out(path);
    if (reordered.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(reordered) != reordered.size())
        return QString();
    return path;
}

QString systemToolsDirectory()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        for (const QString &tool : {QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")}) {
            const QString found = QStandardPaths::findExecutable(tool);
            if (found.isEmpty())
                return QString();
            QFile::link(found, dir.filePath(tool));
        }
    }
    return QFileInfo::exists(dir.filePath(QStringLiteral("ffprobe"))) ? dir.path() : QString();
}

bool ffmpeg(const QStringList &arguments, QString *errorText)
{
    QProcess process;
    process.setProgram(QStringLiteral("ffmpeg"));
    process.setArguments(
        QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y")}
        + arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    const bool ok =
        process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok && errorText)
        *errorText = QString::fromUtf8(process.readAllStandardError()) + process.errorString();
    return ok;
}

QString numberedFilm(int width, int height, int fps, double seconds)
{
    const QString name = QStringLiteral("numbered-%1x%2-%3-%4.mp4").arg(width).arg(height).arg(fps).arg(seconds);
    return film(name,
                {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                 QStringLiteral("color=black:s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds),
                 QStringLiteral("-vf"), QStringLiteral("format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128"),
                 QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-qp"), QStringLiteral("0"),
                 QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p")});
}

QString sampleFilm(int width, int height, int fps, double seconds)
{
    const QString name = QStringLiteral("sample-%1x%2-%3-%4.mp4").arg(width).arg(height).arg(fps).arg(seconds);
    return film(name,
                {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                 QStringLiteral("testsrc2=s=%1x%2:r=%3:d=%4").arg(width).arg(height).arg(fps).arg(seconds),
                 QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                 QStringLiteral("sine=d=%1").arg(seconds), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                 QStringLiteral("-preset"), QStringLiteral("ultrafast"), QStringLiteral("-pix_fmt"),
                 QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                 QStringLiteral("-shortest")});
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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += image.constScanLine(y)[x];
    }
    // Limited-range luma 16 + 2n decodes to the grey value 2n × 255 / 219.
    const double grey = sum / (double(image.width()) * image.height());
    return int(std::lround(grey * 219.0 / 255.0 / 2.0));
}

} // namespace TestFilms
