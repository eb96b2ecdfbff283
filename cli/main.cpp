// bitglance-cli: the engine without a window, for scripts and for trying Bitglance on a
// machine without a display. It prints the same texts the window shows.

#include "cli/cli_arguments.h"
#include "cli/interrupt_watcher.h"
#include "cli/json_output.h"
#include "cli/scan_commands.h"
#include "engine/comparison_texts.h"
#include "engine/encoder_catalogue.h"
#include "engine/error_description.h"
#include "engine/film_command.h"
#include "engine/output_file.h"
#include "engine/preview_engine.h"
#include "engine/preview_error.h"
#include "engine/text_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

using JsonOutput::printLine;

void printError(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

void failWith(const QString &text)
{
    throw PreviewError(text);
}

// The output folder must be one that can be made and written, found before any work: the
// folder itself when it exists, otherwise the nearest folder above it that exists.
void checkOutFolder(const QString &path)
{
    QString existing = path;
    while (!QFileInfo::exists(existing) && QFileInfo(existing).dir().path() != existing)
        existing = QFileInfo(existing).dir().path();
    const QFileInfo folder(existing);
    if (!folder.isDir())
        failWith(existing + QStringLiteral(": not a folder"));
    if (::access(QFile::encodeName(existing).constData(), W_OK | X_OK) != 0)
        failWith(existing + QStringLiteral(": cannot write there"));
}

// The composed pictures go into a folder that exists and can be written, under names that are
// neither folders nor links: found before any work, as for the output folder.
void checkSideBySide(const CliArguments &arguments)
{
    if (arguments.sideBySide.isEmpty())
        return;
    const QFileInfo folder(QFileInfo(arguments.sideBySide).path());
    if (!folder.exists())
        failWith(folder.filePath() + QStringLiteral(": no such folder"));
    if (!folder.isDir())
        failWith(folder.filePath() + QStringLiteral(": not a folder"));
    if (::access(QFile::encodeName(folder.filePath()).constData(), W_OK | X_OK) != 0)
        failWith(folder.filePath() + QStringLiteral(": cannot write there"));
    for (const double mbps : arguments.mbps) {
        const QFileInfo picture(arguments.sideBySidePath(mbps));
        if (picture.isSymLink())
            throw PreviewError::linkRefused(picture.filePath());
        if (picture.isDir())
            failWith(picture.filePath() + QStringLiteral(": is a folder"));
    }
}

void probeCommand(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    const MovieInfo movie = engine.probe(arguments.movie, token).result();
    printLine(JsonOutput::object({{"path", movie.path()},
                                  {"duration", movie.duration},
                                  {"width", double(movie.width)},
                                  {"height", double(movie.height)},
                                  {"fps", movie.fps},
                                  {"codec", movie.codec},
                                  {"bitrate", JsonOutput::optionalNumber(movie.bitrate)}}));
}

// {"step":"cut","frames":40,"totalFrames":75,"remainingSeconds":1.5} on standard error; the time
// left is an estimate, given to a tenth of a second.
void printProgress(const RenderProgress &progress)
{
    const bool cut = progress.step == RenderProgress::Step::Cut;
    printError(QString::fromUtf8(JsonOutput::object(
        {{"step", cut ? QStringLiteral("cut") : QStringLiteral("encode")},
         {"frames", double(progress.frames)},
         {"totalFrames", double(progress.totalFrames)},
         {"remainingSeconds",
          progress.remainingSeconds < 0 ? QJsonValue(QJsonValue::Null)
                                        : QJsonValue(std::round(progress.remainingSeconds * 10) / 10)}})));
}

// The files of one bitrate: its picture, and as asked its clips and the composed picture.
void writeOutputs(PreviewEngine &engine, const CliArguments &arguments, const MovieInfo &movie,
                  const PreviewResult &result, double mbps, bool first, const CancelToken &token)
{
    if (first) {
        // The folder is made once there is something to put in it; the reference frame and clip
        // are the same for every bitrate of one run.
        if (!QDir().mkpath(arguments.outDirectory))
            failWith(arguments.outDirectory + QStringLiteral(": cannot create folder"));
        if (arguments.clips)
            engine.saveClip(result, PreviewEngine::ClipKind::Reference, arguments.referenceClipPath(), token)
                .waitForFinished();
    }
    // The reference frame is the same for every bitrate, but for each one's worst frame.
    if (first || arguments.worstFrame)
        OutputFile::writeWhole(arguments.originalPath(mbps), result.original);
    OutputFile::writeWhole(arguments.encodedPath(mbps), result.encoded);
    if (arguments.clips)
        engine.saveClip(result, PreviewEngine::ClipKind::Encoded, arguments.encodedClipPath(mbps), token)
            .waitForFinished();
    if (!arguments.sideBySide.isEmpty())
        engine
            .saveComparisonPicture(result, comparisonCaption(QFileInfo(movie.path()).fileName(), result),
                                   arguments.sideBySidePath(mbps), token)
            .waitForFinished();
}

void renderCommand(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    checkOutFolder(arguments.outDirectory);
    checkSideBySide(arguments);
    const MovieInfo movie = engine.probe(arguments.movie, token).result();
    const ProgressCallback progress = arguments.progress ? ProgressCallback(printProgress) : ProgressCallback();
    QList<double> written;
    for (const double mbps : arguments.mbps) {
        PreviewResult result =
            engine.render(movie, {arguments.seconds, mbps, arguments.maxHeight, arguments.encoder}, token, progress)
                .result();
        const QualityNumbers quality = engine.measure(result, token).result();
        result.quality = quality;
        if (arguments.frame || arguments.worstFrame) {
            const qint64 frame = arguments.frame ? *arguments.frame : quality.worstFrame().value_or(result.frame);
            if (frame >= result.frameCount)
                failWith(QStringLiteral("--frame %1: the clip has %2 frames, from 0 to %3")
                             .arg(frame)
                             .arg(result.frameCount)
                             .arg(result.frameCount - 1));
            result = engine.atFrame(result, frame, token).result();
        }
        // A bitrate given again is the same comparison: its files are written already.
        if (!written.contains(mbps))
            writeOutputs(engine, arguments, movie, result, mbps, written.isEmpty(), token);
        written << mbps;
        QList<std::pair<const char *, QJsonValue>> members{{"mbps", mbps},
                                                           {"width", double(result.width)},
                                                           {"height", double(result.height)},
                                                           {"actualMbps", result.actualMbps},
                                                           {"seconds", result.seconds},
                                                           {"sampleSeconds", result.sampleSeconds},
                                                           {"measurement", measurementText(mbps, result)},
                                                           {"status", comparisonStatusText(result)},
                                                           {"frame", double(result.frame)},
                                                           {"original", arguments.originalPath(mbps)},
                                                           {"encoded", arguments.encodedPath(mbps)}};
        if (arguments.clips)
            members << std::pair{"referenceClip", QJsonValue(arguments.referenceClipPath())}
                    << std::pair{"encodedClip", QJsonValue(arguments.encodedClipPath(mbps))};
        if (!arguments.sideBySide.isEmpty())
            members << std::pair{"sideBySide", QJsonValue(arguments.sideBySidePath(mbps))};
        members << std::pair{"filmMegabytes",
                             std::round(FilmCommand::videoMegabytes(result.actualMbps, movie.duration) * 10) / 10};
        if (arguments.printCommand)
            members << std::pair{"command",
                                 QJsonValue(FilmCommand::shellText(
                                     movie, {arguments.seconds, mbps, arguments.maxHeight, arguments.encoder}))};
        QList<std::pair<const char *, QByteArray>> nested = JsonOutput::qualityMembers(*result.quality);
        nested << JsonOutput::encoderMember(arguments.encoder);
        if (arguments.perFrame)
            nested += JsonOutput::perFrameMembers(result, quality);
        printLine(JsonOutput::object(members, nested));
    }
}

// The card for --encoder hevc-hw: the first API whose one-frame test encodes at the asked depth.
EncoderSetting withCard(PreviewEngine &engine, const EncoderSetting &asked, const CancelToken &token)
{
    if (asked.encoder != VideoEncoder::HevcHardware)
        return asked;
    for (const EncoderSetting &working : engine.hardwareEncoders(token).result())
        if (working.depth == asked.depth)
            return working;
    failWith(QStringLiteral("--encoder hevc-hw: no graphics card here encodes HEVC at %1 bit (tried VAAPI, NVENC "
                            "and QSV); x265, x264 and svtav1 work everywhere")
                 .arg(asked.depth));
    return asked;
}

// Standard descriptors that are closed at start get /dev/null, so that no file the program opens
// later takes their number. Returns false when standard output was among them.
bool standardOutputOpen()
{
    bool outputOpen = true;
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1)
            continue;
        outputOpen = outputOpen && descriptor != STDOUT_FILENO;
        const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            ::dup2(opened, descriptor);
            ::close(opened);
        }
    }
    return outputOpen;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool outputOpen = standardOutputOpen();
    CancelToken token;
    InterruptWatcher watcher(token);
    QCoreApplication app(argc, argv);
    // The texts of the lines (measurement, status) and of the engine's failures in the user's
    // language; the usage and the command line's own messages are in English whatever it is.
    const TextLanguage language;

    // The arguments as bytes: a movie's name need not be valid UTF-8.
    QList<QByteArray> words;
    for (int i = 1; i < argc; ++i)
        words << QByteArray(argv[i]);
    QString problem;
    const std::optional<CliArguments> arguments = CliArguments::parse(words, &problem);
    if (!arguments) {
        printError(QStringLiteral("bitglance-cli: ") + problem);
        std::fputs(CliArguments::usage().toUtf8().constData(), stderr);
        return 2;
    }
    if (!outputOpen) {
        printError(QStringLiteral("bitglance-cli: standard output is closed"));
        return 1;
    }

    try {
        if (arguments->command == CliArguments::Command::Help) {
            printLine(CliArguments::usage().toUtf8().chopped(1));
            return 0;
        }
        // The engine is destroyed (and its work folder removed) before main returns, on every path.
        PreviewEngine engine(arguments->toolsDirectory.isEmpty() ? PreviewEngine::defaultToolsDirectory()
                                                                 : arguments->toolsDirectory);
        CliArguments settled = *arguments;
        if (settled.command != CliArguments::Command::Probe)
            settled.encoder = withCard(engine, settled.encoder, token);
        if (settled.command == CliArguments::Command::Probe)
            probeCommand(engine, settled, token);
        else if (settled.command == CliArguments::Command::Scan)
            ScanCommands::scan(engine, settled, token);
        else if (settled.command == CliArguments::Command::Advise)
            ScanCommands::advise(engine, settled, token);
        else
            renderCommand(engine, settled, token);
        watcher.outputComplete();
    } catch (const JsonOutput::OutputClosed &) {
        watcher.interrupt(SIGPIPE);
    } catch (...) {
        if (watcher.signal() == 0) {
            printError(errorDescription(std::current_exception()));
            return 1;
        }
    }
    return watcher.signal() != 0 ? 128 + watcher.signal() : 0;
}
