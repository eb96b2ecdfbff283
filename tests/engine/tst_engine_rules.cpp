// The engine's pure rules: number texts, the probe's JSON rules, the clip window, the encoder's
// command line and the error texts. No process is started here.

#include "cancelled_error.h"
#include "clip_plan.h"
#include "error_description.h"
#include "hevc_encoder.h"
#include "movie_probe.h"
#include "number_text.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const QUrl kMovieUrl = QUrl::fromLocalFile(QStringLiteral("/films/Film.mp4"));

QJsonObject parse(const QString &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad test JSON: %s in %s", qPrintable(error.errorString()), qPrintable(json));
    return document.object();
}

// A top-level probe output with one stream: the default good stream with `extra` merged in
// (a key mapped to null is removed), and the given format object.
QString oneStream(const QString &extra, const QString &format = QStringLiteral(R"({"duration":"100.0"})"))
{
    QJsonObject stream = parse(QStringLiteral(
        R"({"codec_type":"video","codec_name":"h264","width":1920,"height":1080,"avg_frame_rate":"25/1",)"
        R"("duration":"100.000000","bit_rate":"8520000","field_order":"progressive"})"));
    const QJsonObject changes = parse(QLatin1Char('{') + extra + QLatin1Char('}'));
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isNull())
            stream.remove(it.key());
        else
            stream.insert(it.key(), it.value());
    }
    const QJsonObject top{{QStringLiteral("streams"), QJsonArray{stream}},
                          {QStringLiteral("format"), parse(format)}};
    return QString::fromUtf8(QJsonDocument(top).toJson(QJsonDocument::Compact));
}

struct Expected {
    qint64 width = 1920;
    qint64 height = 1080;
    double duration = 100;
    double fps = 25;
    QString codec = QStringLiteral("h264");
    std::optional<double> bitrate = 8520000;
};

MovieInfo expectedInfo(const Expected &expected)
{
    MovieInfo info;
    info.url = kMovieUrl;
    info.width = expected.width;
    info.height = expected.height;
    info.duration = expected.duration;
    info.fps = expected.fps;
    info.codec = expected.codec;
    info.bitrate = expected.bitrate;
    return info;
}

MovieInfo movie(double duration, double fps, qint64 height = 1080)
{
    MovieInfo info;
    info.url = kMovieUrl;
    info.duration = duration;
    info.fps = fps;
    info.width = 1920;
    info.height = height;
    return info;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<double>)

class EngineRules : public QObject {
    Q_OBJECT

private slots:
    void parseNumber_data();
    void parseNumber();
    void parseNumberReadsNoLocale();
    void doubleText_data();
    void doubleText();
    void doubleTextReadsBack();

    void probeRules_data();
    void probeRules();
    void probeKeepsUrl();

    void clipPlan_data();
    void clipPlan();
    void clipPlanSurvivesNonsense();

    void encoderArguments();
    void errorTexts();
    void errorDescriptions();
};

void EngineRules::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("expected");
    const std::optional<double> none;
    QTest::newRow("integer") << "8520000" << std::optional<double>(8520000);
    QTest::newRow("fraction") << "90.5" << std::optional<double>(90.5);
    QTest::newRow("plus") << "+4" << std::optional<double>(4);
    QTest::newRow("minus") << "-3.25" << std::optional<double>(-3.25);
    QTest::newRow("exponent") << "1e3" << std::optional<double>(1000);
    QTest::newRow("hexadecimal") << "0x10" << std::optional<double>(16);
    QTest::newRow("leading dot") << ".5" << std::optional<double>(0.5);
    QTest::newRow("infinity") << "inf" << std::optional<double>(std::numeric_limits<double>::infinity());
    QTest::newRow("empty") << "" << none;
    QTest::newRow("leading space") << " 1" << none;
    QTest::newRow("leading tab") << "\t1" << none;
    QTest::newRow("leading newline") << "\n1" << none;
    QTest::newRow("trailing space") << "1 " << none;
    QTest::newRow("trailing letter") << "25fps" << none;
    QTest::newRow("decimal comma") << "1,5" << none;
    QTest::newRow("ffprobe N/A") << "N/A" << none;
    QTest::newRow("rate text") << "25/1" << none;
    QTest::newRow("embedded NUL") << QStringLiteral("12") + QChar(0) + QStringLiteral("3") << none;
    QTest::newRow("arabic digit") << QString::fromUtf16(u"\u0661") << none;
}

void EngineRules::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(::parseNumber(text), expected);
}

void EngineRules::parseNumberReadsNoLocale()
{
    const std::optional<double> nan = ::parseNumber(QStringLiteral("nan"));
    QVERIFY(nan && std::isnan(*nan));
    // Whatever the process's locale says about decimal separators, the point is the separator.
    const char *previous = setlocale(LC_NUMERIC, nullptr);
    const QByteArray saved = previous ? QByteArray(previous) : QByteArray("C");
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
        if (setlocale(LC_NUMERIC, name))
            break;
    }
    const std::optional<double> value = ::parseNumber(QStringLiteral("2.5"));
    const QString text = ::doubleText(2.5);
    setlocale(LC_NUMERIC, saved.constData());
    QCOMPARE(value, std::optional<double>(2.5));
    QCOMPARE(text, QStringLiteral("2.5"));
}

void EngineRules::doubleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 12.0 << "12.0";
    QTest::newRow("zero") << 0.0 << "0.0";
    QTest::newRow("half") << 2.5 << "2.5";
    QTest::newRow("tenth") << 0.1 << "0.1";
    QTest::newRow("third") << 1.0 / 3.0 << "0.3333333333333333";
    QTest::newRow("frame time") << 62.0 / 25.0 + 97.0 << "99.48";
    QTest::newRow("negative") << -1.5 << "-1.5";
    QTest::newRow("negative zero") << -0.0 << "-0.0";
    QTest::newRow("small, no exponent") << 1e-7 << "0.0000001";
    QTest::newRow("large, no exponent") << 1e21 << "1000000000000000000000.0";
    QTest::newRow("not a number") << std::nan("") << "nan";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "inf";
}

void EngineRules::doubleText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(::doubleText(value), expected);
}

void EngineRules::doubleTextReadsBack()
{
    QRandomGenerator random(20240611);
    for (int i = 0; i < 2000; ++i) {
        const double value = i % 2 ? random.generateDouble() * 7200 : std::ldexp(random.generateDouble(), int(random.bounded(-60, 60)));
        const QString text = ::doubleText(value);
        QVERIFY2(text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')), qPrintable(text));
        QCOMPARE(::parseNumber(text), std::optional<double>(value));
    }
}

void EngineRules::probeRules_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("failure"); // empty: the probe succeeds with `expected`
    QTest::addColumn<MovieInfo>("expected");

    const QString noVideo = PreviewError::noVideoStream();
    const QString hdr = PreviewError::hdrNotSupported();
    const QString interlaced = PreviewError::interlacedNotSupported();
    const QString duration = PreviewError::unknownDuration();
    auto ok = [](Expected e) { return expectedInfo(e); };
    auto fails = [](const char *name, const QString &json, const QString &message) {
        QTest::newRow(name) << json << message << MovieInfo();
    };
    auto works = [](const char *name, const QString &json, const MovieInfo &info) {
        QTest::newRow(name) << json << QString() << info;
    };

    works("good stream", oneStream({}), ok({}));

    // Stream choice.
    const QString cover = QStringLiteral(
        R"({"codec_type":"video","codec_name":"mjpeg","width":600,"height":600,"disposition":{"attached_pic":1}})");
    const QString audio = QStringLiteral(R"({"codec_type":"audio","codec_name":"aac","duration":"100.0"})");
    const QString film = QStringLiteral(
        R"({"codec_type":"video","codec_name":"hevc","width":1280,"height":720,"avg_frame_rate":"30000/1001","duration":"12.5"})");
    Expected hevc;
    hevc.width = 1280, hevc.height = 720, hevc.duration = 12.5, hevc.fps = 30000.0 / 1001.0;
    hevc.codec = QStringLiteral("hevc"), hevc.bitrate = std::nullopt;
    works("cover picture before the film",
          QStringLiteral(R"({"streams":[%1,%2,%3]})").arg(audio, cover, film), ok(hevc));
    fails("audio only", QStringLiteral(R"({"streams":[%1]})").arg(audio), noVideo);
    fails("only cover pictures", QStringLiteral(R"({"streams":[%1,%2,%1]})").arg(cover, audio), noVideo);
    fails("no streams key", QStringLiteral(R"({"format":{"duration":"5.0"}})"), noVideo);
    fails("streams not a list", QStringLiteral(R"({"streams":{"0":%1}})").arg(film), noVideo);
    fails("a stream that is not an object", QStringLiteral(R"({"streams":[%1,"x"]})").arg(film), noVideo);
    fails("codec type is case-sensitive", oneStream(QStringLiteral(R"("codec_type":"Video")")), noVideo);
    works("attached_pic 0 counts as film", oneStream(QStringLiteral(R"("disposition":{"attached_pic":0})")), ok({}));
    works("attached_pic as text is no cover", oneStream(QStringLiteral(R"("disposition":{"attached_pic":"1"})")), ok({}));
    works("attached_pic fraction is no cover", oneStream(QStringLiteral(R"("disposition":{"attached_pic":0.5})")), ok({}));
    works("disposition not an object", oneStream(QStringLiteral(R"("disposition":[1])")), ok({}));
    fails("width missing", oneStream(QStringLiteral(R"("width":null)")), noVideo);
    fails("height as text", oneStream(QStringLiteral(R"("height":"1080")")), noVideo);
    fails("width with a fraction", oneStream(QStringLiteral(R"("width":1920.5)")), noVideo);

    // HDR, Dolby Vision, interlace, in this order.
    fails("PQ", oneStream(QStringLiteral(R"("color_transfer":"smpte2084")")), hdr);
    fails("HLG", oneStream(QStringLiteral(R"("color_transfer":"arib-std-b67")")), hdr);
    fails("HDR before interlace", oneStream(QStringLiteral(R"("color_transfer":"smpte2084","field_order":"tt")")), hdr);
    fails("HDR before duration", oneStream(QStringLiteral(R"("color_transfer":"arib-std-b67","duration":"0")"),
                                           QStringLiteral("{}")), hdr);
    works("BT.709 transfer", oneStream(QStringLiteral(R"("color_transfer":"bt709")")), ok({}));
    works("transfer is case-sensitive", oneStream(QStringLiteral(R"("color_transfer":"SMPTE2084")")), ok({}));
    fails("width checked before HDR", oneStream(QStringLiteral(R"("color_transfer":"smpte2084","width":null)")), noVideo);
    fails("DOVI in a text value",
          oneStream(QStringLiteral(R"("side_data_list":[{"side_data_type":"DOVI configuration record","dv_profile":8}])")), hdr);
    fails("DOVI in a key", oneStream(QStringLiteral(R"("side_data_list":[{"x":{"DOVI":1}}])")), hdr);
    fails("DOVI deep in lists", oneStream(QStringLiteral(R"("side_data_list":[[["no", ["xDOVIx"]]]])")), hdr);
    fails("side data as plain text", oneStream(QStringLiteral(R"("side_data_list":"DOVI")")), hdr);
    works("DOVI search is case-sensitive", oneStream(QStringLiteral(R"("side_data_list":[{"side_data_type":"dovi"}])")), ok({}));
    works("DOVI split over two texts", oneStream(QStringLiteral(R"("side_data_list":[{"a":"DO","b":"VI"}])")), ok({}));
    works("side data without DOVI",
          oneStream(QStringLiteral(R"("side_data_list":[{"side_data_type":"Display Matrix","rotation":-90}])")), ok({}));
    fails("DOVI before interlace",
          oneStream(QStringLiteral(R"("side_data_list":[{"t":"DOVI"}],"field_order":"bb")")), hdr);
    fails("top field first", oneStream(QStringLiteral(R"("field_order":"tt")")), interlaced);
    fails("bottom field first", oneStream(QStringLiteral(R"("field_order":"bt")")), interlaced);
    fails("field order text is exact", oneStream(QStringLiteral(R"("field_order":"Progressive")")), interlaced);
    fails("interlace before duration", oneStream(QStringLiteral(R"("field_order":"tb","duration":null)"),
                                                 QStringLiteral("{}")), interlaced);
    works("field order unknown", oneStream(QStringLiteral(R"("field_order":"unknown")")), ok({}));
    works("field order missing", oneStream(QStringLiteral(R"("field_order":null)")), ok({}));
    works("field order not text", oneStream(QStringLiteral(R"("field_order":1)")), ok({}));

    // Duration.
    Expected fromFormat;
    fromFormat.duration = 90.5;
    works("format duration when the stream has none", oneStream(QStringLiteral(R"("duration":null)"),
                                                                QStringLiteral(R"({"duration":"90.5"})")), ok(fromFormat));
    works("format duration when the stream's is N/A", oneStream(QStringLiteral(R"("duration":"N/A")"),
                                                                QStringLiteral(R"({"duration":"90.5"})")), ok(fromFormat));
    works("format duration when the stream's is a number", oneStream(QStringLiteral(R"("duration":12.0)"),
                                                                     QStringLiteral(R"({"duration":"90.5"})")), ok(fromFormat));
    fails("stream duration 0 does not fall back", oneStream(QStringLiteral(R"("duration":"0")"),
                                                            QStringLiteral(R"({"duration":"90.5"})")), duration);
    fails("negative stream duration", oneStream(QStringLiteral(R"("duration":"-1.0")"),
                                                QStringLiteral(R"({"duration":"90.5"})")), duration);
    fails("no duration anywhere", oneStream(QStringLiteral(R"("duration":null)"), QStringLiteral("{}")), duration);
    fails("format duration as a number", oneStream(QStringLiteral(R"("duration":null)"),
                                                   QStringLiteral(R"({"duration":90.5})")), duration);
    fails("format duration 0", oneStream(QStringLiteral(R"("duration":null)"), QStringLiteral(R"({"duration":"0.0"})")),
          duration);
    fails("duration nan", oneStream(QStringLiteral(R"("duration":"nan")")), duration);
    fails("format not an object", QStringLiteral(R"({"streams":[{"codec_type":"video","width":2,"height":2}],"format":[]})"),
          duration);
    fails("duration with leading space", oneStream(QStringLiteral(R"("duration":" 5")"), QStringLiteral("{}")), duration);

    // Frame rate.
    auto withFps = [](double fps) {
        Expected e;
        e.fps = fps;
        return expectedInfo(e);
    };
    works("NTSC rate", oneStream(QStringLiteral(R"("avg_frame_rate":"30000/1001")")), withFps(30000.0 / 1001.0));
    works("rate 0/0", oneStream(QStringLiteral(R"("avg_frame_rate":"0/0")")), withFps(25));
    works("rate without slash", oneStream(QStringLiteral(R"("avg_frame_rate":"30")")), withFps(25));
    works("lone slash", oneStream(QStringLiteral(R"("avg_frame_rate":"/")")), withFps(25));
    works("rate missing", oneStream(QStringLiteral(R"("avg_frame_rate":null)")), withFps(25));
    works("rate as a number", oneStream(QStringLiteral(R"("avg_frame_rate":50)")), withFps(25));
    works("empty pieces dropped", oneStream(QStringLiteral("\"avg_frame_rate\":\"//60//2/\"")), withFps(30));
    works("unparsable piece dropped", oneStream(QStringLiteral(R"("avg_frame_rate":"x/60/2")")), withFps(30));
    works("three numbers", oneStream(QStringLiteral(R"("avg_frame_rate":"60/2/1")")), withFps(25));
    works("negative rate", oneStream(QStringLiteral(R"("avg_frame_rate":"-50/1")")), withFps(25));
    works("denominator 0", oneStream(QStringLiteral(R"("avg_frame_rate":"50/0")")), withFps(25));
    works("nan rate", oneStream(QStringLiteral(R"("avg_frame_rate":"nan/1")")), withFps(25));
    works("fractional pieces", oneStream(QStringLiteral(R"("avg_frame_rate":"12.5/1")")), withFps(12.5));

    // Bitrate.
    auto withBitrate = [](std::optional<double> bitrate) {
        Expected e;
        e.bitrate = bitrate;
        return expectedInfo(e);
    };
    works("tags BPS-eng", oneStream(QStringLiteral(R"("bit_rate":null,"tags":{"BPS-eng":"4000000"})")),
          withBitrate(4000000));
    works("tags BPS before BPS-eng", oneStream(QStringLiteral(R"("bit_rate":null,"tags":{"BPS-eng":"1","BPS":"2"})")),
          withBitrate(2));
    works("stream bit_rate before tags", oneStream(QStringLiteral(R"("tags":{"BPS":"2"})")), withBitrate(8520000));
    works("unparsable bit_rate hides tags", oneStream(QStringLiteral(R"("bit_rate":"N/A","tags":{"BPS":"2"})")),
          withBitrate(std::nullopt));
    works("bit_rate as a number counts as missing", oneStream(QStringLiteral(R"("bit_rate":8520000,"tags":{"BPS":"3"})")),
          withBitrate(3));
    works("tags with a non-text value are ignored",
          oneStream(QStringLiteral(R"("bit_rate":null,"tags":{"BPS":"2","NUMBER_OF_FRAMES":75})")), withBitrate(std::nullopt));
    works("no bitrate anywhere", oneStream(QStringLiteral(R"("bit_rate":null)")), withBitrate(std::nullopt));

    // Codec.
    Expected video;
    video.codec = QStringLiteral("Video");
    works("codec name missing", oneStream(QStringLiteral(R"("codec_name":null)")), ok(video));
    works("codec name not text", oneStream(QStringLiteral(R"("codec_name":7)")), ok(video));
}

void EngineRules::probeRules()
{
    QFETCH(QString, json);
    QFETCH(QString, failure);
    QFETCH(MovieInfo, expected);
    try {
        const MovieInfo info = movieInfoFromProbe(parse(json), kMovieUrl);
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("expected failure: ") + failure));
        QCOMPARE(info.url, expected.url);
        QCOMPARE(info.width, expected.width);
        QCOMPARE(info.height, expected.height);
        QCOMPARE(info.duration, expected.duration);
        QCOMPARE(info.fps, expected.fps);
        QCOMPARE(info.codec, expected.codec);
        QCOMPARE(info.bitrate, expected.bitrate);
    } catch (const PreviewError &error) {
        QCOMPARE(error.message(), failure);
    }
}

void EngineRules::probeKeepsUrl()
{
    const QUrl url = QUrl::fromLocalFile(QStringLiteral("/Filme/Urlaub am Meer ä.mp4"));
    QCOMPARE(movieInfoFromProbe(parse(oneStream({})), url).url, url);
}

void EngineRules::clipPlan_data()
{
    QTest::addColumn<MovieInfo>("movie");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("maxHeight");
    QTest::addColumn<double>("clipLength");
    QTest::addColumn<double>("start");
    QTest::addColumn<qint64>("frame");
    QTest::addColumn<double>("frameTime");
    QTest::addColumn<qint64>("outputHeight");

    const MovieInfo hundred = movie(100, 25);
    QTest::newRow("middle: frame 25") << hundred << 50.0 << qint64(720) << 3.0 << 49.0 << qint64(25) << 50.0 << qint64(720);
    QTest::newRow("near the end: frame 62") << hundred << 99.5 << qint64(0) << 3.0 << 97.0 << qint64(62)
                                            << 62.0 / 25 + 97 << qint64(1080);
    QTest::newRow("at the end: frame 73") << hundred << 100.0 << qint64(0) << 3.0 << 97.0 << qint64(73)
                                          << 73.0 / 25 + 97 << qint64(1080);
    QTest::newRow("past the end") << hundred << 500.0 << qint64(0) << 3.0 << 97.0 << qint64(73) << 73.0 / 25 + 97
                                  << qint64(1080);
    QTest::newRow("start") << hundred << 0.0 << qint64(0) << 3.0 << 0.0 << qint64(0) << 0.0 << qint64(1080);
    QTest::newRow("half a second in") << hundred << 0.5 << qint64(0) << 3.0 << 0.0 << qint64(12) << 12.0 / 25
                                      << qint64(1080);
    QTest::newRow("negative time") << hundred << -4.0 << qint64(0) << 3.0 << 0.0 << qint64(0) << 0.0 << qint64(1080);
    QTest::newRow("2-second film, early") << movie(2, 25) << 0.4 << qint64(0) << 2.0 << 0.0 << qint64(10) << 0.4
                                          << qint64(1080);
    QTest::newRow("2-second film, late") << movie(2, 25) << 1.9 << qint64(0) << 2.0 << 0.0 << qint64(47) << 47.0 / 25
                                         << qint64(1080);
    QTest::newRow("0.05 s clip: frame 0") << movie(0.05, 25) << 0.04 << qint64(0) << 0.05 << 0.0 << qint64(0) << 0.0
                                          << qint64(1080);
    QTest::newRow("maxHeight above the source") << movie(100, 25, 720) << 50.0 << qint64(1080) << 3.0 << 49.0
                                                << qint64(25) << 50.0 << qint64(720);
    QTest::newRow("no limit on 2160 lines") << movie(100, 25, 2160) << 50.0 << qint64(0) << 3.0 << 49.0 << qint64(25)
                                            << 50.0 << qint64(2160);
    QTest::newRow("1080 limit on 2160 lines") << movie(100, 25, 2160) << 50.0 << qint64(1080) << 3.0 << 49.0
                                              << qint64(25) << 50.0 << qint64(1080);
    QTest::newRow("NTSC") << movie(60, 30000.0 / 1001) << 30.0 << qint64(0) << 3.0 << 29.0 << qint64(29)
                          << 29.0 * 1001 / 30000 + 29 << qint64(1080);
}

void EngineRules::clipPlan()
{
    QFETCH(MovieInfo, movie);
    QFETCH(double, seconds);
    QFETCH(qint64, maxHeight);
    const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);
    QTEST(plan.clipLength, "clipLength");
    QTEST(plan.start, "start");
    QTEST(plan.frame, "frame");
    QTEST(plan.frameTime, "frameTime");
    QTEST(plan.outputHeight, "outputHeight");
}

void EngineRules::clipPlanSurvivesNonsense()
{
    const double infinity = std::numeric_limits<double>::infinity();
    // An absurd frame rate or scene time must not make the frame index undefined.
    const ClipPlan fast = ClipPlan::compute(movie(100, infinity), 50, 0);
    QVERIFY(fast.frame >= 0);
    const ClipPlan far = ClipPlan::compute(movie(100, 25), 1e300, 0);
    QCOMPARE(far.frame, qint64(73));
    const ClipPlan endless = ClipPlan::compute(movie(infinity, 25), 50, 0);
    QCOMPARE(endless.clipLength, 3.0);
    QCOMPARE(endless.start, 49.0);
}

void EngineRules::encoderArguments()
{
    const QStringList expected{
        "-v", "error", "-nostdin", "-y", "-i", "/w/reference.mkv", "-map", "0:v:0", "-an",
        "-fps_mode", "passthrough", "-c:v", "libx265", "-preset", "veryfast", "-x265-params", "log-level=error",
        "-b:v", "2500000", "-pix_fmt", "yuv420p", "-tag:v", "hvc1", "/w/encoded.mp4"};
    QCOMPARE(hevcEncodeArguments(QStringLiteral("/w/reference.mkv"), QStringLiteral("/w/encoded.mp4"), 2500000), expected);
    QCOMPARE(expected.size(), 24);
}

void EngineRules::errorTexts()
{
    QCOMPARE(PreviewError::toolsMissing(), QStringLiteral("FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen."));
    QCOMPARE(PreviewError::unknownToolFailure(), QStringLiteral("Unbekannter FFmpeg-Fehler."));
    QCOMPARE(PreviewError::unreadableMovieData(), QStringLiteral("Videodaten konnten nicht gelesen werden."));
    QCOMPARE(PreviewError::noVideoStream(), QStringLiteral("Keine Videospur gefunden."));
    QCOMPARE(PreviewError::hdrNotSupported(),
             QStringLiteral("Diese Datei enthält HDR/Dolby Vision. Diese erste Version vergleicht SDR, damit "
                            "Tonemapping das Ergebnis nicht verfälscht."));
    QCOMPARE(PreviewError::interlacedNotSupported(),
             QStringLiteral("Interlaced-Video wird in dieser ersten Version noch nicht unterstützt."));
    QCOMPARE(PreviewError::unknownDuration(), QStringLiteral("Die Filmlaufzeit konnte nicht ermittelt werden."));
    QCOMPARE(PreviewError::invalidBitrate(), QStringLiteral("Ungültige Bitrate."));
    QCOMPARE(PreviewError::invalidSceneTime(), QStringLiteral("Ungültige Szenenzeit."));
    QCOMPARE(PreviewError::referenceNotCreated(), QStringLiteral("Referenzausschnitt konnte nicht erstellt werden."));
    QCOMPARE(PreviewError::frameNotExtracted(), QStringLiteral("Vergleichsbild konnte nicht entnommen werden."));
}

void EngineRules::errorDescriptions()
{
    const QString tail = QStringLiteral("Datei »x« ist kaputt\n");
    QCOMPARE(errorDescription(std::make_exception_ptr(PreviewError(tail))), tail);
    QCOMPARE(QString::fromUtf8(PreviewError(tail).what()), tail);
    QCOMPARE(errorDescription(std::make_exception_ptr(PlatformError(QStringLiteral("Permission denied")))),
             QStringLiteral("Permission denied"));
    QCOMPARE(errorDescription(std::make_exception_ptr(std::runtime_error("boom"))), QStringLiteral("boom"));
    QCOMPARE(errorDescription(std::exception_ptr()), QString());

    QVERIFY(isCancellation(std::make_exception_ptr(CancelledError())));
    QVERIFY(!isCancellation(std::make_exception_ptr(PreviewError(tail))));
    QVERIFY(!isCancellation(std::exception_ptr()));
}

QTEST_GUILESS_MAIN(EngineRules)
#include "tst_engine_rules.moc"
