// The jobs of GlanceModel as the main window starts them (with a SettingsObserver attached), on the
// real engine over fake tools that record their calls: one render for a burst of changes, no word
// from a superseded job, and a model that goes with its window taking its jobs and work folder along.
#include "analysis/bitrate_finder.h"
#include "engine/preview_engine.h"
#include "model/scan_model.h"
#include "support/model_window.h"
#include "support/text_table.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using Window = ModelWindow;
static const auto measured = ModelWindow::measured;

class ModelJobs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Window::useDecimalComma(); }
    // Every model let go of its engine (and work folder) once its jobs had ended.
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000); }

    void secondMovieWhileBusy_data()
    {
        const auto row = table<bool>("duringComparison");
        row("during the first film's probe", false), row("during a preview of the first film", true);
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
        QCOMPARE(w->status(), Window::reading);
        const qsizetype opened = w.trace->size();
        QVERIFY(w.idle()); // only the second movie's outcome arrives
        QCOMPARE(w.trace->mid(opened),
                 QStringList({"second.mp4", Window::updating, measured(duringComparison ? "3.00" : "2.00"),
                              Window::measuring, Window::shown, Window::numbers}));
    }

    void oneRenderWithTheLastValue_data()
    {
        // Held: the changes come from a slider the mouse holds.
        const auto row = table<bool, bool, QStringList>("recompute", "held", "encodes");
        row("a burst of changes", false, false, {"4000000", "9000000"});
        row("\"Neu berechnen\" during the pause", true, false, {"3000000", "9000000"});
        row("a drag: after the release", false, true, {"4000000", "9000000"});
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
        QCOMPARE(w.ffmpegCalls(),
                 8); // each an encode, its frame, its numbers, its playback clip: the reference was reused
    }

    // On opening, a start time other than the scene time before is a change the window answers
    // with a request after the pause; coming after the open job's own, it replaces that one.
    void firstComparisonAfterOpening_data()
    {
        // The scene time before the movie (it starts at 50 s), the encodes once the engine has done what it was given.
        const auto row = table<double, QStringList>("before", "encodes");
        row("another start time: after the pause", 0, {}), row("the same start time: at once", 50, {"2000000"});
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
            QVERIFY(w->busy() && w->status() == Window::updating);
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
                 QStringList({Window::reading, "film.mp4", Window::updating, measured("3.00"), Window::measuring,
                              Window::shown, Window::numbers}));
        QCOMPARE(w.encodes(), QStringList{"3000000"}); // the first render's tool was ended
    }

    // At quit the current job is cancelled; its engine operation may have finished already, its
    // outcome on the way to the model.
    void cancelledAfterTheEngineFinished_data()
    {
        const auto row = table<bool>("render"); // or the probe
        row("probe", false), row("render", true);
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
                if (event->type() == QEvent::MetaCall && receiver->objectName() == u"GlanceModel::Job"_s && !fired)
                    fired = true, model->cancelCurrentJob();
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
        QCOMPARE(w.trace->constLast(),
                 render ? Window::updating : Window::reading); // the job wrote nothing, started nothing
        QCOMPARE(w.ffmpegCalls(), render ? 2 : 0);
        w.model.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 20000); // and let go of the engine
    }

    void releasedModelRemovesItsWorkFolder_data()
    {
        const auto row = table<bool, int>("paused", "ffmpegCalls"); // the job ends with the model: nothing follows
        row("during a render", false, 1),
            row("during the pause", true, 6); // the cut; the first render, measurement and playback clip
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

    // What a scan found stays with the bitrate and height limit it was made at: through a change of
    // the bitrate during the scan (which it does not cancel: the comparison at the new bitrate
    // follows it), a finder run that finds a bitrate (the lowest: the fake clips measure 0.951 at any
    // bitrate), one that finds none, and into another scan model without running anything.
    void scanResultsStay()
    {
        Window w;
        QVERIFY(w.open());
        w.tools.clearCalls();
        ScanModel scans(w.model.get());
        const auto ran = [&] { return QTest::qWaitFor([&] { return !scans.running(); }, 20000) && w.idle(); };
        scans.scan(4);
        w->setMbps(3);
        w->setMaxHeight(720);
        QVERIFY(ran());
        QCOMPARE(scans.scenes().size(), 4);
        QCOMPARE(w.encodes(), QStringList({"2000000", "2000000", "2000000", "2000000", "3000000"}));
        QVERIFY(!scans.error());
        const QList<SceneResult> scanned = scans.scenes();
        const auto kept = [&] {
            return scans.scenes() == scanned && scans.scenesMbps() == 2.0 && scans.scenesMaxHeight() == 0
                && !scans.scenesCurrent();
        };
        QVERIFY(kept());

        scans.findBitrate(0.95, 4);
        QVERIFY(ran());
        QVERIFY(kept() && !scans.error());
        QCOMPARE(scans.finderResult()->mbps.value_or(0), 0.3);
        QCOMPARE(w->mbps(), 0.3);
        QCOMPARE(scans.state().finderMaxHeight, qint64(720));
        QCOMPARE(scans.finderResult()->worstTried.size(), scans.finderResult()->tried.size());

        scans.findBitrate(0.96, 4);
        QVERIFY(ran());
        QVERIFY(kept());
        QVERIFY(!scans.finderResult()->mbps && !scans.finderResult()->tried.isEmpty());
        QCOMPARE(scans.error().value_or(QString()), BitrateFinder::unreachableText(0.96));

        w.tools.clearCalls();
        ScanModel restored(w.model.get());
        QSignalSpy scenes(&restored, &ScanModel::scenesChanged);
        restored.setState(scans.state());
        QVERIFY(restored.state() == scans.state());
        QCOMPARE(scenes.size(), 1);
        QVERIFY(w.tools.calls().isEmpty());

        w->openMovie(w.movie()); // another movie (here the same again) starts afresh
        QVERIFY(w.idle());
        QVERIFY(restored.state() == ScanState());
    }

    // The window closes (or the program gets SIGTERM) during a scan or the bitrate finder: the run
    // ends, and with it the model and its folder.
    void releasedDuringAScanRun_data()
    {
        const auto row = table<bool, int>("finder", "cuts"); // cuts started before the window closes
        row("scene scan", false, 1), row("finder: its scan", true, 1);
        row("finder: its search", true, 13); // the scan's twelve, then the first try
    }

    void releasedDuringAScanRun()
    {
        QFETCH(bool, finder);
        Window w;
        const QString folder = w->workDirectory();
        QVERIFY(w.open());
        w.tools.clearCalls();
        w.tools.setPrelude(u"ffmpeg"_s, u"case \"$LAST\" in *reference.mkv) sleep 0.2 ;; esac"_s);
        auto *scans = new ScanModel(w.model.get());
        finder ? scans->findBitrate(0.95) : scans->scan();
        QTRY_VERIFY_WITH_TIMEOUT(w.tools.callLetters().count('c') >= fetched<int>("cuts"), 20000); // the cuts started
        QVERIFY(scans->running());
        delete scans; // as the window's view goes
        w.model.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(folder), 20000);
    }
};

QTEST_MAIN(ModelJobs)
#include "tst_model_jobs.moc"
