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

QStringList frameExtraction(const QString &clipPath, qint64 frame, const QString &pngName, int depth)
{
    // A 10-bit frame is shown as a viewer's 8-bit screen gets it, like the measurement sees it.
    const QString eightBit = depth > 8 ? QStringLiteral(",format=yuv420p") : QString();
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"),
                      clipPath,
                      QStringLiteral("-vf"),
                      QStringLiteral("select=eq(n\\,%1)").arg(frame) + eightBit,
                      QStringLiteral("-frames:v"),
                      QStringLiteral("1"),
                      pngName};
}

QStringList decodedCopy(const QString &encodedPath, const QString &copyPath)
{
    // Every decoded frame exactly once, as the quality measurement counts them.
    return ffmpegStart()
        + QStringList{QStringLiteral("-i"), encodedPath, QStringLiteral("-map"), QStringLiteral("0:v:0"),
                      QStringLiteral("-fps_mode"), QStringLiteral("passthrough"),
                      // 8-bit 4:2:0 whatever the encode's depth, as the measurement and the
                      // pictures see it.
                      QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-c:v"),
                      QStringLiteral("utvideo"), copyPath};
}

QStringList encoderArguments(const EncoderSetting &setting, qint64 bitsPerSecond, bool withUpload)
{
    const bool tenBit = setting.depth == 10;
    const QString bits = QString::number(bitsPerSecond);
    const QString software = tenBit ? QStringLiteral("yuv420p10le") : QStringLiteral("yuv420p");
    switch (setting.encoder) {
    case VideoEncoder::X265:
        return {QStringLiteral("-c:v"),         QStringLiteral("libx265"),
                QStringLiteral("-preset"),      setting.preset,
                QStringLiteral("-x265-params"), QStringLiteral("log-level=error"),
                QStringLiteral("-b:v"),         bits,
                QStringLiteral("-pix_fmt"),     software,
                QStringLiteral("-tag:v"),       QStringLiteral("hvc1")};
    case VideoEncoder::X264:
        return {QStringLiteral("-c:v"),     QStringLiteral("libx264"),
                QStringLiteral("-preset"),  setting.preset,
                QStringLiteral("-b:v"),     bits,
                QStringLiteral("-pix_fmt"), software,
                QStringLiteral("-tag:v"),   QStringLiteral("avc1")};
    case VideoEncoder::SvtAv1:
        // MP4 names AV1 itself ("av01"); no tag to give.
        return {QStringLiteral("-c:v"),     QStringLiteral("libsvtav1"),
                QStringLiteral("-preset"),  setting.preset,
                QStringLiteral("-b:v"),     bits,
                QStringLiteral("-pix_fmt"), software};
    case VideoEncoder::HevcHardware:
        break;
    }
    // A graphics card: its own preset; the frames in the layout the card reads (NV12, or P010 for
    // 10 bit). VAAPI takes them uploaded to the card's memory by a filter.
    const QString card = tenBit ? QStringLiteral("p010le") : QStringLiteral("nv12");
    switch (setting.hardware) {
    case HardwareApi::Vaapi: {
        QStringList arguments{QStringLiteral("-vaapi_device"), QStringLiteral("/dev/dri/renderD128")};
        if (withUpload)
            arguments += {QStringLiteral("-vf"), hardwareUpload(setting)};
        return arguments + QStringList{QStringLiteral("-c:v"),   QStringLiteral("hevc_vaapi"),
                                       QStringLiteral("-b:v"),   bits,
                                       QStringLiteral("-tag:v"), QStringLiteral("hvc1")};
    }
    case HardwareApi::Nvenc:
        return {QStringLiteral("-c:v"),     QStringLiteral("hevc_nvenc"),
                QStringLiteral("-b:v"),     bits,
                QStringLiteral("-pix_fmt"), tenBit ? QStringLiteral("p010le") : QStringLiteral("yuv420p"),
                QStringLiteral("-tag:v"),   QStringLiteral("hvc1")};
    case HardwareApi::Qsv:
        return {QStringLiteral("-c:v"),     QStringLiteral("hevc_qsv"),
                QStringLiteral("-b:v"),     bits,
                QStringLiteral("-pix_fmt"), card,
                QStringLiteral("-tag:v"),   QStringLiteral("hvc1")};
    case HardwareApi::None:
        break;
    }
    return {};
}

QString hardwareUpload(const EncoderSetting &setting)
{
    if (setting.encoder != VideoEncoder::HevcHardware || setting.hardware != HardwareApi::Vaapi)
        return {};
    return setting.depth == 10 ? QStringLiteral("format=p010le,hwupload") : QStringLiteral("format=nv12,hwupload");
}

QStringList encode(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond,
                   const EncoderSetting &setting)
{
    return ffmpegStartWithProgress()
        + QStringList{QStringLiteral("-i"), referencePath, QStringLiteral("-map"), QStringLiteral("0:v:0"),
                      QStringLiteral("-an"),
                      // Every frame of the reference exactly once: MP4 output would otherwise be
                      // made constant rate, duplicating or dropping frames of a variable-rate clip,
                      // so that frame n of the encoded clip were another picture than frame n of
                      // the reference.
                      QStringLiteral("-fps_mode"), QStringLiteral("passthrough")}
    + encoderArguments(setting, bitsPerSecond, true) + QStringList{encodedPath};
}

QStringList hardwareTest(const EncoderSetting &setting)
{
    // One small black frame: enough for a card's driver to show whether it encodes at all.
    return ffmpegStart()
        + QStringList{QStringLiteral("-f"),        QStringLiteral("lavfi"),
                      QStringLiteral("-i"),        QStringLiteral("color=black:size=320x240:rate=25,format=yuv420p"),
                      QStringLiteral("-frames:v"), QStringLiteral("1")}
    + encoderArguments(setting, 1000000, true)
        + QStringList{QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")};
}

QStringList filmEncode(const QString &moviePath, qint64 outputHeight, const EncoderSetting &setting,
                       qint64 bitsPerSecond, const QString &outputPath)
{
    QString filters = QStringLiteral("scale=-2:2*trunc(min(ih\\,%1)/2),setsar=1,format=yuv420p").arg(outputHeight);
    if (const QString upload = hardwareUpload(setting); !upload.isEmpty())
        filters += QLatin1Char(',') + upload;
    // The video as the comparison encodes it; sound, subtitles and attached fonts copied as they are.
    return QStringList{QStringLiteral("-hide_banner"),
                       QStringLiteral("-nostdin"),
                       QStringLiteral("-noautorotate"),
                       QStringLiteral("-i"),
                       moviePath,
                       QStringLiteral("-map"),
                       QStringLiteral("0:V:0"),
                       QStringLiteral("-map"),
                       QStringLiteral("0:a?"),
                       QStringLiteral("-map"),
                       QStringLiteral("0:s?"),
                       QStringLiteral("-map"),
                       QStringLiteral("0:t?"),
                       QStringLiteral("-c"),
                       QStringLiteral("copy"),
                       QStringLiteral("-fps_mode"),
                       QStringLiteral("passthrough"),
                       QStringLiteral("-vf"),
                       filters}
    + encoderArguments(setting, bitsPerSecond, false) + QStringList{outputPath};
}

QStringList quality(const QString &encodedPath, const QString &referencePath, const QString &ssimStats,
                    const QString &psnrStats)
{
    // Both inputs count their frames from 0 on one time base, so that the filters pair frame n of
    // the encoded clip with frame n of the reference whatever the two containers did to the
    // timestamps (Matroska keeps milliseconds only).
    // A 10-bit clip is measured as it is shown: decoded to 8-bit 4:2:0 like the reference.
    const QString graph =
        QStringLiteral("[0:v]format=yuv420p,settb=AVTB,setpts=N,split[e0][e1];[1:v]settb=AVTB,setpts=N,split[r0][r1];"
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
