// The engine's pure rules: number texts, the probe's JSON rules, the clip plan and every tool's
// command line.

#include "clip_plan.h"
#include "engine_test_helpers.h"
#include "ffmpeg_commands.h"
#include "movie_probe.h"
#include "number_text.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const QUrl kMovieUrl = QUrl::fromLocalFile(QStringLiteral("/Filme/Urlaub am Meer ä.mp4"));
const double kInf = std::numeric_limits<double>::infinity();

QJsonObject parse(const QString &json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

// A probe output with the default good stream, `extra` merged in (null removes a key), and `format`.
QString with(const QByteArray &extra, const char *format = R"({"duration":"100.0"})")
{
    QJsonObject stream = parse(QStringLiteral(
        R"({"codec_type":"video","codec_name":"h264","width":1920,"height":1080,"avg_frame_rate":"25/1",)"
        R"("duration":"100.000000","bit_rate":"8520000","field_order":"progressive"})"));
    const QJsonObject changes = parse(QLatin1Char('{') + QString::fromUtf8(extra) + QLatin1Char('}'));
    for (auto it = changes.begin(); it != changes.end(); ++it)
        it.value().isNull() ? (void)stream.remove(it.key()) : (void)stream.insert(it.key(), it.value());
    const QJsonObject top{{QStringLiteral("streams"), QJsonArray{stream}},
                          {QStringLiteral("format"), parse(QString::fromUtf8(format))}};
    return QString::fromUtf8(QJsonDocument(top).toJson(QJsonDocument::Compact));
}

} // namespace

Q_DECLARE_METATYPE(std::optional<double>)

class EngineRules : public QObject {
    Q_OBJECT

private slots:
    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("expected");
        for (const auto &[text, value] : QList<std::pair<QString, std::optional<double>>>{
                 {"90.5", 90.5},
                 {"1e3", 1000},
                 {"inf", kInf},
                 {"", {}},
                 {" 1", {}},
                 {"1 ", {}},
                 {"25fps", {}},
                 {"1,5", {}},
                 {"N/A", {}},
                 {"25/1", {}},
                 {QStringLiteral("12") + QChar(0) + QStringLiteral("3"), {}}})
            QTest::newRow(qPrintable(QLatin1Char('"') + text + QLatin1Char('"'))) << text << value;
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QTEST(::parseNumber(text), "expected");
    }

    // Times go to ffmpeg and into the clip key as text: the shortest that reads back as the same
    // double, always with a point and a fraction, never an exponent, whatever the locale.
    void doubleText()
    {
        const char *previous = setlocale(LC_NUMERIC, nullptr);
        const QByteArray saved = previous ? QByteArray(previous) : QByteArray("C");
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
            if (setlocale(LC_NUMERIC, name))
                break;
        QStringList texts, wrong;
        for (double value : {12.0, 0.0, 2.5, 0.05, 99.48, 1e-7, 51.000000000000007, std::nan(""), -kInf})
            texts << ::doubleText(value);
        QRandomGenerator random(20240611);
        for (int i = 0; i < 2000; ++i) {
            const double value = i % 2 ? random.generateDouble() * 7200
                                       : std::ldexp(random.generateDouble(), int(random.bounded(-60, 60)));
            const QString text = ::doubleText(value);
            if (!text.contains(QLatin1Char('.')) || text.contains(QLatin1Char('e')) || ::parseNumber(text) != value)
                wrong << text;
        }
        setlocale(LC_NUMERIC, saved.constData());
        QCOMPARE(texts.join(QLatin1Char(' ')), "12.0 0.0 2.5 0.05 99.48 0.0000001 51.00000000000001 nan -inf");
        QCOMPARE(wrong, QStringList());
    }

    void probeRules_data(); // defined below: moc does not read raw strings inside a class
    void probeRules()
    {
        QFETCH(QString, json);
        QString actual;
        const QString failure = failureOf([&] {
            const MovieInfo info = movieInfoFromProbe(parseProbeOutput(json.toUtf8()), kMovieUrl);
            QCOMPARE(info.url, kMovieUrl);
            actual = QStringLiteral("%1×%2 %3 %4 %5 %6")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(info.codec)
                         .arg(info.fps, 0, 'g', 7)
                         .arg(info.duration)
                         .arg(info.bitrate ? QString::number(*info.bitrate, 'g', 12) : QStringLiteral("none"));
        });
        QTEST(actual.isEmpty() ? failure : actual, "expected");
    }

    void clipPlan_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("fps");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("maxHeight");
        QTest::addColumn<QString>("expected"); // "start length frame outputHeight frameTime"
        const auto row = [](const char *name, double duration, double fps, qint64 height, double seconds,
                            qint64 maxHeight, const char *expected) {
            QTest::newRow(name) << duration << fps << height << seconds << maxHeight << QString::fromUtf8(expected);
        };
        row("middle", 100, 25, 1080, 50, 720, "49 3 25 720 50");
        row("near the end: moved back", 100, 25, 1080, 99.5, 0, "97 3 62 1080 99.48");
        row("at the end: last but one frame", 100, 25, 1080, 100, 0, "97 3 73 1080 99.92");
        row("start", 100, 25, 1080, 0, 0, "0 3 0 1080 0");
        row("2-second film", 2, 25, 1080, 1.5, 0, "0 2 37 1080 1.48");
        row("0.05 s film: no last frame", 0.05, 25, 1080, 0.04, 0, "0 0.05 0 1080 0");
        row("1080 limit on 720 lines", 100, 25, 720, 50, 1080, "49 3 25 720 50");
        row("no limit on 2160 lines", 100, 25, 2160, 50, 0, "49 3 25 2160 50");
        row("NTSC", 60, 30000.0 / 1001, 1080, 30, 0, "29 3 29 1080 29.9676333333");
        // Nonsense that must not make the arithmetic undefined.
        row("infinite rate", 100, kInf, 1080, 50, 0, "49 3 4611686018427387902 1080 49");
        row("infinite duration", kInf, 25, 1080, 50, 0, "49 3 25 1080 50");
        row("scene far beyond the end", 100, 25, 1080, 1e300, 0, "97 3 73 1080 99.92");
    }
    void clipPlan()
    {
        QFETCH(double, duration);
        QFETCH(double, fps);
        QFETCH(qint64, height);
        QFETCH(double, seconds);
        QFETCH(qint64, maxHeight);
        MovieInfo movie;
        movie.duration = duration, movie.fps = fps, movie.width = 1920, movie.height = height;
        const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);
        QTEST(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(plan.start)
                  .arg(plan.clipLength)
                  .arg(plan.frame)
                  .arg(plan.outputHeight)
                  .arg(plan.frameTime, 0, 'g', 12),
              "expected");
    }

    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        ClipPlan plan;
        plan.start = 97, plan.clipLength = 0.05, plan.outputHeight = 720;
        const QString film = QStringLiteral("/Filme/A b.mp4");
        QTest::newRow("probe") << FfmpegCommands::probe(film)
                               << "-v error -show_format -show_streams -of json "
                                  "/Filme/A b.mp4";
        QTest::newRow("reference cut") << FfmpegCommands::referenceCut(film, plan, QStringLiteral("/W/reference.mkv"))
                                       << "-v error -nostdin -y -ss 97.0 -noautorotate -i /Filme/A b.mp4 -t 0.05 -map "
                                          "0:V:0 -an -sn -dn -vf scale=-2:min(ih\\,720),setsar=1,format=yuv420p -c:v "
                                          "ffv1 -level 3 /W/reference.mkv";
        QTest::newRow("frame extraction")
            << FfmpegCommands::frameExtraction(QStringLiteral("/W/reference.mkv"), 25,
                                               QStringLiteral("/W/original.png"))
            << "-v error -nostdin -y -i /W/reference.mkv -vf select=eq(n\\,25) -frames:v 1 /W/original.png";
        QTest::newRow("encode")
            << FfmpegCommands::encode(QStringLiteral("/W/reference.mkv"), QStringLiteral("/W/encoded.mp4"), 2000000)
            << "-v error -nostdin -y -i /W/reference.mkv -map 0:v:0 -an -fps_mode passthrough -c:v libx265 -preset "
               "veryfast -x265-params log-level=error -b:v 2000000 -pix_fmt yuv420p -tag:v hvc1 /W/encoded.mp4";
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QTEST(arguments.join(QLatin1Char(' ')), "expected");
        QVERIFY(!arguments.filter(QStringLiteral("A b")).isEmpty()
                || !arguments.filter(QStringLiteral("/W/")).isEmpty());
    }

    // A film's path reaches the tools absolute, so that "-" or "http:x" is never read as standard
    // input, an option or a protocol.
    void moviePath()
    {
        QCOMPARE(FfmpegCommands::moviePath(QUrl::fromLocalFile(QStringLiteral("-"))), QDir::currentPath() + "/-");
        QCOMPARE(FfmpegCommands::moviePath(kMovieUrl), kMovieUrl.toLocalFile());
        for (const char *url : {"https://example.org/film.mp4", "file:"})
            QVERIFY(failureOf([url] {
                        FfmpegCommands::moviePath(QUrl(QString::fromUtf8(url)));
                    }).startsWith(QLatin1String("PlatformError: ")));
    }
};

void EngineRules::probeRules_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("expected"); // "W×H codec fps duration bitrate" or the failure
    const QString good = QStringLiteral("1920×1080 h264 25 100 8520000");
    const QString noVideo = previewError(PreviewError::noVideoStream()),
                  hdr = previewError(PreviewError::hdrNotSupported());
    const QString interlaced = previewError(PreviewError::interlacedNotSupported());
    const QString duration = previewError(PreviewError::unknownDuration());
    auto row = [](const char *name, const QString &json, const QString &expected) {
        QTest::newRow(name) << json << expected;
    };

    // The output itself.
    row("not JSON", QStringLiteral("kein JSON"), QStringLiteral("PlatformError: illegal value"));
    row("top level is a list", QStringLiteral(R"([{"streams":[]}])"),
        previewError(PreviewError::unreadableMovieData()));

    // Stream choice.
    const QString cover = QStringLiteral(
        R"({"codec_type":"video","codec_name":"mjpeg","width":600,"height":600,"disposition":{"attached_pic":1}})");
    const QString audio = QStringLiteral(R"({"codec_type":"audio","codec_name":"aac","duration":"100.0"})");
    const QString film = QStringLiteral(R"({"codec_type":"video","codec_name":"hevc","width":1280,"height":720,)"
                                        R"("avg_frame_rate":"30000/1001","duration":"12.5"})");
    row("cover picture before the film", QStringLiteral(R"({"streams":[%1,%2,%3]})").arg(audio, cover, film),
        QStringLiteral("1280×720 hevc 29.97003 12.5 none"));
    row("only audio and covers", QStringLiteral(R"({"streams":[%1,%2]})").arg(cover, audio), noVideo);
    row("attached_pic as text is no cover", with(R"("disposition":{"attached_pic":"1"})"), good);
    row("height as text", with(R"("height":"1080")"), noVideo);

    // Width, then HDR and Dolby Vision, then interlace, then duration.
    row("width checked before HDR", with(R"("color_transfer":"smpte2084","width":null)"), noVideo);
    row("HLG before interlace", with(R"("color_transfer":"arib-std-b67","field_order":"tt")"), hdr);
    row("PQ before duration", with(R"("color_transfer":"smpte2084","duration":"0")", "{}"), hdr);
    row("DOVI in a key", with(R"("side_data_list":[{"x":{"DOVI":1}}])"), hdr);
    row("DOVI deep in lists, before interlace", with(R"("side_data_list":[[["no", ["xDOVIx"]]]],"field_order":"bb")"),
        hdr);
    row("field order text is exact", with(R"("field_order":"Progressive")"), interlaced);
    row("interlace before duration", with(R"("field_order":"tb","duration":null)", "{}"), interlaced);
    row("field order unknown", with(R"("field_order":"unknown")"), good);

    // Duration: the stream's text, else the format's text; no fallback from a bad stream value.
    const QString fromFormat = QStringLiteral("1920×1080 h264 25 90.5 8520000");
    row("stream duration N/A", with(R"("duration":"N/A")", R"({"duration":"90.5"})"), fromFormat);
    row("stream duration 0 does not fall back", with(R"("duration":"0")", R"({"duration":"90.5"})"), duration);
    row("format duration as a number", with(R"("duration":null)", R"({"duration":90.5})"), duration);

    // Frame rate: the average rate; anything unusable gives 25.
    row("empty pieces dropped", with(R"("avg_frame_rate":"//60//2/")"),
        QStringLiteral("1920×1080 h264 30 100 8520000"));
    for (const char *rate : {R"("0/0")", R"("30")", "50", R"("60/2/1")", R"("-50/1")", R"("50/0")"})
        row(rate, with(QByteArray(R"("avg_frame_rate":)") + rate), good);

    // Bitrate and codec.
    row("tags BPS before BPS-eng", with(R"("bit_rate":null,"tags":{"BPS-eng":"1","BPS":"2"})"),
        QStringLiteral("1920×1080 h264 25 100 2"));
    row("stream bit_rate before tags", with(R"("tags":{"BPS":"2"})"), good);
    row("unparsable bit_rate hides tags", with(R"("bit_rate":"N/A","tags":{"BPS":"2"})"),
        QStringLiteral("1920×1080 h264 25 100 none"));
    row("bit_rate as a number counts as missing", with(R"("bit_rate":8520000,"tags":{"BPS":"3"})"),
        QStringLiteral("1920×1080 h264 25 100 3"));
    row("tags with a non-text value are ignored", with(R"("bit_rate":null,"tags":{"BPS":"2","N":75})"),
        QStringLiteral("1920×1080 h264 25 100 none"));
    row("codec name not text", with(R"("codec_name":7)"), QStringLiteral("1920×1080 Video 25 100 8520000"));
}

QTEST_GUILESS_MAIN(EngineRules)
#include "tst_engine_rules.moc"
