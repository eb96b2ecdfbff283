// The system's ffmpeg and ffprobe on films generated for the purpose and on the real camera and
// phone footage in ../shared/media: what the probe reports, awkward paths, and renders whose
// frames are checked picture by picture with numbered films.

#include "engine_test_helpers.h"
#include "preview_engine.h"
#include "test_films.h"

#include <QImage>
#include <QtTest>

#include <memory>

namespace {

QStringList lavfi(const QString &source, const QStringList &x264Extra = {})
{
    return QStringList{"-f", "lavfi", "-i", source, "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"}
    + x264Extra;
}

const QString kSmall = QStringLiteral("testsrc2=s=160x120:r=25:d=1");

// What the probe gives for each file of the real footage: "W×H codec" or the failure text.
QString mediaExpectation(const QString &file)
{
    const QString hdr = previewError(PreviewError::hdrNotSupported());
    static const QMap<QString, QString> table{{"bear_vp9.webm", "320×240 vp9"},
                                              {"car_12p5fps.mp4", "768×432 h264"},
                                              {"dv_p9_h264_1080p60.mp4", hdr},
                                              {"cover_art_audio.m4a", previewError(PreviewError::noVideoStream())},
                                              {"emulator_720p_h264.mp4", "1280×720 h264"},
                                              {"gopro_karma.mp4", "854×480 h264"},
                                              {"hdr10_av1_mdcv.mp4", hdr},
                                              {"hdr10_av1_portrait.mp4", hdr},
                                              {"hdr10_hevc_1080p.mp4", hdr},
                                              {"iphone_dv84_hlg_rot.mp4", hdr},
                                              {"iphone_dv84_short.mov", hdr},
                                              {"pixel_motionphoto_vfr.mp4", "1024×768 hevc"},
                                              {"portrait_4k60_rot.mp4", "3840×2160 h264"},
                                              {"roadtrip_vp9_10bit.webm", "426×240 vp9"},
                                              {"slowmo_android_vfr.mp4", "1280×720 h264"},
                                              {"sowt_pcm_1080p50.mov", "1920×1080 h264"}};
    return table.value(file, QStringLiteral("a new file: add its expectation here"));
}

QString media(const QString &name)
{
    return QDir(TestFilms::mediaDirectory()).absoluteFilePath(name);
}

} // namespace

class EngineReal : public QObject {
    Q_OBJECT

    PrivateTempDir temp_; // the engine's work folder and the generated films live in here
    std::unique_ptr<PreviewEngine> engine_;

    MovieInfo probe(const QString &path) { return resultOrWarn(engine_->probe(QUrl::fromLocalFile(path))); }

private slots:
    void initTestCase()
    {
        if (TestFilms::systemToolsDirectory().isEmpty())
            QSKIP("no ffmpeg on this system");
        engine_ = std::make_unique<PreviewEngine>(TestFilms::systemToolsDirectory());
    }
    void cleanupTestCase() { engine_.reset(); }

    void probe_data()
    {
        QTest::addColumn<QString>("film");
        QTest::addColumn<QString>("expected"); // "W×H codec [fps]" or the failure
        QTest::newRow("cover picture before the film") << TestFilms::coverFirstFilm() << "160×120 h264 25";
        QTest::newRow("NTSC rate") << TestFilms::film("ntsc.mp4", lavfi("testsrc2=s=160x120:r=30000/1001:d=1"))
                                   << "160×120 h264 29.97003";
        QTest::newRow("PQ") << TestFilms::film("pq.mp4",
                                               lavfi(kSmall, {"-bsf:v", "h264_metadata=transfer_characteristics=16"}))
                            << previewError(PreviewError::hdrNotSupported());
        QTest::newRow("interlaced fields")
            << TestFilms::film("interlaced.mp4", lavfi(kSmall, {"-vf", "setfield=tff", "-flags", "+ilme+ildct"}))
            << previewError(PreviewError::interlacedNotSupported());
        const QStringList files = TestFilms::mediaDirectory().isEmpty()
            ? QStringList()
            : QDir(TestFilms::mediaDirectory()).entryList(QDir::Files);
        for (const QString &file : files)
            if (file != QLatin1String("README.md"))
                QTest::newRow(qPrintable(file)) << media(file) << mediaExpectation(file);
    }
    void probe()
    {
        QFETCH(QString, film);
        QFETCH(QString, expected);
        QVERIFY2(!film.isEmpty(), "the test film could not be made");
        QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(film));
        const QString failure = failureText(future);
        const bool ok = failure == QLatin1String("no failure");
        const MovieInfo info = ok ? future.result() : MovieInfo();
        QString actual = QStringLiteral("%1×%2 %3").arg(info.width).arg(info.height).arg(info.codec);
        if (expected.count(QLatin1Char(' ')) == 2)
            actual += QLatin1Char(' ') + QString::number(info.fps, 'g', 7);
        QCOMPARE(ok ? actual : failure, expected);
        QVERIFY(!ok || (info.duration > 0 && info.duration < 60 && info.fps > 1 && info.fps < 120));
        QVERIFY(!ok || info.url == QUrl::fromLocalFile(film));
    }

    void awkwardPaths()
    {
        // Spaces, umlauts, quotes, a dollar sign, and names that look like an option, standard input or a protocol.
        const QString folder = temp_.path() + QStringLiteral("/Mein Film – Ä ö ü ß");
        QVERIFY(QDir().mkpath(folder));
        const QStringList names{"-Urlaub am Meer (2023) 'ä' $HOME.mp4", "http:film.mp4", "-", "Film #1 100% ?.mp4"};
        for (const QString &name : names)
            QVERIFY(QFile::copy(TestFilms::sampleFilm(320, 240, 25, 2), folder + QLatin1Char('/') + name));
        const MovieInfo absolute = probe(folder + QLatin1Char('/') + names[0]);
        QCOMPARE(absolute.width, qint64(320));
        QVERIFY(!QImage::fromData(resultOrWarn(engine_->render(absolute, 1, 2, 0)).encoded, "PNG").isNull());
        // Relative paths are read against the current folder, never as options or protocols.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder));
        QStringList outcomes;
        for (const QString &name : names)
            outcomes << name + QStringLiteral(": ") + failureText(engine_->probe(QUrl::fromLocalFile(name)));
        QVERIFY(QDir::setCurrent(previous));
        for (const QString &outcome : outcomes)
            QVERIFY2(outcome.endsWith(QLatin1String(": no failure")), qPrintable(outcome));
    }

    void render_data()
    {
        QTest::addColumn<QString>("film");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("maxHeight");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<int>("frameNumber"); // of the numbered film; -1: not numbered
        const QString numbered = TestFilms::numberedFilm(426, 240, 25, 4.0);
        QTest::newRow("near the end, clip moved back") << numbered << 3.7 << qint64(120) << qint64(120) << 92;
        QTest::newRow("start") << numbered << 0.0 << qint64(120) << qint64(120) << 0;
        QTest::newRow("end: last but one frame of the clip") << numbered << 4.0 << qint64(120) << qint64(120) << 98;
        QTest::newRow("limit above the source") << numbered << 2.5 << qint64(1080) << qint64(240) << 62;
        // Numbered frames, the first ten 40 ms apart, then a gap of 0.6 s, as phones record: the average
        // rate 500/23, not the nominal 25, finds frame 17, and the encoded clip shows the same one.
        QTest::newRow("frame gaps") << TestFilms::film(
            "numbered-gap.mp4",
            {"-f", "lavfi", "-i", "color=black:s=160x120:r=25:d=4", "-vf",
             "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128,setpts='if(lt(N,10),N,N+15)/25/TB'", "-fps_mode",
             "vfr", "-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p"})
                                    << 0.8 << qint64(0) << qint64(120) << 17;
        QTest::newRow("the film, not the cover (64×64)")
            << TestFilms::coverFirstFilm() << 0.5 << qint64(0) << qint64(120) << -1;
        if (TestFilms::mediaDirectory().isEmpty())
            return;
        QTest::newRow("VP9, whole clip") << media("bear_vp9.webm") << 1.5 << qint64(0) << qint64(240) << -1;
        QTest::newRow("10-bit VP9 with hidden frames")
            << media("roadtrip_vp9_10bit.webm") << 2.0 << qint64(720) << qint64(240) << -1;
        QTest::newRow("variable frame gaps, scene at the end")
            << media("slowmo_android_vfr.mp4") << 0.53 << qint64(720) << qint64(720) << -1;
        QTest::newRow("1080p50 limited to 720")
            << media("sowt_pcm_1080p50.mov") << 1.0 << qint64(720) << qint64(720) << -1;
    }
    void render()
    {
        QFETCH(QString, film);
        QFETCH(double, seconds);
        QFETCH(qint64, maxHeight);
        QFETCH(qint64, height);
        QFETCH(int, frameNumber);
        QVERIFY2(!film.isEmpty(), "the test film could not be made");
        const MovieInfo info = probe(film);
        const PreviewResult result = resultOrWarn(engine_->render(info, seconds, 1.5, maxHeight));
        QCOMPARE(result.height, height);
        QVERIFY(result.width % 2 == 0 && qAbs(result.width - info.width * height / info.height) <= 1);
        QCOMPARE(result.sampleSeconds, std::min(info.duration, 3.0));
        QVERIFY(result.seconds >= 0 && result.seconds <= info.duration && result.actualMbps > 0.01);
        for (const QByteArray &png : {result.original, result.encoded})
            QCOMPARE(QImage::fromData(png, "PNG").size(), QSize(int(result.width), int(result.height)));
        if (frameNumber >= 0) {
            QCOMPARE(result.seconds, frameNumber / info.fps);
            QCOMPARE(TestFilms::frameNumberOf(result.original), frameNumber);
            QCOMPARE(TestFilms::frameNumberOf(result.encoded), frameNumber);
        }
    }

    void frameMissingFromClipIsNoStalePicture()
    {
        // Dense frames for 3 s, then one every 0.4 s up to 12.6 s: Matroska keeps the gaps and ffprobe
        // still reports 25 fps, so a scene near the end asks for a frame the clip does not have.
        const MovieInfo sparse =
            probe(TestFilms::film("sparse.mkv",
                                  lavfi("testsrc2=s=160x120:r=25:d=4",
                                        {"-vf", "setpts='if(lt(N,75),N/25,3+(N-75)*0.4)/TB'", "-fps_mode", "vfr"})));
        QCOMPARE(sparse.fps, 25.0);
        QCOMPARE(failureText(engine_->render(sparse, 1, 2, 0)), QStringLiteral("no failure"));
        QVERIFY(QFileInfo::exists(engine_->directory()
                                  + QStringLiteral("/original.png"))); // a good render leaves its frames behind
        // ffmpeg finds no frame 73 in the last 3 s of the film, succeeds and writes nothing.
        QCOMPARE(failureText(engine_->render(sparse, sparse.duration, 2, 0)),
                 previewError(PreviewError::frameNotExtracted()));
    }
};

QTEST_GUILESS_MAIN(EngineReal)
#include "tst_engine_real.moc"
