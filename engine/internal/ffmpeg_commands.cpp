#include "engine/internal/ffmpeg_commands.h"

#include "engine/number_text.h"

#include <algorithm>

namespace FfmpegCommands {

namespace {

// The options every ffmpeg run starts with: errors only, never reading the terminal, overwriting.
QStringList ffmpegStart()
{
    return {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y")};
}

// The same for a run that reports how far it is: blocks of key=value lines on standard output,
// each with the frames done so far ("frame=N").
QStringList ffmpegStartWithProgress()
{
    return {QStringLiteral("-v"),        QStringLiteral("error"),  QStringLiteral("-nostdin"),
            QStringLiteral("-progress"), QStringLiteral("pipe:1"), QStringLiteral("-y")};
}

} // namespace

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
    return ffmpegStartWithProgress()
        + QStringList{QStringLiteral("-ss"), doubleText(plan.start), QStringLiteral("-noautorotate"),
                      QStringLiteral("-i"), moviePath, QStringLiteral("-t"), doubleText(plan.clipLength),
                      // "V", not "v": the first video stream that is not a cover picture, the one
                      // the probe chose.
                      QStringLiteral("-map"), QStringLiteral("0:V:0"), QStringLiteral("-an"), QStringLiteral("-sn"),
                      QStringLiteral("-dn"), QStringLiteral("-vf"),
                      // An even height whatever the movie's: x265 refuses an odd one in 4:2:0.
                      QStringLiteral("scale=-2:2*trunc(min(ih\\,%1)/2),setsar=1,format=yuv420p").arg(plan.outputHeight),
                      // Ut Video: lossless and intra-only like FFV1, but several times faster to write
                      // and to read, which the encode and the measurement both do.
                      QStringLiteral("-c:v"), QStringLiteral("utvideo"), referencePath};
}

QStringList referenceCutFromEarlier(const QString &moviePath, const ClipPlan &plan, double leadSeconds,
                                    const QString &referencePath)
{
    const double lead = std::min(plan.start, leadSeconds);
    QStringList arguments = referenceCut(moviePath, plan, referencePath);
    arguments[arguments.indexOf(QStringLiteral("-ss")) + 1] = doubleText(plan.start - lead);
    arguments.insert(arguments.indexOf(QStringLiteral("-t")), QStringLiteral("-ss"));
    arguments.insert(arguments.indexOf(QStringLiteral("-t")), doubleText(lead));
    return arguments;
}

QStringList frameExtraction(const QString &clipPath, qint64 frame, const QString &pngName)
{
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"),
                      clipPath,
                      QStringLiteral("-vf"),
                      QStringLiteral("select=eq(n\\,%1)").arg(frame),
                      QStringLiteral("-frames:v"),
                      QStringLiteral("1"),
                      pngName};
}

QStringList decodedCopy(const QString &encodedPath, const QString &copyPath)
{
    // Every decoded frame exactly once, as the quality measurement counts them.
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"),
                      encodedPath,
                      QStringLiteral("-map"),
                      QStringLiteral("0:v:0"),
                      QStringLiteral("-fps_mode"),
                      QStringLiteral("passthrough"),
                      QStringLiteral("-c:v"),
                      QStringLiteral("utvideo"),
                      copyPath};
}

QStringList encode(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond)
{
    return ffmpegStartWithProgress()
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

QStringList quality(const QString &encodedPath, const QString &referencePath, const QString &ssimStats,
                    const QString &psnrStats)
{
    // Both inputs count their frames from 0 on one time base, so that the filters pair frame n of
    // the encoded clip with frame n of the reference whatever the two containers did to the
    // timestamps (Matroska keeps milliseconds only).
    const QString graph =
        QStringLiteral("[0:v]settb=AVTB,setpts=N,split[e0][e1];[1:v]settb=AVTB,setpts=N,split[r0][r1];"
                       "[e0][r0]ssim=stats_file=%1;[e1][r1]psnr=stats_file=%2")
            .arg(ssimStats, psnrStats);
    return {QStringLiteral("-hide_banner"),
            QStringLiteral("-nostats"),
            QStringLiteral("-v"),
            QStringLiteral("info"),
            QStringLiteral("-nostdin"),
            QStringLiteral("-i"),
            encodedPath,
            QStringLiteral("-i"),
            referencePath,
            QStringLiteral("-filter_complex"),
            graph,
            QStringLiteral("-f"),
            QStringLiteral("null"),
            QStringLiteral("-")};
}

QStringList comparisonPicture(const QString &originalPng, const QString &encodedPng, int rotation, qint64 uprightHeight,
                              int fontSize, int captionLines, const QString &captionFile, const QString &outputPng)
{
    const QString turn = rotation == 90 ? QStringLiteral("transpose=clock")
        : rotation == 180               ? QStringLiteral("hflip,vflip")
        : rotation == 270               ? QStringLiteral("transpose=cclock")
                                        : QStringLiteral("null");
    // drawtext advances a line by the font's tallest glyph (about 1.2 em) plus the line spacing.
    const int margin = fontSize;
    const int lineSpacing = fontSize / 4;
    const int strip = 2 * margin + captionLines * (fontSize * 6 / 5 + lineSpacing);
    const QString graph =
        QStringLiteral("[0:v]%1[a];[1:v]%1[b];[a][b]hstack=inputs=2,pad=iw:ih+%2:0:0:white,"
                       "drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:expansion=none:"
                       "textfile=%3:fontsize=%4:line_spacing=%5:fontcolor=black:x=%6:y=%7")
            .arg(turn)
            .arg(strip)
            .arg(captionFile)
            .arg(fontSize)
            .arg(lineSpacing)
            .arg(margin)
            .arg(uprightHeight + margin);
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"),
                      originalPng,
                      QStringLiteral("-i"),
                      encodedPng,
                      QStringLiteral("-filter_complex"),
                      graph,
                      QStringLiteral("-frames:v"),
                      QStringLiteral("1"),
                      QStringLiteral("-update"),
                      QStringLiteral("1"),
                      outputPng};
}

} // namespace FfmpegCommands
