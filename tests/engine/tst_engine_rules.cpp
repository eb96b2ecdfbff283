// The engine's pure rules: number texts, the probe's JSON rules and the clip window's odd inputs.

#include "clip_plan.h"
#include "movie_probe.h"
#include "number_text.h"
#include "preview_error.h"

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

MovieInfo movie(double duration, double fps)
{
    MovieInfo info;
    info.duration = duration, info.fps = fps, info.width = 1920, info.height = 1080;
    return info;
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

    // Times go to ffmpeg as text: always a point and a fraction, never an exponent, whatever the
    // locale, and reading back as the same double ("99.48", "0.05" are pinned in engine_tools).
    void numbersReadBackWhateverTheLocale()
    {
        const char *previous = setlocale(LC_NUMERIC, nullptr);
        const QByteArray saved = previous ? QByteArray(previous) : QByteArray("C");
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
            if (setlocale(LC_NUMERIC, name))
                break;
        QStringList wrong;
        QRandomGenerator random(20240611);
        for (int i = 0; i < 2000; ++i) {
            const double value = i % 2 ? random.generateDouble() * 7200
                                       : std::ldexp(random.generateDouble(), int(random.bounded(-60, 60)));
            const QString text = ::doubleText(value);
            if (!text.contains(QLatin1Char('.')) || text.contains(QLatin1Char('e')) || ::parseNumber(text) != value)
                wrong << text;
        }
        setlocale(LC_NUMERIC, saved.constData());
        QCOMPARE(wrong, QStringList());
    }

    void probeRules_data(); // defined below: moc does not read raw strings inside a class
    void probeRules()
    {
        QFETCH(QString, json);
        QString actual;
        try {
            const MovieInfo info = movieInfoFromProbe(parse(json), kMovieUrl);
            QCOMPARE(info.url, kMovieUrl);
            actual = QStringLiteral("%1×%2 %3 %4 %5 %6")
                         .arg(info.width)
                         .arg(info.height)
                         .arg(info.codec)
                         .arg(info.fps, 0, 'g', 7)
                         .arg(info.duration)
                         .arg(info.bitrate ? QString::number(*info.bitrate, 'g', 12) : QStringLiteral("none"));
        } catch (const PreviewError &error) {
            actual = error.message();
        }
        QTEST(actual, "expected");
    }

    // The ordinary clip windows are pinned through the render's command lines (engine_tools).
    void clipPlanSurvivesNonsense()
    {
        QVERIFY(ClipPlan::compute(movie(100, kInf), 50, 0).frame >= 0);
        QCOMPARE(ClipPlan::compute(movie(100, 25), 1e300, 0).frame, qint64(73));
        const ClipPlan endless = ClipPlan::compute(movie(kInf, 25), 50, 0);
        QCOMPARE(endless.clipLength, 3.0);
        QCOMPARE(endless.start, 49.0);
        const ClipPlan ntsc = ClipPlan::compute(movie(60, 30000.0 / 1001), 30, 0);
        QCOMPARE(ntsc.frame, qint64(29));
        QCOMPARE(ntsc.frameTime, 29.0 * 1001 / 30000 + 29);
    }
};

void EngineRules::probeRules_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("expected"); // "W×H codec fps duration bitrate" or the failure text
    const QString good = QStringLiteral("1920×1080 h264 25 100 8520000");
    const QString noVideo = PreviewError::noVideoStream(), hdr = PreviewError::hdrNotSupported();
    const QString interlaced = PreviewError::interlacedNotSupported(), duration = PreviewError::unknownDuration();
    auto row = [](const char *name, const QString &json, const QString &expected) {
        QTest::newRow(name) << json << expected;
    };

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
