#include "ffmpeg_commands.h"

#include "number_text.h"
#include "platform_error.h"

#include <QFileInfo>

namespace FfmpegCommands {

namespace {

// The options every ffmpeg run starts with: errors only, never reading the terminal, overwriting.
QStringList ffmpegStart()
{
    return {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y")};
}

} // namespace

QString moviePath(const QUrl &url)
{
    if (!url.isLocalFile())
        throw PlatformError(QStringLiteral("Not a local file: %1").arg(url.toDisplayString()));
    const QString path = url.toLocalFile();
    if (path.isEmpty())
        throw PlatformError(QStringLiteral("No file given"));
    return QFileInfo(path).absoluteFilePath();
}

QStringList probe(const QString &path)
{
    return {QStringLiteral("-v"),
            QStringLiteral("error"),
            QStringLiteral("-show_format"),
            QStringLiteral("-show_streams"),
            QStringLiteral("-of"),
            QStringLiteral("json"),
            path};
}

QStringList referenceCut(const QString &moviePath, const ClipPlan &plan, const QString &referencePath)
{
    return ffmpegStart()
        + QStringList{QStringLiteral("-ss"), doubleText(plan.start), QStringLiteral("-noautorotate"),
                      QStringLiteral("-i"), moviePath, QStringLiteral("-t"), doubleText(plan.clipLength),
                      // "V", not "v": the first video stream that is not a cover picture, the one
                      // the probe chose.
                      QStringLiteral("-map"), QStringLiteral("0:V:0"), QStringLiteral("-an"), QStringLiteral("-sn"),
                      QStringLiteral("-dn"), QStringLiteral("-vf"),
                      QStringLiteral("scale=-2:min(ih\\,%1),setsar=1,format=yuv420p").arg(plan.outputHeight),
                      QStringLiteral("-c:v"), QStringLiteral("ffv1"), QStringLiteral("-level"), QStringLiteral("3"),
                      referencePath};
}

QStringList frameExtraction(const QString &clipPath, qint64 frame, const QString &pngPath)
{
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"),
                      clipPath,
                      QStringLiteral("-vf"),
                      QStringLiteral("select=eq(n\\,%1)").arg(frame),
                      QStringLiteral("-frames:v"),
                      QStringLiteral("1"),
                      pngPath};
}

QStringList encode(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond)
{
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"), referencePath, QStringLiteral("-map"), QStringLiteral("0:v:0"),
                      QStringLiteral("-an"),
                      // Every frame of the reference exactly once: MP4 output would otherwise be
                      // made constant rate, duplicating or dropping frames of a variable-rate clip,
                      // so that frame n of the encoded clip were another picture than frame n of
                      // the reference.
                      QStringLiteral("-fps_mode"), QStringLiteral("passthrough"), QStringLiteral("-c:v"),
                      QStringLiteral("libx265"), QStringLiteral("-preset"), QStringLiteral("veryfast"),
                      QStringLiteral("-x265-params"), QStringLiteral("log-level=error"), QStringLiteral("-b:v"),
                      QString::number(bitsPerSecond), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                      QStringLiteral("-tag:v"), QStringLiteral("hvc1"), encodedPath};
}

} // namespace FfmpegCommands
