#include "hevc_encoder.h"

QStringList hevcEncodeArguments(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond)
{
    return {
        QStringLiteral("-v"),
        QStringLiteral("error"),
        QStringLiteral("-nostdin"),
        QStringLiteral("-y"),
        QStringLiteral("-i"),
        referencePath,
        QStringLiteral("-map"),
        QStringLiteral("0:v:0"),
        QStringLiteral("-an"),
        // Every frame of the reference exactly once: MP4 output would otherwise be made constant
        // rate, duplicating or dropping frames of a variable-rate clip, so that frame n of the
        // encoded clip were another picture than frame n of the reference.
        QStringLiteral("-fps_mode"),
        QStringLiteral("passthrough"),
        QStringLiteral("-c:v"),
        QStringLiteral("libx265"),
        QStringLiteral("-preset"),
        QStringLiteral("veryfast"),
        QStringLiteral("-x265-params"),
        QStringLiteral("log-level=error"),
        QStringLiteral("-b:v"),
        QString::number(bitsPerSecond),
        QStringLiteral("-pix_fmt"),
        QStringLiteral("yuv420p"),
        QStringLiteral("-tag:v"),
        QStringLiteral("hvc1"),
        encodedPath,
    };
}
