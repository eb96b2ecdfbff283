// The system's ffmpeg and ffprobe on generated films and on the camera and phone footage in
// ../shared/media: what the probe reports, and renders checked frame by frame on numbered films.

#include "engine_test_helpers.h"
#include "preview_engine.h"
#include "test_films.h"

#include <QImage>
#include <QtTest>

class EngineReal : public QObject {
    Q_OBJECT

    PrivateTempDir temp_; // the work folder and the generated films
    std::unique_ptr<PreviewEngine> engine_;

    static QString media(const char *name) { return TestFilms::mediaDirectory() + '/' + name; }

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
        QTest::addColumn<QString>("expected"); // "W×H codec fps" or the failure
        QTest::newRow("interlaced") << TestFilms::film(
            "interlaced.mp4",
            {"-f", "lavfi", "-i", "testsrc2=s=160x120:d=1", "-vf", "setfield=tff", "-flags", "+ilme+ildct"})
                                    << previewError(PreviewError::interlacedNotSupported());
        // The real footage: "W×H codec fps", HDR or no video.
        QMap<QString, QString> footage;
        for (const QString line :
             {"bear_vp9.webm=320×240 vp9 29.97", "car_12p5fps.mp4=768×432 h264 12.5", "cover_art_audio.m4a=none",
              "dv_p9_h264_1080p60.mp4=HDR", "emulator_720p_h264.mp4=1280×720 h264 29.97",
              "gopro_karma.mp4=854×480 h264 29.97", "hdr10_av1_mdcv.mp4=HDR", "hdr10_av1_portrait.mp4=HDR",
              "hdr10_hevc_1080p.mp4=HDR", "iphone_dv84_hlg_rot.mp4=HDR", "iphone_dv84_short.mov=HDR",
              "pixel_motionphoto_vfr.mp4=1024×768 hevc 27.61", "portrait_4k60_rot.mp4=3840×2160 h264 60.06",
              "roadtrip_vp9_10bit.webm=426×240 vp9 23.98", "slowmo_android_vfr.mp4=1280×720 h264 13.32",
              "sowt_pcm_1080p50.mov=1920×1080 h264 50"})
            footage[line.section('=', 0, 0)] = line.section('=', 1)
                                                   .replace("HDR", previewError(PreviewError::hdrNotSupported()))
                                                   .replace("none", previewError(PreviewError::noVideoStream()));
        const QDir folder(TestFilms::mediaDirectory());
        for (const QString &file :
             TestFilms::mediaDirectory().isEmpty() ? QStringList() : folder.entryList(QDir::Files))
            if (file != "README.md")
                QTest::newRow(qPrintable(file))
                    << folder.filePath(file) << footage.value(file, "a new file: expect it here");
    }
    void probe()
    {
        QFETCH(QString, film);
        QVERIFY2(!film.isEmpty(), "the test film could not be made");
        QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(film));
        const MovieInfo m = failureText(future) == "no failure" ? future.result() : MovieInfo();
        QVERIFY(m.width == 0 || (m.url == QUrl::fromLocalFile(film) && m.duration > 0 && m.duration < 60));
        QTEST(m.width ? QString::asprintf("%lld×%lld %s %.4g", m.width, m.height, qPrintable(m.codec), m.fps)
                      : failureText(future),
              "expected");
    }

    void render_data()
    {
        QTest::addColumn<QString>("film");
        QTest::addColumn<QString>("render");   // "seconds maxHeight"
        QTest::addColumn<QString>("expected"); // "height frame" of the numbered film (-1: not numbered)
        const QString numbered = TestFilms::numberedFilm(426, 240, 25, 4.0);
        QTest::newRow("near the end, clip moved back") << numbered << "3.7 120"
                                                       << "120 92";
        QTest::newRow("start") << numbered << "0 120"
                               << "120 0";
        QTest::newRow("end: last but one frame of the clip") << numbered << "4 120"
                                                             << "120 98";
        QTest::newRow("limit above the source") << numbered << "2.5 1080"
                                                << "240 62";
        // Numbered frames, the first ten 40 ms apart, then a gap of 0.6 s, as phones record: the average
        // rate 500/23, not the nominal 25, finds frame 17, and the encoded clip shows the same one.
        QTest::newRow("frame gaps") << TestFilms::film("numbered-gap.mp4",
                                                       {"-f", "lavfi", "-i", "color=black:s=160x120:r=25:d=4", "-vf",
                                                        "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128,"
                                                        "setpts='if(lt(N,10),N,N+15)/25/TB'",
                                                        "-fps_mode", "vfr", "-c:v", "libx264", "-qp", "0"})
                                    << "0.8 0"
                                    << "120 17";
        if (TestFilms::mediaDirectory().isEmpty())
            return;
        QTest::newRow("VP9, whole clip") << media("bear_vp9.webm") << "1.5 0"
                                         << "240 -1";
        QTest::newRow("10-bit VP9, hidden frames") << media("roadtrip_vp9_10bit.webm") << "2 720"
                                                   << "240 -1";
        QTest::newRow("frame gaps, scene at the end") << media("slowmo_android_vfr.mp4") << "0.53 720"
                                                      << "720 -1";
        QTest::newRow("1080p50 limited to 720") << media("sowt_pcm_1080p50.mov") << "1 720"
                                                << "720 -1";
    }
    void render()
    {
        QFETCH(QString, film);
        QFETCH(QString, render);
        QVERIFY2(!film.isEmpty(), "the test film could not be made");
        const MovieInfo m = resultOrWarn(engine_->probe(QUrl::fromLocalFile(film)));
        const PreviewResult r = resultOrWarn(
            engine_->render(m, render.section(' ', 0, 0).toDouble(), 1.5, render.section(' ', 1).toLongLong()));
        QVERIFY(r.width % 2 == 0 && qAbs(r.width - m.width * r.height / m.height) <= 1);
        QVERIFY(r.sampleSeconds == std::min(m.duration, 3.0) && r.seconds <= m.duration && r.actualMbps > 0.01);
        for (const QByteArray &png : {r.original, r.encoded})
            QCOMPARE(QImage::fromData(png, "PNG").size(), QSize(int(r.width), int(r.height)));
        const int frame = TestFilms::frameNumberOf(r.original);
        QTEST(QStringLiteral("%1 %2").arg(r.height).arg(frame < 0 || !film.contains("numbered") ? -1 : frame),
              "expected");
        if (film.contains("numbered"))
            QCOMPARE(QString::asprintf("%d %g", TestFilms::frameNumberOf(r.encoded), r.seconds),
                     QString::asprintf("%d %g", frame, frame / m.fps));
    }
};

QTEST_GUILESS_MAIN(EngineReal)
#include "tst_engine_real.moc"
