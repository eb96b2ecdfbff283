#include "model/clip_decoder.h"

#include "engine/preview_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>

#include <algorithm>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

// FFmpeg's text for one of its error codes.
QString ffmpegText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

[[noreturn]] void fail(const QString &detail)
{
    throw PreviewError(ClipDecoder::unreadableText()).withDetail(detail);
}

void check(int code, const char *step)
{
    if (code < 0)
        fail(QLatin1String(step) + QStringLiteral(": ") + ffmpegText(code));
}

// Packets a seek may leave before the wanted one are read rather than sought past: reading a
// packet costs a copy, decoding none.
constexpr qint64 readAheadInsteadOfSeeking = 8;

} // namespace

struct ClipDecoder::Parts {
    // One video packet: where it starts in the file (its identity after a seek) and its time.
    struct Entry {
        qint64 pos;
        qint64 timestamp;
    };

    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    SwsContext *scaler = nullptr;
    int colourMatrix = -1; // what scaler was last set up for
    int colourRange = -1;
    AVPacket *packet = av_packet_alloc();
    AVFrame *decoded = av_frame_alloc();
    int stream = -1;
    double timeBase = 0;
    QList<Entry> entries;
    // The packet the demuxer gives next, counted as the entries.
    qint64 next = 0;

    ~Parts()
    {
        sws_freeContext(scaler);
        av_frame_free(&decoded);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    // Reads the next packet of the video stream into packet; false at the end of the file.
    bool readPacket()
    {
        for (;;) {
            av_packet_unref(packet);
            const int code = av_read_frame(format, packet);
            if (code == AVERROR_EOF)
                return false;
            check(code, "read");
            if (packet->stream_index == stream)
                return true;
        }
    }

    void index()
    {
        while (readPacket()) {
            const qint64 time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            entries.append({packet->pos, time != AV_NOPTS_VALUE ? time : 0});
        }
        next = entries.size();
    }

    // The entry a packet read after a seek is, found by its place in the file; -1 when unknown.
    qint64 locate(qint64 pos) const
    {
        const auto at = std::lower_bound(entries.cbegin(), entries.cend(), pos,
                                         [](const Entry &entry, qint64 p) { return entry.pos < p; });
        return at != entries.cend() && at->pos == pos && pos >= 0 ? qint64(at - entries.cbegin()) : -1;
    }

    // Leaves packet holding frame n, seeking where reading on would not be cheaper.
    void readFrame(qint64 n)
    {
        qint64 at = std::exchange(next, -1); // unknown until frame n has been read
        if (at < 0 || n < at || n - at > readAheadInsteadOfSeeking) {
            // Back to a packet at or before n: the one its timestamp finds, else ever earlier ones.
            for (qint64 back = 0;; back = back ? 2 * back : 1) {
                const qint64 from = std::max<qint64>(0, n - back);
                check(av_seek_frame(format, stream, entries[from].timestamp, AVSEEK_FLAG_BACKWARD), "seek");
                avcodec_flush_buffers(codec);
                const qint64 found = readPacket() ? locate(packet->pos) : -1;
                if (found >= 0 && found <= n) {
                    at = found + 1;
                    break;
                }
                if (from == 0)
                    fail(QStringLiteral("seek: frame %1 not found").arg(n));
            }
        }
        for (; at <= n; ++at)
            if (!readPacket())
                fail(QStringLiteral("read: the clip ends before frame %1").arg(n));
        next = at;
    }

    void decode()
    {
        check(avcodec_send_packet(codec, packet), "decode");
        int code = avcodec_receive_frame(codec, decoded);
        if (code == AVERROR(EAGAIN)) {
            // A decoder that holds frames back gives this one when drained.
            check(avcodec_send_packet(codec, nullptr), "decode");
            code = avcodec_receive_frame(codec, decoded);
            avcodec_flush_buffers(codec);
        }
        check(code, "decode");
    }

    QImage convert(QSize size)
    {
        const QSize own(decoded->width, decoded->height);
        if (!size.isValid() || size.width() > own.width() || size.height() > own.height())
            size = own;
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            fail(QStringLiteral("no memory for a %1 × %2 frame").arg(size.width()).arg(size.height()));
        // Bicubic as ffmpeg's frame extraction converts; averaging where the frame shrinks.
        const int flags = size == own ? SWS_BICUBIC : SWS_AREA;
        const AVPixelFormat pixels = AVPixelFormat(decoded->format);
        SwsContext *const before = scaler;
        scaler = sws_getCachedContext(scaler, own.width(), own.height(), pixels, size.width(), size.height(),
                                      AV_PIX_FMT_RGB32, flags, nullptr, nullptr, nullptr);
        if (!scaler)
            fail(QStringLiteral("no conversion from %1").arg(QLatin1String(av_get_pix_fmt_name(pixels))));
        // The colours as ffmpeg's frame extraction gives them: the clip's matrix and range. Setting
        // them sets the conversion up anew, so only for a new one or new colours.
        const int matrix = decoded->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
        const int fullRange = decoded->color_range == AVCOL_RANGE_JPEG;
        if (scaler != before || matrix != colourMatrix || fullRange != colourRange) {
            sws_setColorspaceDetails(scaler, sws_getCoefficients(matrix), fullRange,
                                     sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
            colourMatrix = matrix;
            colourRange = fullRange;
        }
        uint8_t *target[] = {image.bits()};
        const int stride[] = {int(image.bytesPerLine())};
        sws_scale(scaler, decoded->data, decoded->linesize, 0, own.height(), target, stride);
        av_frame_unref(decoded);
        return image;
    }
};

ClipDecoder::ClipDecoder(const QString &path, const std::atomic<bool> *stop) : parts_(std::make_unique<Parts>())
{
    // FFmpeg's own messages would go to standard error: a failure's text carries its words.
    av_log_set_level(AV_LOG_QUIET);
    Parts &p = *parts_;
    p.format = avformat_alloc_context();
    if (!p.format || !p.packet || !p.decoded)
        fail(QStringLiteral("no memory"));
    if (stop)
        p.format->interrupt_callback = {
            [](void *flag) { return int(static_cast<const std::atomic<bool> *>(flag)->load()); },
            const_cast<std::atomic<bool> *>(stop)};
    check(avformat_open_input(&p.format, QFile::encodeName(path).constData(), nullptr, nullptr), "open");
    const AVCodec *decoder = nullptr;
    p.stream = av_find_best_stream(p.format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    check(p.stream, "video stream");
    for (unsigned i = 0; i < p.format->nb_streams; ++i)
        p.format->streams[i]->discard = int(i) == p.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVStream *video = p.format->streams[p.stream];
    p.timeBase = av_q2d(video->time_base);

    p.codec = avcodec_alloc_context3(decoder);
    if (!p.codec)
        fail(QStringLiteral("no memory"));
    check(avcodec_parameters_to_context(p.codec, video->codecpar), "decoder");
    // One thread: the reader decodes both clips of a pair at once, and frame threads would hold
    // frames back.
    p.codec->thread_count = 1;
    check(avcodec_open2(p.codec, decoder, nullptr), "decoder");

    p.index();
    if (p.entries.isEmpty())
        fail(QStringLiteral("no video frames"));
}

ClipDecoder::~ClipDecoder() = default;

qint64 ClipDecoder::frameCount() const
{
    return parts_->entries.size();
}

double ClipDecoder::seconds(qint64 frame) const
{
    return double(parts_->entries.at(frame).timestamp) * parts_->timeBase;
}

QSize ClipDecoder::size() const
{
    return QSize(parts_->codec->width, parts_->codec->height);
}

QImage ClipDecoder::frame(qint64 n, QSize size)
{
    if (n < 0 || n >= frameCount())
        fail(QStringLiteral("frame %1 of %2").arg(n).arg(frameCount()));
    parts_->readFrame(n);
    parts_->decode();
    return parts_->convert(size);
}

QString ClipDecoder::unreadableText()
{
    return QCoreApplication::translate("ClipDecoder", "Die Einzelbilder des Ausschnitts lassen sich nicht lesen.");
}
