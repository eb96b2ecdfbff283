#pragma once

#include <QString>
#include <QStringList>

// The one place that knows the encoder's command line: ffmpeg arguments that encode the
// lossless reference clip at the target bitrate.
QStringList hevcEncodeArguments(const QString &referencePath, const QString &encodedPath,
                                qint64 bitsPerSecond);
