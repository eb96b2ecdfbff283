#include "cli/cli_arguments.h"

#include "cli/encoder_options.h"
#include "cli/scan_options.h"
#include "engine/comparison_limits.h"
#include "engine/movie_path.h"
#include "engine/number_text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

namespace {

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QString mbpsText(double mbps)
{
    return QString::asprintf("%.2f", mbps);
}

// True when path names the same file as the movie (also through another name or a link).
bool isTheMovie(const QString &path, const QByteArray &movie)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes == movie)
        return true;
    struct stat a = {};
    struct stat b = {};
    return ::stat(bytes.constData(), &a) == 0 && ::stat(movie.constData(), &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

// Checks that belong to a whole render command line: bitrates whose pictures would share a file,
// outputs that would overwrite the movie.
std::optional<QString> renderConflict(const CliArguments &arguments)
{
    QList<double> seen;
    for (const double mbps : arguments.mbps) {
        for (const double other : seen) {
            if (other != mbps && mbpsText(other) == mbpsText(mbps))
                return QStringLiteral("--mbps %1 and %2 would both write %3")
                    .arg(doubleText(other), doubleText(mbps), QFileInfo(arguments.encodedPath(mbps)).fileName());
        }
        seen << mbps;
    }
    const QByteArray movie = movieBytes(arguments.movie);
    QStringList outputs;
    if (!arguments.worstFrame)
        outputs << arguments.originalPath(arguments.mbps.first());
    if (arguments.clips)
        outputs << arguments.referenceClipPath();
    QList<double> distinct;
    for (const double mbps : arguments.mbps) {
        if (distinct.contains(mbps))
            continue; // the same comparison again writes the same files
        distinct << mbps;
        if (arguments.worstFrame)
            outputs << arguments.originalPath(mbps);
        outputs << arguments.encodedPath(mbps);
        if (arguments.clips)
            outputs << arguments.encodedClipPath(mbps);
        if (!arguments.sideBySide.isEmpty())
            outputs << arguments.sideBySidePath(mbps);
    }
    for (QString &output : outputs)
        output = QDir::cleanPath(output);
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        if (isTheMovie(outputs[i], movie))
            return QStringLiteral("the output %1 is the film itself").arg(outputs[i]);
        if (outputs.indexOf(outputs[i]) != i)
            return QStringLiteral("two outputs would both write %1").arg(outputs[i]);
    }
    return std::nullopt;
}

} // namespace

QString CliArguments::usage()
{
    return QStringLiteral("usage: bitglance-cli probe  [--tools DIR] FILM\n"
                          "       bitglance-cli render [--tools DIR] FILM --seconds S --mbps M[,M...]\n"
                          "                            [--max-height 0|720|1080] [--out DIR]\n"
                          "                            [--clips] [--side-by-side FILE] [--progress]\n"
                          "                            [--per-frame] [--frame N|worst] [--print-command]\n"
                          "       bitglance-cli scan   [--tools DIR] FILM --mbps M [--scenes N]\n"
                          "                            [--max-height 0|720|1080] [--jobs J]\n"
                          "       bitglance-cli advise [--tools DIR] FILM --ssim S [--scenes N]\n"
                          "                            [--max-height 0|720|1080]\n"
                          "       render, scan and advise also take [--encoder x265|x264|svtav1|hevc-hw]\n"
                          "                            [--preset P] [--depth 8|10]\n"
                          "       bitglance-cli --help\n");
}

QString CliArguments::originalPath(double bitrate) const
{
    const QString path = QDir(outDirectory).filePath(QStringLiteral("original.png"));
    return worstFrame ? perBitrate(path, bitrate) : path;
}

// With several bitrates "-<bitrate>" goes before the name's extension.
QString CliArguments::perBitrate(const QString &path, double bitrate) const
{
    if (mbps.size() < 2)
        return path;
    const QFileInfo file(path);
    const QString suffix = file.suffix();
    const QString base = suffix.isEmpty() ? file.fileName() : file.fileName().chopped(suffix.size() + 1);
    return file.dir().filePath(base + QLatin1Char('-') + mbpsText(bitrate)
                               + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
}

QString CliArguments::encodedPath(double bitrate) const
{
    return perBitrate(QDir(outDirectory).filePath(QStringLiteral("encoded.png")), bitrate);
}

QString CliArguments::referenceClipPath() const
{
    return QDir(outDirectory).filePath(QStringLiteral("reference.mkv"));
}

QString CliArguments::encodedClipPath(double bitrate) const
{
    return perBitrate(QDir(outDirectory).filePath(QStringLiteral("encoded.mp4")), bitrate);
}

QString CliArguments::sideBySidePath(double bitrate) const
{
    return perBitrate(sideBySide, bitrate);
}

std::optional<CliArguments> CliArguments::parse(const QList<QByteArray> &arguments, QString *problem)
{
    auto fail = [problem](const QString &text) -> std::optional<CliArguments> {
        *problem = text;
        return std::nullopt;
    };
    if (arguments.isEmpty())
        return fail(QStringLiteral("missing command"));

    CliArguments result;
    const QByteArray command = arguments.first();
    if (command == "--help" || command == "-h" || command == "help")
        return result;
    if (command == "probe")
        result.command = Command::Probe;
    else if (command == "render")
        result.command = Command::Render;
    else if (command == "scan")
        result.command = Command::Scan;
    else if (command == "advise")
        result.command = Command::Advise;
    else
        return fail(QStringLiteral("unknown command: %1").arg(QString::fromUtf8(command)));
    const bool render = result.command == Command::Render;
    const bool scan = result.command == Command::Scan || result.command == Command::Advise;

    QList<QByteArray> positional;
    std::optional<double> seconds;
    bool haveMbps = false;
    QString outDirectory = QStringLiteral(".");
    bool optionsEnded = false;

    for (int i = 1; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            positional << argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            result.command = Command::Help;
            return result;
        }
        if (render
            && (argument == "--clips" || argument == "--progress" || argument == "--per-frame"
                || argument == "--print-command")) {
            (argument == "--clips"           ? result.clips
                 : argument == "--progress"  ? result.progress
                 : argument == "--per-frame" ? result.perFrame
                                             : result.printCommand) = true;
            continue;
        }
        // Every option takes a value, given as the next argument or after "=".
        QString name = QString::fromUtf8(argument);
        QString value;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        } else {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("%1 needs a value").arg(name));
            value = QFile::decodeName(arguments.at(++i));
        }

        if (name == QLatin1String("--tools")) {
            result.toolsDirectory = absolute(value);
        } else if (render && name == QLatin1String("--seconds")) {
            seconds = parseNumber(value);
            if (!seconds)
                return fail(QStringLiteral("--seconds is not a number: %1").arg(value));
            if (!std::isfinite(*seconds) || *seconds < 0)
                return fail(QStringLiteral("--seconds takes a finite time of 0 seconds or more: %1").arg(value));
        } else if ((render || result.command == Command::Scan) && name == QLatin1String("--mbps")) {
            for (const QString &piece : value.split(QLatin1Char(','))) {
                const std::optional<double> mbps = parseNumber(piece);
                if (!mbps)
                    return fail(QStringLiteral("--mbps is not a list of numbers: %1").arg(value));
                if (!(*mbps >= ComparisonLimits::minMbps && *mbps <= ComparisonLimits::maxEngineMbps))
                    return fail(QStringLiteral("--mbps takes bitrates from %1 to %2 Mbit/s: %3")
                                    .arg(ComparisonLimits::minMbps)
                                    .arg(ComparisonLimits::maxEngineMbps)
                                    .arg(piece));
                result.mbps << *mbps;
            }
            haveMbps = true;
        } else if ((render || scan) && name == QLatin1String("--max-height")) {
            const auto &limits = ComparisonLimits::heightLimits;
            const auto limit =
                std::find_if(limits.begin(), limits.end(), [&value](qint64 l) { return value == QString::number(l); });
            if (limit == limits.end())
                return fail(QStringLiteral("--max-height takes 0, 720 or 1080"));
            result.maxHeight = *limit;
        } else if (render && name == QLatin1String("--out")) {
            outDirectory = value;
        } else if (render && name == QLatin1String("--frame")) {
            bool number = false;
            const qint64 frame = value.toLongLong(&number);
            result.worstFrame = value == QLatin1String("worst");
            if (!result.worstFrame && (!number || frame < 0))
                return fail(QStringLiteral("--frame takes a frame of the clip from 0, or worst: %1").arg(value));
            result.frame = result.worstFrame ? std::nullopt : std::optional(frame);
        } else if (render && name == QLatin1String("--side-by-side")) {
            if (value.isEmpty())
                return fail(QStringLiteral("--side-by-side needs a file name"));
            result.sideBySide = absolute(value);
        } else if (const auto encoder = render || scan ? EncoderOptions::read(result, name, value, problem)
                                                       : EncoderOptions::Reading::NotMine;
                   encoder != EncoderOptions::Reading::NotMine) {
            if (encoder == EncoderOptions::Reading::Refused)
                return std::nullopt;
        } else if (const auto read =
                       scan ? ScanOptions::read(result, name, value, problem) : ScanOptions::Reading::NotMine;
                   read != ScanOptions::Reading::NotMine) {
            if (read == ScanOptions::Reading::Refused)
                return std::nullopt;
        } else {
            return fail(QStringLiteral("unknown option: %1").arg(name));
        }
    }

    if (positional.size() != 1)
        return fail(positional.isEmpty() ? QStringLiteral("missing FILM") : QStringLiteral("more than one FILM"));
    if (positional.first().isEmpty())
        return fail(QStringLiteral("FILM is empty"));
    result.movie = movieUrl(positional.first());
    if (const std::optional<QString> incomplete = scan ? ScanOptions::check(result) : std::nullopt)
        return fail(*incomplete);
    if (const std::optional<QString> refused = EncoderOptions::settle(result))
        return fail(*refused);

    if (render) {
        if (!seconds)
            return fail(QStringLiteral("render needs --seconds"));
        if (!haveMbps)
            return fail(QStringLiteral("render needs --mbps"));
        result.seconds = *seconds;
        result.outDirectory = absolute(outDirectory);
        if (const std::optional<QString> conflict = renderConflict(result))
            return fail(*conflict);
    }
    return result;
}
