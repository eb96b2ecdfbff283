// What the probe makes of ffprobe's JSON: the stream it chooses, the movies it refuses, the numbers
// it reads and the turn that stands the picture upright.

#include "engine/internal/movie_probe.h"
#include "support/failure_text.h"
#include "support/fake_tools.h"
#include "support/text_table.h"

#include <QtTest>

const QString kMovie = "/Filme/Urlaub 2023/Strand ä.mp4";

// A probe output: a good stream with later keys (null for a missing one) and the format object.
static QString with(const QString &keys, const QString &format = R"({"duration":"100.0"})")
{
    return R"({"streams":[{"codec_type":"video","codec_name":"h264","width":1920,"height":1080,"avg_frame_rate":"25/1",)"
           R"("duration":"100.000000","bit_rate":"8520000","field_order":"progressive",)"
        + keys + R"(}],"format":)" + format + '}';
}

// The movie kMovie as the probe should read it.
static MovieInfo movie(qint64 width, qint64 height, const char *codec, double fps, double duration,
                       std::optional<double> bitrate)
{
    MovieInfo m;
    m.url = QUrl::fromLocalFile(kMovie), m.width = width, m.height = height, m.codec = codec, m.fps = fps;
    m.duration = duration, m.bitrate = bitrate;
    return m;
}

// What QCOMPARE shows of a movie that differs.
char *toString(const MovieInfo &m)
{
    return QTest::toString(QString::asprintf("%s %lld×%lld %s %.17g fps %.17g s %.17g bit/s %d°", qPrintable(m.path()),
                                             m.width, m.height, qPrintable(m.codec), m.fps, m.duration,
                                             m.bitrate.value_or(-1), m.rotation));
}

class ProbeRules : public QObject {
    Q_OBJECT

private slots:
    void probeRules_data(); // below, like all tables with raw strings: moc does not read them in a class
    void probeRules()
    {
        MovieInfo m;
        QTEST(failureOf([&] {
                  m = movieInfoFromProbe(parseProbeOutput(fetched<QString>("json").toUtf8()),
                                         QUrl::fromLocalFile(kMovie));
              }),
              "failure");
        QTEST(m, "movie");
    }

    // Degrees clockwise that stand the picture upright: the display matrix (counter-clockwise)
    // before the rotate tag, to the nearest quarter turn.
    void rotation()
    {
        QStringList turns;
        for (const QString keys : {"", R"("side_data_list":[{"x":1},{"rotation":90}],)",
                                   R"("side_data_list":[{"rotation":180}],"tags":{"rotate":"90"},)",
                                   R"("tags":{"rotate":"-89.9"},)", R"("tags":{"rotate":"x"},)"}) {
            const QString json = FakeTools::defaultProbeJson().replace(R"("width")", keys + R"("width")");
            turns << QString::number(movieInfoFromProbe(parseProbeOutput(json.toUtf8()), QUrl()).rotation);
        }
        QCOMPARE(turns.join(' '), "0 270 180 270 0");
    }
};

void ProbeRules::probeRules_data()
{
    const auto row = table<QString, QString, MovieInfo>("json", "failure", "movie"); // movie: when it did not fail
    const auto refused = [&row](const char *name, const QString &json, const QString &failure) {
        row(name, json, failure, MovieInfo());
    };
    const auto reads = [&row](const char *name, const QString &json, const MovieInfo &m) {
        row(name, json, "no failure", m);
    };
    const MovieInfo good = movie(1920, 1080, "h264", 25, 100, 8520000);
    const auto bitrate = [&good](std::optional<double> b) {
        MovieInfo m = good;
        m.bitrate = b;
        return m;
    };
    const QString noVideo = previewError(PreviewError::noVideoStream().message()),
                  hdr = previewError(PreviewError::hdrNotSupported().message()),
                  length = previewError(PreviewError::unknownDuration().message()),
                  interlaced = previewError(PreviewError::interlacedNotSupported().message());
    refused("not JSON", "kein JSON", "SystemError: illegal value");
    refused("top level is a list", R"([{"streams":[]}])", previewError(PreviewError::unreadableMovieData().message()));
    // Stream choice.
    const QString cover =
        R"({"codec_type":"video","codec_name":"mjpeg","width":600,"height":600,"disposition":{"attached_pic":1}})";
    const QString audio = R"({"codec_type":"audio","codec_name":"aac","duration":"100.0"})";
    const QString stream =
        R"({"codec_type":"video","codec_name":"hevc","width":1280,"height":720,"avg_frame_rate":"30000/1001","duration":"12.5"})";
    reads("cover picture before the film", R"({"streams":[)" + audio + ',' + cover + ',' + stream + "]}",
          movie(1280, 720, "hevc", 30000 / 1001.0, 12.5, std::nullopt));
    refused("only audio and covers", R"({"streams":[)" + cover + ',' + audio + "]}", noVideo);
    reads("attached_pic as text is no cover", with(R"("disposition":{"attached_pic":"1"})"), good);
    refused("height as text", with(R"("height":"1080")"), noVideo);
    // Width, then HDR and Dolby Vision, then interlace, then duration.
    refused("width before HDR", with(R"("color_transfer":"smpte2084","width":null)"), noVideo);
    refused("HLG before interlace", with(R"("color_transfer":"arib-std-b67","field_order":"tt")"), hdr);
    refused("PQ before duration", with(R"("color_transfer":"smpte2084","duration":"0")", "{}"), hdr);
    refused("DOVI in a key", with(R"("side_data_list":[{"x":{"DOVI":1}}])"), hdr);
    refused("DOVI deep in lists, before interlace",
            with(R"("side_data_list":[[["no", ["xDOVIx"]]]],"field_order":"bb")"), hdr);
    refused("field order text is exact", with(R"("field_order":"Progressive")"), interlaced);
    refused("interlace before duration", with(R"("field_order":"tb","duration":null)", "{}"), interlaced);
    reads("field order unknown", with(R"("field_order":"unknown")"), good);
    // Duration: the stream's text, else the format's text; no fallback from a bad stream value.
    reads("stream duration N/A", with(R"("duration":"N/A")", R"({"duration":"90.5"})"),
          movie(1920, 1080, "h264", 25, 90.5, 8520000));
    refused("stream duration 0 does not fall back", with(R"("duration":"0")", R"({"duration":"90.5"})"), length);
    refused("format duration as a number", with(R"("duration":null)", R"({"duration":90.5})"), length);
    // Frame rate: the average rate; anything unusable gives 25.
    reads("empty pieces dropped", with(R"("avg_frame_rate":"//60//2/")"), movie(1920, 1080, "h264", 30, 100, 8520000));
    for (const char *rate : {R"("0/0")", R"("30")", "50", R"("60/2/1")", R"("-50/1")", R"("50/0")"})
        reads(rate, with(QString(R"("avg_frame_rate":)") + rate), good);
    // Bitrate and codec.
    reads("tags BPS before BPS-eng", with(R"("bit_rate":null,"tags":{"BPS-eng":"1","BPS":"2"})"), bitrate(2));
    reads("stream bit_rate before tags", with(R"("tags":{"BPS":"2"})"), good);
    reads("unparsable bit_rate hides tags", with(R"("bit_rate":"N/A","tags":{"BPS":"2"})"), bitrate(std::nullopt));
    reads("bit_rate as a number is missing", with(R"("bit_rate":8520000,"tags":{"BPS":"3"})"), bitrate(3));
    reads("tags with a non-text value ignored", with(R"("bit_rate":null,"tags":{"BPS":"2","N":75})"), bitrate({}));
    reads("codec name not text", with(R"("codec_name":7)"), movie(1920, 1080, "Video", 25, 100, 8520000));
}

QTEST_GUILESS_MAIN(ProbeRules)
#include "tst_probe.moc"
