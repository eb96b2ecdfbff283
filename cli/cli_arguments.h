#pragma once

#include "engine/comparison_limits.h"
#include "engine/encoder_setting.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// The command line of bitglance-cli:
//   bitglance-cli probe  [--tools DIR] FILM
//   bitglance-cli render [--tools DIR] FILM --seconds S --mbps M[,M...] [--max-height 0|720|1080] [--out DIR]
//                        [--clips] [--side-by-side FILE] [--progress] [--per-frame] [--frame N|worst]
//                        [--print-command]
//   bitglance-cli scan   [--tools DIR] FILM --mbps M [--scenes N] [--max-height 0|720|1080] [--jobs J]
//   bitglance-cli advise [--tools DIR] FILM --ssim S [--scenes N] [--max-height 0|720|1080]
// render, scan and advise also take [--encoder x265|x264|svtav1|hevc-hw] [--preset P] [--depth 8|10].
// Numbers are read in the C locale. "--" ends the options, so a movie may start with a dash.
struct CliArguments {
    enum class Command { Probe, Render, Scan, Advise, Help };

    Command command = Command::Help;
    QString toolsDirectory; // empty: the program's own Tools folder
    QUrl movie;             // a file URL whose encoded path holds the name's bytes exactly
    double seconds = 0;
    QList<double> mbps;
    qint64 maxHeight = 0;
    QString outDirectory; // absolute path
    // scan and advise (ScanOptions): the scenes, the engines that scan them, the target SSIM.
    int scenes = ComparisonLimits::defaultScanScenes;
    int jobs = 1;
    double ssim = 0;
    bool clips = false;    // also write the reference clip and the encoded clips into outDirectory
    QString sideBySide;    // absolute path of the composed picture; empty: none
    bool progress = false; // progress of the cut and the encode as JSON lines on standard error
    bool perFrame = false; // every frame's values and the worst frame in each line
    // --frame: the pictures of this frame of the clip (from 0) instead of the scene's own frame, or
    // with worstFrame those of each bitrate's worst frame.
    std::optional<qint64> frame;
    bool worstFrame = false;
    // The encoder setting (EncoderOptions); a graphics card's API is found when the command runs.
    EncoderSetting encoder;
    std::optional<QString> preset; // as given, until the setting is settled
    bool printCommand = false;     // render: the command that encodes the whole movie in each line

    // The files a render writes, in the order of mbps: original.png first, then one encoded
    // picture per bitrate (a bitrate given twice names its file twice); with several bitrates each
    // per-bitrate name carries the bitrate ("encoded-2.00.png", FILE-2.00.png), and so does the
    // original picture of each bitrate's worst frame.
    QString originalPath(double mbps) const;
    QString encodedPath(double mbps) const;
    QString referenceClipPath() const;
    QString encodedClipPath(double mbps) const;
    QString sideBySidePath(double mbps) const;

    // argv without the program name, as bytes. On a usage error returns nothing and sets *problem.
    static std::optional<CliArguments> parse(const QList<QByteArray> &arguments, QString *problem);
    static QString usage();

private:
    QString perBitrate(const QString &path, double mbps) const;
};
