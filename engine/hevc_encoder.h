#pragma once

#include <QString>
#include <QStringList>

// The one place that knows the encoder's command line: ffmpeg arguments that encode the
// lossless reference clip at the target bitrate, frame for frame (24 arguments).
QStringList hevcEncodeArguments(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond);
