// GlanceModel driven as the main window drives it (with a SettingsObserver attached): what it shows
// of a movie and its comparisons, on the real engine over fake tools that record their calls, and
// once over the system's ffmpeg on a real movie; the texts, zoom and difference picture it makes.
#include "engine/comparison_texts.h"
#include "engine/preview_engine.h"
#include "engine/preview_error.h"
#include "model/clip_player.h"
#include "model/comparison_progress.h"
#include "model/difference_image.h"
#include "support/model_window.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QFileInfo>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

using Window = ModelWindow;
const auto measured = ModelWindow::measured;

// A result of the given size, measured bitrate, frame time and clip length.
static PreviewResult made(qint64 width, qint64 height, double actualMbps, double seconds, double sampleSeconds)
{
    PreviewResult r;
    r.width = width, r.height = height, r.actualMbps = actualMbps, r.seconds = seconds, r.sampleSeconds = sampleSeconds;
    return r;
}

class ModelComparisons : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Window::useDecimalComma(); }
    // Every model let go of its engine (and work folder) once its jobs had ended.
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000); }

    void start()
    {
        Window w;
        QVERIFY(QFileInfo(w->workDirectory()).isDir() && !w->error());
        w->setPreviewSize(QSizeF(640, 360));
        w->zoomToActualPixels();  // no comparison yet
        w->schedulePreview(true); // no movie yet
        QVERIFY(w->zoom() == 1.0 && w.trace->isEmpty() && !w->busy() && w.tools.calls().isEmpty());
        // Without ffprobe: the error from the start; neither opening nor a request changes anything.
        w.tools.removeTool(u"ffprobe"_s);
        Window broken(w.tools.directory());
        QCOMPARE(broken->error(), PreviewError::toolsMissing().message());
        broken->openMovie(w.movie());
        broken->schedulePreview(true);
        QVERIFY(broken->workDirectory().isEmpty() && broken.trace->isEmpty() && !broken->busy());
    }

    void openOutcome_data()
    {
        const auto row = table<QString, double>("duration", "seconds"); // the start time
        row("30 s film: the middle", "30.000000", 15), row("2 h film: at most 60 s", "7200.000000", 60);
        row("0.5 s film", "0.500000", 0.25);
        row("HDR: rejected", R"(100.000000","color_transfer":"smpte2084)", 0); // beside the duration
    }

    void openOutcome()
    {
        Window w;
        w.tools.setProbeJson(FakeTools::defaultProbeJson().replace(u"100.000000"_s, fetched<QString>("duration")));
        w->setMbps(5);
        w->setMaxHeight(720);
        w->openMovie(w.movie());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), 20000);
        QVERIFY(w->mbps() == 5.0 && w->maxHeight() == 720); // the settings stay, whatever the outcome
        if (w->movie()) {
            QTEST(w->seconds(), "seconds");
            QCOMPARE(w.encodes(), QStringList{"5000000"}); // one render
        } else {
            QCOMPARE(*w.trace,
                     QStringList({Window::reading, "error " + PreviewError::hdrNotSupported().message(),
                                  u"Datei konnte nicht geöffnet werden."_s}));
        }
    }

    void failedPreviewKeepsTheLastComparison()
    {
        Window w;
        QVERIFY(w.open());
        const QImage encoded = w->encoded();
        w.tools.setBody(u"ffmpeg"_s, u"echo 'Encoder kaputt' >&2\nexit 1\n"_s);
        w->setMbps(3);
        QVERIFY(w.idle());
        QCOMPARE(w.trace->mid(w.trace->size() - 2),
                 QStringList({u"error Encoder kaputt\n"_s, u"Vorschau fehlgeschlagen."_s}));
        QVERIFY(w->encoded() == encoded && w->measurement() == measured("2.00") && w->comparisonMbps() == 2);
        QVERIFY(w->stale()); // made for 2, not the 3 asked for
        w.delay("ffmpeg", "0");
        w->setMbps(4); // the next request clears the message at once
        QVERIFY(!w->error() && w.idle() && w->measurement() == measured("4.00") && w->comparisonMbps() == 4);
        QVERIFY(!w->stale());
        QCOMPARE(w->difference(), differenceImage(w->original(), w->encoded()));
    }

    void qualityNumbersFollowTheComparison()
    {
        Window w;
        QVERIFY(w.open()); // the numbers of 2 Mbit/s measured after the pictures (see the traces above)
        const auto whenMeasuring = [&](const QString &shell) {
            w.tools.setPrelude(u"ffmpeg"_s, u"case \"$*\" in *stats_file=*) "_s + shell + u" ;; esac"_s);
        };
        // A request during a measurement ends it (and its tool): the line goes at once.
        whenMeasuring(u"sleep 30"_s);
        w->setMbps(3);
        QTRY_COMPARE_WITH_TIMEOUT(w->quality(), Window::measuring, 20000);
        whenMeasuring(u"echo 'Messung kaputt' >&2; exit 1"_s);
        w->setMbps(4);
        QVERIFY(w->quality().isEmpty());
        // A failed measurement shows its error; the comparison stays.
        QVERIFY(w.idle());
        QVERIFY(w->error() == u"Messung kaputt\n"_s && w->measurement() == measured("4.00") && w->quality().isEmpty());
        // Back to a bitrate measured before: its numbers come from the engine's cache, no tool runs
        // but the decoding of its clip for playback.
        w.tools.clearCalls();
        w->setMbps(2);
        const qsizetype asked = w.trace->size();
        QVERIFY(w.idle());
        QCOMPARE(w.trace->mid(asked), QStringList({measured("2.00"), Window::numbers, Window::shown}));
        QCOMPARE(w.tools.calls().size(), 1);
        QVERIFY(w.tools.calls().constFirst().args.constLast().endsWith(u"/playback-encoded.mkv"_s));
    }

    // Every frame of the comparison, on playback clips whose frames show their number (the fake
    // measurement's frame n has SSIM 0.9 + (n + 1) / 10000, so frame 0 is the worst).
    void everyFrameOfTheComparison()
    {
        const QString clip = TestMovies::numberedClip(75);
        if (clip.isEmpty())
            QSKIP("needs the system's ffmpeg with Ut Video");
        Window w;
        w.tools.useClip(clip);
        QVERIFY(w.open());
        ClipPlayer &player = *w->player();
        QVERIFY(player.state() == ClipPlayer::State::Ready && player.frameCount() == 75);
        const qint64 scene = w->shownResult()->frame;
        QCOMPARE(scene, 25); // the fake movie's clip starts a second before the scene
        const auto shows = [&](qint64 n, const QString &line) { // both sides, the frame line, the quality line
            const bool arrived = QTest::qWaitFor(
                [&] {
                    return w->shownFrame() == n && TestMovies::frameNumberOf(w->original()) == n
                        && TestMovies::frameNumberOf(w->encoded()) == n;
                },
                10000);
            QVERIFY2(arrived, qPrintable(w->frameLine()));
            QCOMPARE(w->frameLine(), line);
            QCOMPARE(w->quality().sliced(41), w->frameLine().sliced(w->frameLine().indexOf(u"SSIM"_s)));
        };
        shows(scene, u"Bild 26 von 75 · 00:00:50.00 · SSIM 0.9026 · PSNR 30.3 dB"_s);
        player.step(1);
        shows(scene + 1, u"Bild 27 von 75 · 00:00:50.04 · SSIM 0.9027 · PSNR 30.3 dB"_s);
        QCOMPARE(QFileInfo(w->suggestedPath(u"png"_s, true)).fileName(), u"film-00-00-50-2.0Mbit-Bild27.png"_s);
        w->setView(GlanceModel::ComparisonView::Difference);
        QCOMPARE(w->difference(), differenceImage(w->original(), w->encoded()));
        w->showWorstFrame(); // the clip's timestamps: 120 ms lie between frames 9 and 10
        shows(0, u"Bild 1 von 75 · 00:00:48.92 · SSIM 0.9001 · PSNR 30.1 dB"_s);
        QCOMPARE(w->difference(), differenceImage(w->original(), w->encoded()));
        // Saving takes the frame shown: the engine extracts it first.
        w.tools.clearCalls();
        w->saveComparisonPicture(w.movie("frame.png"));
        QTRY_VERIFY(QFileInfo::exists(w.movie("frame.png")));
        QCOMPARE(w.tools.callLetters().left(2), u"??"_s); // frame-original.png, frame-encoded.png
        // Another bitrate starts on the scene's frame again: first both pictures of the new comparison
        // (not the frame shown before beside its encoded picture), then its clips.
        w->setMbps(3);
        QTRY_COMPARE_WITH_TIMEOUT(w->comparisonMbps(), 3, 20000);
        const QImage reference(w.tools.directory() + u"/original-frame.png"_s);
        QCOMPARE(w->original().convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32));
        shows(scene, u"Bild 26 von 75 · 00:00:50.00 · SSIM 0.9026 · PSNR 30.3 dB"_s);
        // Asked for before the clips are open, a frame is the one they open on.
        w->setMbps(4);
        QTRY_COMPARE_WITH_TIMEOUT(w->comparisonMbps(), 4, 20000); // shown: measured next, then its clips
        QCOMPARE(player.state(), ClipPlayer::State::Closed);
        w->showFrame(0);
        shows(0, u"Bild 1 von 75 · 00:00:48.92 · SSIM 0.9001 · PSNR 30.1 dB"_s);
        // A scene chosen from a scan's list opens on its worst frame: at once when it is on screen,
        // else once its clips are open.
        player.step(3);
        shows(3, u"Bild 4 von 75 · 00:00:49.04 · SSIM 0.9004 · PSNR 30.4 dB"_s);
        w->showSceneOnWorstFrame(w->seconds());
        shows(0, u"Bild 1 von 75 · 00:00:48.92 · SSIM 0.9001 · PSNR 30.1 dB"_s);
        w->showSceneOnWorstFrame(60);
        QTRY_COMPARE_WITH_TIMEOUT(w->shownResult()->seconds, 60.0, 20000);
        shows(0, u"Bild 1 von 75 · 00:00:58.92 · SSIM 0.9001 · PSNR 30.1 dB"_s);
    }

    void comparisonTexts_data() // under the decimal-comma locale set for the whole suite
    {
        // The result for the target 3.3, its measurement line, and the status after "Vergleich bei ".
        const auto row = table<PreviewResult, QString, QString>("result", "measurement", "status");
        const QString target = " · Ziel 3.30 Mbit/s · gemessen ", clip = " s wirklich kodiert";
        // printf rounds the exact binary value (ties to even); times round half away from zero.
        row("nothing measured", made(1280, 720, 0, 59.5, 3), "1280 × 720" + target + "0.00 Mbit/s",
            "00:01:00 · 3.0" + clip);
        row("ties", made(1, 1, 0.125, 2.5, 2.25), "1 × 1" + target + "0.12 Mbit/s", "00:00:03 · 2.2" + clip);
        row("negative time", made(1, 1, 2, -0.5, 3), "1 × 1" + target + "2.00 Mbit/s", "00:00:00 · 3.0" + clip);
        row("100 hours", made(1, 1, 2, 360000.4, 3), "1 × 1" + target + "2.00 Mbit/s", "100:00:00 · 3.0" + clip);
    }

    void comparisonTexts()
    {
        QFETCH(PreviewResult, result);
        QTEST(measurementText(3.3, result), "measurement");
        QTEST(comparisonStatusText(result).sliced(14), "status");
    }

    void zoomToActualPixels_data()
    {
        const auto row = table<QSizeF, double, double>("pane", "ratio", "zoom"); // the pane shows 1920 × 1080
        row("640x360, ratio 2", {640, 360}, 2, 1.5), row("at most 16", {100, 50}, 1, 16);
        row("at least 0.25", {10000, 10000}, 1, 0.25), row("no pane size: unchanged", {0, 0}, 1, 2.5);
    }

    void zoomToActualPixels()
    {
        QFETCH(QSizeF, pane);
        Window w;
        QVERIFY(w.open());
        w->setDevicePixelRatio(fetched<double>("ratio"));
        w->setPreviewSize(pane);
        w->setZoom(2.5);
        w->setPan(QSizeF(30, -10));
        w->zoomToActualPixels();
        QTEST(w->zoom(), "zoom");
        QCOMPARE(w->pan().isNull(), !pane.isEmpty()); // back to the centre when it acts
    }

    void everyObservableFieldIsAProperty()
    {
        const QMetaObject &meta = GlanceModel::staticMetaObject;
        QSet<QByteArray> notified;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
            notified << meta.property(i).notifySignal().name();
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                QVERIFY2(notified.contains(meta.method(i).name()), meta.method(i).name().constData());
    }

    // The cut and the encode on one bar: "cut 30/100 @1" is a report of the cut with 30 of 100 frames
    // done, 1 s after the work began. The time left waits for a tenth of the work or 2 s.
    void oneProgressBar_data()
    {
        const auto row = table<QStringList, double, double>("reports", "share", "remaining");
        row("the cut's start", {"cut 0/100 @0"}, 0, -1);
        row("the cut: its share of the bar", {"cut 100/100 @3.5"}, 0.35, 6.5);
        row("the encode after a cut", {"cut 100/100 @1", "encode 50/100 @3"}, 0.675, 3 / 0.675 * 0.325);
        row("the encode alone, the reference clip reused", {"encode 50/100 @1"}, 0.5, 1);
        row("held back: 5 % after 1 s", {"encode 5/100 @1"}, 0.05, -1);
        row("held back until 2 s", {"encode 5/100 @1", "encode 5/100 @2"}, 0.05, 38);
        row("from a tenth on", {"encode 10/100 @0.5"}, 0.1, 4.5);
        row("never backwards", {"cut 100/100 @1", "encode 0/100 @1"}, 0.35, 1 / 0.35 * 0.65);
        row("no frames counted", {"encode 3/0 @5"}, 0, -1);
    }

    void oneProgressBar()
    {
        ComparisonProgress progress;
        const QRegularExpression report(u"^(cut|encode) (\\d+)/(\\d+) @([\\d.]+)$"_s);
        for (const QString &text : fetched<QStringList>("reports")) {
            const QRegularExpressionMatch m = report.match(text);
            QVERIFY2(m.hasMatch(), qPrintable(text));
            const auto step = m.captured(1) == u"cut"_s ? RenderProgress::Step::Cut : RenderProgress::Step::Encode;
            progress.add({step, m.captured(2).toLongLong(), m.captured(3).toLongLong(), -1}, m.captured(4).toDouble());
        }
        QCOMPARE(progress.share(), fetched<double>("share"));
        QCOMPARE(progress.remainingSeconds(), fetched<double>("remaining"));
    }

    void differenceOfTheFrames_data()
    {
        const auto row = table<QRgb, QRgb, int>("original", "encoded", "difference"); // a grey level
        row("equal", qRgb(90, 120, 30), qRgb(90, 120, 30), 0);
        row("10 levels darker: 40", qRgb(100, 100, 100), qRgb(90, 90, 90), 40);
        row("lighter counts the same", qRgb(90, 90, 90), qRgb(100, 100, 100), 40);
        row("luma, not colour: green weighs most", qRgb(0, 0, 0), qRgb(0, 20, 0), 48);
        row("clamped", qRgb(0, 0, 0), qRgb(255, 255, 255), 255);
    }

    void differenceOfTheFrames()
    {
        QImage a(3, 2, QImage::Format_RGB32), b(3, 2, QImage::Format_RGB32);
        a.fill(fetched<QRgb>("original")), b.fill(fetched<QRgb>("encoded"));
        QCOMPARE(differenceImage(a, b).size(), QSize(3, 2));
        QTEST(qGray(differenceImage(a, b).pixel(2, 1)), "difference");
        QVERIFY(differenceImage(a, b.copy(0, 0, 2, 2)).isNull()); // sizes differ: none
    }

    // A phone's portrait movie stored landscape, with a rotation of -90: shown upright, while the
    // measurement keeps the clip's own size.
    void portraitMovieShownUpright()
    {
        Window w;
        w.tools.setProbeJson(FakeTools::defaultProbeJson().replace(
            u"\"field_order\""_s, u"\"side_data_list\":[{\"rotation\":-90}],\"field_order\""_s));
        QVERIFY(w.open());
        const QSize stored = QImage(w.tools.directory() + u"/original-frame.png"_s).size();
        QVERIFY(w->original().size() == stored.transposed() && w->encoded().size() == stored.transposed());
        QCOMPARE(w->pixelSize(), QSizeF(1080, 1920));
        QVERIFY2(w->measurement().startsWith(u"1920 × 1080 · "_s), qPrintable(w->measurement()));
    }
};

QTEST_MAIN(ModelComparisons)
#include "tst_model_comparisons.moc"
