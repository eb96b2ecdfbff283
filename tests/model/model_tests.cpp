// GlanceModel driven as the main window drives it (with a SettingsObserver attached), on the real
// engine over fake tools that record their calls, and once over the system's ffmpeg on a real movie.
#include "engine/comparison_texts.h"
#include "engine/preview_engine.h"
#include "engine/preview_error.h"
#include "model/difference_image.h"
#include "model/glance_model.h"
#include "model/scan_model.h"
#include "model/settings_observer.h"
#include "support/fake_tools.h"
#include "support/test_movies.h"

#include <QFileInfo>
#include <QLocale>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <clocale>

using namespace Qt::StringLiterals;

namespace {

const QString kReading = u"Videodaten werden gelesen …"_s;
const QString kUpdating = u"Vorschau wird aktualisiert …"_s;
const QString kShown = u"Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"_s;
const QString kMeasuring = u"Qualität wird gemessen …"_s;
const QString kNumbers = u"Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB"_s; // fake tools

QString measured(const char *target)
{
    return u"1920 × 1080 · Ziel %1 Mbit/s · gemessen 2.37 Mbit/s"_s.arg(QLatin1String(target));
}

// A result of the given size, measured bitrate, frame time and clip length.
PreviewResult made(qint64 width, qint64 height, double actualMbps, double seconds, double sampleSeconds)
{
    PreviewResult result;
    result.width = width;
    result.height = height;
    result.actualMbps = actualMbps;
    result.seconds = seconds;
    result.sampleSeconds = sampleSeconds;
    return result;
}

// A model as a main window holds it, on fake tools unless another Tools folder is given, and each
// movie name, status, measurement, quality line and error it showed, in order.
struct Window {
    FakeTools tools;
    std::unique_ptr<GlanceModel> model;
    std::shared_ptr<QStringList> trace = std::make_shared<QStringList>();
    SettingsObserver *observer;

    explicit Window(const QString &toolsDirectory = {})
        : model(std::make_unique<GlanceModel>(toolsDirectory.isEmpty() ? tools.directory() : toolsDirectory))
    {
        GlanceModel *m = model.get();
        const auto t = trace;
        observer = new SettingsObserver(m, m);
        QObject::connect(m, &GlanceModel::movieChanged, m,
                         [m, t] { *t << (m->movie() ? m->movie()->url.fileName() : ""); });
        QObject::connect(m, &GlanceModel::statusChanged, m, [m, t] { *t << m->status(); });
        QObject::connect(m, &GlanceModel::measurementChanged, m, [m, t] { *t << m->measurement(); });
        QObject::connect(m, &GlanceModel::qualityChanged, m, [m, t] { *t << m->quality(); });
        QObject::connect(m, &GlanceModel::errorChanged, m, [m, t] { *t << "error " + m->error().value_or(""); });
    }
    GlanceModel *operator->() const { return model.get(); }
    QString movie(const char *name = "film.mp4") const { return tools.directory() + u'/' + QLatin1String(name); }
    void delay(const char *tool, const char *seconds) { tools.setDelay(QLatin1String(tool), QLatin1String(seconds)); }
    bool idle(int timeout = 20000) const
    {
        return QTest::qWaitFor([this] { return model->movie() && !model->busy() && model->quality() != kMeasuring; },
                               timeout);
    }
    bool started(const char *tool) const
    {
        return QTest::qWaitFor([&] { return !tools.calls(QLatin1String(tool)).empty(); }, 20000);
    }
    bool open(const char *name = "film.mp4") { return open(movie(name)); }
    bool open(const QString &path, int timeout = 20000) { return model->openMovie(path), idle(timeout); }
    int ffmpegCalls() const { return int(tools.calls(u"ffmpeg"_s).size()); }
    QStringList encodes() const // the target bitrate of each
    {
        QStringList targets;
        for (const FakeTools::Call &call : tools.calls(u"ffmpeg"_s))
            if (const qsizetype at = call.args.indexOf(u"-b:v"_s); at >= 0)
                targets << call.args.value(at + 1);
        return targets;
    }
};

} // namespace

class ModelTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A user locale with a decimal comma must change none of the texts or tool arguments.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8"); // where the system has it
    }

    void cleanup()
    {
        // Every model let go of its engine (and work folder) once its jobs had ended.
        QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000);
    }

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
        QTest::addColumn<QString>("duration");
        QTest::addColumn<double>("seconds"); // the start time
        QTest::newRow("30 s film: the middle") << "30.000000" << 15.0;
        QTest::newRow("2 h film: at most 60 s") << "7200.000000" << 60.0;
        QTest::newRow("0.5 s film") << "0.500000" << 0.25;
        QTest::newRow("HDR: rejected") << R"(100.000000","color_transfer":"smpte2084)" << 0.0; // beside the duration
    }

    void openOutcome()
    {
        QFETCH(QString, duration);
        Window w;
        w.tools.setProbeJson(FakeTools::defaultProbeJson().replace(u"100.000000"_s, duration));
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
                     QStringList({kReading, "error " + PreviewError::hdrNotSupported().message(),
                                  u"Datei konnte nicht geöffnet werden."_s}));
        }
    }

    void secondMovieWhileBusy_data()
    {
        QTest::addColumn<bool>("duringComparison");
        QTest::newRow("during the first film's probe") << false;
        QTest::newRow("during a preview of the first film") << true;
    }

    void secondMovieWhileBusy()
    {
        QFETCH(bool, duringComparison);
        Window w;
        QVERIFY(!duringComparison || w.open("first.mp4"));
        w.tools.clearCalls();
        const char *tool = duringComparison ? "ffmpeg" : "ffprobe";
        w.delay(tool, "30"); // ended when the second movie is opened, or idle() below times out
        duringComparison ? w->setMbps(3) : w->openMovie(w.movie("first.mp4"));
        QVERIFY(w.started(tool));
        w.delay(tool, "0");
        w->openMovie(w.movie("second.mp4")); // clears at once
        QVERIFY(!w->movie() && w->original().isNull() && w->encoded().isNull() && w->difference().isNull()
                && w->comparisonMbps() == 0 && w->measurement().isEmpty());
        QCOMPARE(w->status(), kReading);
        const qsizetype opened = w.trace->size();
        QVERIFY(w.idle()); // only the second movie's outcome arrives
        QCOMPARE(w.trace->mid(opened),
                 QStringList({"second.mp4", kUpdating, measured(duringComparison ? "3.00" : "2.00"), kMeasuring, kShown,
                              kNumbers}));
    }

    void oneRenderWithTheLastValue_data()
    {
        QTest::addColumn<bool>("recompute");
        QTest::addColumn<bool>("held"); // the changes come from a slider the mouse holds
        QTest::addColumn<QStringList>("encodes");
        QTest::newRow("a burst of changes") << false << false << QStringList{"4000000", "9000000"};
        QTest::newRow("\"Neu berechnen\" during the pause") << true << false << QStringList{"3000000", "9000000"};
        QTest::newRow("a drag: after the release") << false << true << QStringList{"4000000", "9000000"};
    }

    void oneRenderWithTheLastValue()
    {
        QFETCH(bool, recompute);
        QFETCH(bool, held);
        Window w;
        w->setComparisonPauseMs(1); // the changes below come without the event loop in between
        QVERIFY(w.open());
        w.tools.clearCalls();
        w.observer->setHeld(held);
        QSignalSpy requests(w.model.get(), &GlanceModel::busyChanged);
        for (int tenths = 21; tenths <= (recompute ? 30 : 40); ++tenths)
            w->setMbps(tenths / 10.0);
        QCOMPARE(requests.isEmpty(), held); // held: nothing requested, no pause started
        w.observer->setHeld(false);
        if (recompute)
            w->schedulePreview(true);
        QVERIFY(w.idle());
        w->setMbps(9); // a paused job left behind would render before this later one
        QVERIFY(w.idle());
        QTEST(w.encodes(), "encodes");
        QCOMPARE(w.ffmpegCalls(), 6); // each an encode, its frame, its numbers: the reference clip was reused
    }

    // On opening, a start time other than the scene time before is a change the window answers
    // with a request after the pause; coming after the open job's own, it replaces that one.
    void firstComparisonAfterOpening_data()
    {
        QTest::addColumn<double>("before");       // the scene time before the movie; it starts at 50 s
        QTest::addColumn<QStringList>("encodes"); // once the engine has done what it was given
        QTest::newRow("another start time: after the pause") << 0.0 << QStringList{};
        QTest::newRow("the same start time: at once") << 50.0 << QStringList{"2000000"};
    }

    void firstComparisonAfterOpening()
    {
        QFETCH(double, before);
        Window w;
        w->setSeconds(before);
        w->setComparisonPauseMs(3'600'000);
        w.tools.setPrelude(u"ffmpeg"_s, u"case \"$LAST\" in *reference.mkv) sleep 0.3 ;; esac"_s);
        w->openMovie(w.movie());
        QTRY_VERIFY_WITH_TIMEOUT(w->movie(), 20000);
        QCoreApplication::processEvents(); // what the window does next
        // The engine works in order: this probe waits for the comparison the model left running.
        w->engine()->probe(QUrl::fromLocalFile(w.movie())).waitForFinished();
        QTEST(w.encodes(), "encodes");
        if (before != 50.0) {
            QVERIFY(w->busy() && w->status() == kUpdating);
            w->cancelCurrentJob();
        }
    }

    void supersededJobsAreSilentWhateverTheirEnding()
    {
        Window w;
        w.delay("ffmpeg", "0.3");
        w->openMovie(w.movie());
        QVERIFY(w.started("ffmpeg"));
        w->setMbps(0.1);          // superseded in its pause
        w->schedulePreview(true); // queued behind the running render; the engine refuses its bitrate
        w->setMbps(3);            // supersedes both
        QVERIFY(w.idle());
        QCOMPARE(*w.trace,
                 QStringList({kReading, "film.mp4", kUpdating, measured("3.00"), kMeasuring, kShown, kNumbers}));
        QCOMPARE(w.encodes(), QStringList{"3000000"}); // the first render's tool was ended
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
        QTRY_COMPARE_WITH_TIMEOUT(w->quality(), kMeasuring, 20000);
        whenMeasuring(u"echo 'Messung kaputt' >&2; exit 1"_s);
        w->setMbps(4);
        QVERIFY(w->quality().isEmpty());
        // A failed measurement shows its error; the comparison stays.
        QVERIFY(w.idle());
        QVERIFY(w->error() == u"Messung kaputt\n"_s && w->measurement() == measured("4.00") && w->quality().isEmpty());
        // Back to a bitrate measured before: its numbers come from the engine's cache, no tool runs.
        w.tools.clearCalls();
        w->setMbps(2);
        const qsizetype asked = w.trace->size();
        QVERIFY(w.idle());
        QCOMPARE(w.trace->mid(asked), QStringList({measured("2.00"), kNumbers, kShown}));
        QVERIFY(w.tools.calls().isEmpty());
    }

    void comparisonTexts_data() // under the decimal-comma locale set for the whole suite
    {
        QTest::addColumn<PreviewResult>("result"); // for the target 3.3
        QTest::addColumn<QString>("texts");
        // printf rounds the exact binary value (ties to even); times round half away from zero.
        QTest::newRow("nothing measured")
            << made(1280, 720, 0, 59.5, 3) << "1280 × 720 · Ziel 3.30 Mbit/s · gemessen 0.00 Mbit/s|00:01:00 · 3.0 s";
        QTest::newRow("ties") << made(1, 1, 0.125, 2.5, 2.25)
                              << "1 × 1 · Ziel 3.30 Mbit/s · gemessen 0.12 Mbit/s|00:00:03 · 2.2 s";
        QTest::newRow("negative time") << made(1, 1, 2, -0.5, 3)
                                       << "1 × 1 · Ziel 3.30 Mbit/s · gemessen 2.00 Mbit/s|00:00:00 · 3.0 s";
        QTest::newRow("100 hours") << made(1, 1, 2, 360000.4, 3)
                                   << "1 × 1 · Ziel 3.30 Mbit/s · gemessen 2.00 Mbit/s|100:00:00 · 3.0 s";
    }

    void comparisonTexts()
    {
        QFETCH(PreviewResult, result);
        const QString status = comparisonStatusText(result).sliced(14); // after "Vergleich bei "
        QVERIFY(status.endsWith(u" wirklich kodiert"_s));
        QTEST(measurementText(3.3, result) + u'|' + status.chopped(17), "texts");
    }

    void zoomToActualPixels_data()
    {
        QTest::addColumn<QSizeF>("pane"); // showing the fake 1920 × 1080 frame
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("zoom");
        QTest::newRow("640x360, ratio 2") << QSizeF(640, 360) << 2.0 << 1.5;
        QTest::newRow("at most 16") << QSizeF(100, 50) << 1.0 << 16.0;
        QTest::newRow("at least 0.25") << QSizeF(10000, 10000) << 1.0 << 0.25;
        QTest::newRow("no pane size: unchanged") << QSizeF(0, 0) << 1.0 << 2.5;
    }

    void zoomToActualPixels()
    {
        QFETCH(QSizeF, pane);
        QFETCH(double, ratio);
        Window w;
        QVERIFY(w.open());
        w->setDevicePixelRatio(ratio);
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

    void differenceOfTheFrames_data()
    {
        QTest::addColumn<QRgb>("original");
        QTest::addColumn<QRgb>("encoded");
        QTest::addColumn<int>("difference"); // grey level
        QTest::newRow("equal") << qRgb(90, 120, 30) << qRgb(90, 120, 30) << 0;
        QTest::newRow("10 levels darker: 40") << qRgb(100, 100, 100) << qRgb(90, 90, 90) << 40;
        QTest::newRow("lighter counts the same") << qRgb(90, 90, 90) << qRgb(100, 100, 100) << 40;
        QTest::newRow("luma, not colour: green weighs most") << qRgb(0, 0, 0) << qRgb(0, 20, 0) << 48;
        QTest::newRow("clamped") << qRgb(0, 0, 0) << qRgb(255, 255, 255) << 255;
    }

    void differenceOfTheFrames()
    {
        QFETCH(QRgb, original);
        QFETCH(QRgb, encoded);
        QImage a(3, 2, QImage::Format_RGB32), b(3, 2, QImage::Format_RGB32);
        a.fill(original);
        b.fill(encoded);
        QCOMPARE(differenceImage(a, b).size(), QSize(3, 2));
        QTEST(qGray(differenceImage(a, b).pixel(2, 1)), "difference");
        QVERIFY(differenceImage(a, b.copy(0, 0, 2, 2)).isNull()); // sizes differ: none
    }

    // At quit the current job is cancelled; its engine operation may have finished already, its
    // outcome on the way to the model.
    void cancelledAfterTheEngineFinished_data()
    {
        QTest::addColumn<bool>("render"); // or the probe
        QTest::newRow("probe") << false;
        QTest::newRow("render") << true;
    }

    void cancelledAfterTheEngineFinished()
    {
        QFETCH(bool, render);
        Window w;
        QVERIFY(!render || w.open());
        w.tools.clearCalls();
        // The engine's outcome reaches the job as a queued call: cancel right before it runs.
        struct Quit : QObject {
            GlanceModel *model = nullptr;
            bool fired = false;
            bool eventFilter(QObject *receiver, QEvent *event) override
            {
                if (event->type() == QEvent::MetaCall && receiver->objectName() == u"GlanceModel::Job"_s && !fired) {
                    fired = true;
                    model->cancelCurrentJob();
                }
                return false;
            }
        } quit;
        quit.model = w.model.get();
        qApp->installEventFilter(&quit);
        render ? w->setMbps(3) : w->openMovie(w.movie());
        const QString folder = w->workDirectory();
        QTRY_VERIFY_WITH_TIMEOUT(quit.fired, 20000);
        QTest::qWait(50);
        qApp->removeEventFilter(&quit);
        QCOMPARE(w.trace->constLast(), render ? kUpdating : kReading); // the job wrote nothing, started nothing
        QCOMPARE(w.ffmpegCalls(), render ? 2 : 0);
        w.model.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 20000); // and let go of the engine
    }

    void releasedModelRemovesItsWorkFolder_data()
    {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("ffmpegCalls"); // the job ends with the model: its tool is ended, nothing follows
        QTest::newRow("during a render") << false << 1; // the cut
        QTest::newRow("during the pause") << true << 5; // first render and its measurement only
    }

    void releasedModelRemovesItsWorkFolder()
    {
        QFETCH(bool, paused);
        Window w;
        const QString folder = w->workDirectory();
        w.delay("ffmpeg", "0.2");
        QVERIFY(paused ? w.open() : (w->openMovie(w.movie()), w.started("ffmpeg")));
        if (paused)
            w->setMbps(3);
        w.model.reset(); // the window closes; a running job keeps the engine and its folder a moment
        QCOMPARE(QFileInfo(folder).isDir(), !paused);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 20000);
        QTest::qWait(300); // nothing starts after the job has let go
        QTEST(w.ffmpegCalls(), "ffmpegCalls");
    }

    // The window closes (or the program gets SIGTERM) during a scan or the bitrate finder: the run
    // ends, and with it the model and its folder.
    void releasedDuringAScanRun_data()
    {
        QTest::addColumn<bool>("finder");
        QTest::addColumn<int>("cuts"); // started before the window closes
        QTest::newRow("scene scan") << false << 1;
        QTest::newRow("finder: its scan") << true << 1;
        QTest::newRow("finder: its search") << true << 13; // the scan's twelve, then the first try
    }

    void releasedDuringAScanRun()
    {
        QFETCH(bool, finder);
        QFETCH(int, cuts);
        Window w;
        const QString folder = w->workDirectory();
        QVERIFY(w.open());
        w.tools.clearCalls();
        w.tools.setPrelude(u"ffmpeg"_s, u"case \"$LAST\" in *reference.mkv) sleep 0.2 ;; esac"_s);
        auto *scans = new ScanModel(w.model.get());
        finder ? scans->findBitrate(0.95) : scans->scan();
        const auto cutsStarted = [&] {
            const QList<FakeTools::Call> calls = w.tools.calls(u"ffmpeg"_s);
            return std::count_if(calls.cbegin(), calls.cend(), [](const FakeTools::Call &call) {
                return call.args.last().endsWith(u"reference.mkv"_s);
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(cutsStarted() >= cuts, 20000);
        QVERIFY(scans->running());
        delete scans; // as the window's view goes
        w.model.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 20000);
    }

    void realPhoneMovie()
    {
        // A phone's 4K portrait movie stored landscape, with a rotation of -90.
        const QString movie = TestMovies::mediaDirectory() + u"/portrait_4k60_rot.mp4"_s;
        if (TestMovies::systemToolsDirectory().isEmpty() || !QFileInfo::exists(movie))
            QSKIP("needs the system's ffmpeg and the real footage");
        Window w(TestMovies::systemToolsDirectory());
        w->setMaxHeight(720);
        QVERIFY(w.open(movie, 240000)); // real encodes
        // Shown upright; the measurement keeps the clip's own size.
        QVERIFY(w->original().size() == QSize(720, 1280) && w->encoded().size() == QSize(720, 1280));
        QCOMPARE(w->pixelSize(), QSizeF(720, 1280));
        QVERIFY2(w->measurement().startsWith(u"1280 × 720 · Ziel 2.00 Mbit/s · gemessen "_s),
                 qPrintable(w->measurement()));
        const QRegularExpression numbers(
            u"^Ausschnitt: SSIM 0\\.\\d{4} · PSNR \\d+\\.\\d dB · Bild: SSIM 0\\.\\d{4} · PSNR \\d+\\.\\d dB$"_s);
        QVERIFY2(numbers.match(w->quality()).hasMatch() && !w->error(), qPrintable(w->quality()));
    }
};

QTEST_MAIN(ModelTests)
#include "model_tests.moc"
