#include "engine/internal/result_export.h"

#include "engine/cancelled_error.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/output_file.h"
#include "engine/preview_error.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>

namespace {

// The files of a picture being composed, in the work folder; ffmpeg runs there and names them
// relative to it, so that no path needs escaping inside the filter graph.
const QString kOriginal = QStringLiteral("picture-original.png");
const QString kEncoded = QStringLiteral("picture-encoded.png");
const QString kCaption = QStringLiteral("caption.txt");
const QString kPicture = QStringLiteral("comparison.png");

// A file in the work folder: a full disk says so, as the tools' failures do.
void writeWhole(const WorkFolder &folder, const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        folder.throwWriteFailure(path, errno);
}

// Copies source to destination through a temporary file beside it, renamed into place at the end.
void copyInto(const QString &source, const QString &destination, const Cancellation &cancel)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw PreviewError::system(source + QStringLiteral(": ") + in.errorString());
    OutputFile out(destination);
    while (!in.atEnd()) {
        if (cancel.requested())
            throw CancelledError();
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw PreviewError::system(source + QStringLiteral(": ") + in.errorString());
        out.write(chunk);
    }
    if (cancel.requested())
        throw CancelledError();
    out.commit();
}

} // namespace

ResultExport::ResultExport(QString ffmpeg, const ToolRunner &runner, const WorkFolder &folder, EncodeCache &cache)
    : ffmpeg_(std::move(ffmpeg)), runner_(runner), folder_(folder), cache_(cache)
{}

void ResultExport::saveClip(const PreviewResult &result, bool reference, const QString &destination,
                            const Cancellation &cancel) const
{
    if (cancel.requested())
        throw CancelledError();
    QString source;
    if (reference) {
        if (cache_.holdsReference(EncodeCache::clipKeyOf(result.cacheKey)))
            source = folder_.file(ReferenceClip::clipFile());
    } else if (cache_.find(result.cacheKey)) {
        source = cache_.encodedClip(result.cacheKey);
    }
    if (source.isEmpty())
        throw PreviewError::resultGone();
    copyInto(source, destination, cancel);
}

void ResultExport::saveComparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                         const QString &destination, const Cancellation &cancel) const
{
    composePicture(result, captionLines, cancel,
                   [&](const QString &picture) { copyInto(picture, destination, cancel); });
}

QByteArray ResultExport::comparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                           const Cancellation &cancel) const
{
    QByteArray bytes;
    composePicture(result, captionLines, cancel, [&bytes](const QString &picture) {
        QFile file(picture);
        if (!file.open(QIODevice::ReadOnly))
            throw PreviewError::system(picture + QStringLiteral(": ") + file.errorString());
        bytes = file.readAll();
    });
    return bytes;
}

void ResultExport::composePicture(const PreviewResult &result, const QStringList &captionLines,
                                  const Cancellation &cancel, const std::function<void(const QString &)> &use) const
{
    if (cancel.requested())
        throw CancelledError();
    const bool turned = result.rotation == 90 || result.rotation == 270;
    const qint64 width = turned ? result.height : result.width;
    const qint64 height = turned ? result.width : result.height;
    writeWhole(folder_, folder_.file(kOriginal), result.original);
    writeWhole(folder_, folder_.file(kEncoded), result.encoded);
    writeWhole(folder_, folder_.file(kCaption), captionLines.join(QLatin1Char('\n')).toUtf8());
    QFile::remove(folder_.file(kPicture));
    const auto cleanUp = qScopeGuard([this] {
        for (const QString &name : {kOriginal, kEncoded, kCaption, kPicture})
            QFile::remove(folder_.file(name));
    });
    runner_.run(ffmpeg_,
                FfmpegCommands::comparisonPicture(kOriginal, kEncoded, result.rotation, height,
                                                  captionFontSize(width, height, captionLines),
                                                  int(captionLines.size()), kCaption, kPicture),
                cancel, {}, folder_.path());
    use(folder_.file(kPicture));
}

int ResultExport::captionFontSize(qint64 width, qint64 height, const QStringList &captionLines)
{
    qsizetype longest = 1;
    for (const QString &line : captionLines)
        longest = std::max(longest, line.size());
    // DejaVu Sans averages about 0.62 em per character of these lines; a margin of one em each side.
    const double fitting = 2.0 * double(width) / (0.62 * double(longest) + 2.0);
    const double wanted = std::clamp(double(height) / 30.0, 12.0, 64.0);
    return std::max(6, int(std::min(wanted, fitting)));
}
