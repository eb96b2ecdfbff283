#include "cli/json_output.h"

#include "engine/encoder_catalogue.h"
#include "engine/preview_error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace {

// A write to standard output that waits for a reader which does not read is woken by SIGURG
// (whose handler does nothing, so that the write returns early) once the program is to end.
constexpr int kWakeSignal = SIGURG;
std::atomic<bool> interrupted{false};
std::atomic<bool> writing{false};
pthread_t writer;

void wake(int)
{}

// One JSON value in its compact text form.
QByteArray json(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

QByteArray JsonOutput::object(const QList<std::pair<const char *, QJsonValue>> &members)
{
    QByteArray text = "{";
    for (const auto &[key, value] : members) {
        if (text.size() > 1)
            text += ',';
        text += json(QString::fromLatin1(key)) + ':' + json(value);
    }
    return text + '}';
}

QByteArray JsonOutput::object(const QList<std::pair<const char *, QJsonValue>> &members,
                              const QList<std::pair<const char *, QByteArray>> &nested)
{
    QByteArray text = object(members);
    text.chop(1);
    for (const auto &[key, value] : nested)
        text += (text.size() > 1 ? "," : "") + json(QString::fromLatin1(key)) + ':' + value;
    return text + '}';
}

std::pair<const char *, QByteArray> JsonOutput::encoderMember(const EncoderSetting &setting)
{
    return {"encoder",
            object({{"name", EncoderCatalogue::cliName(setting.encoder)},
                    {"preset", setting.preset.isEmpty() ? QJsonValue() : QJsonValue(setting.preset)},
                    {"depth", setting.depth}})};
}

QJsonValue JsonOutput::optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QList<std::pair<const char *, QByteArray>> JsonOutput::qualityMembers(const QualityNumbers &quality)
{
    return {
        {"ssim", object({{"frame", quality.ssimFrame}, {"clip", quality.ssimClip}})},
        {"psnr", object({{"frame", optionalNumber(quality.psnrFrame)}, {"clip", optionalNumber(quality.psnrClip)}})}};
}

QList<std::pair<const char *, QByteArray>> JsonOutput::perFrameMembers(const PreviewResult &result,
                                                                       const QualityNumbers &quality)
{
    QByteArrayList frames;
    for (const FrameQuality &frame : quality.frames)
        frames << object({{"ssim", frame.ssim}, {"psnr", optionalNumber(frame.psnr)}});
    const std::optional<qint64> worst = quality.worstFrame();
    const QByteArray worstFrame = !worst ? QByteArray("null")
                                         : object({{"index", double(*worst)},
                                                   {"seconds", result.secondsOf(*worst)},
                                                   {"ssim", quality.frames.at(*worst).ssim},
                                                   {"psnr", optionalNumber(quality.frames.at(*worst).psnr)}});
    return {{"frames", '[' + frames.join(',') + ']'}, {"worstFrame", worstFrame}};
}

void JsonOutput::printLine(const QByteArray &line)
{
    static std::once_flag woken;
    std::call_once(woken, [] {
        struct sigaction action = {};
        action.sa_handler = wake; // without SA_RESTART
        sigemptyset(&action.sa_mask);
        sigaction(kWakeSignal, &action, nullptr);
    });
    const QByteArray text = line + '\n';
    writer = pthread_self();
    writing = true;
    int error = 0;
    for (qsizetype done = 0; done < text.size() && error == 0;) {
        const ssize_t written =
            interrupted ? -1 : ::write(STDOUT_FILENO, text.constData() + done, size_t(text.size() - done));
        if (written >= 0)
            done += written;
        else
            error = interrupted ? EINTR : errno == EINTR ? 0 : errno;
    }
    writing = false;
    if (error == 0)
        return;
    if (error == EPIPE || error == EINTR)
        throw OutputClosed();
    throw PreviewError::system(QStringLiteral("cannot write to standard output: ")
                               + QString::fromLocal8Bit(std::strerror(error)));
}

void JsonOutput::interruptWriting()
{
    interrupted = true;
    if (writing)
        pthread_kill(writer, kWakeSignal);
}
