#pragma once

#include <QMetaType>
#include <QString>
#include <QUrl>
#include <optional>

// The opened movie as the probe condensed it.
struct MovieInfo {
    QUrl url;            // the file as the user opened it (a local file URL)
    double duration = 0; // seconds, always > 0
    qint64 width = 0;    // pixels of the chosen video stream
    qint64 height = 0;
    double fps = 25;               // always > 0
    QString codec;                 // ffprobe's codec name, "Video" when none
    std::optional<double> bitrate; // bits per second, when the probe reports one
    // Degrees (0, 90, 180 or 270) the stored picture must be turned clockwise to stand upright, as
    // the movie's display matrix or its "rotate" tag asks. The clips keep the stored orientation.
    int rotation = 0;

    QString path() const { return url.toLocalFile(); }

    friend bool operator==(const MovieInfo &, const MovieInfo &) = default;
};

Q_DECLARE_METATYPE(MovieInfo)
