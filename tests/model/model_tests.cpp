// GlanceModel driven as the main window drives it: a SettingsObserver attached, the settings
// written directly, openMovie / schedulePreview / zoomToActualPixels called. The engine is the
// real one, on fake tools (scripts that record their calls) or on the system's ffmpeg.

#include "comparison_texts.h"
#include "fake_tools.h"
#include "glance_model.h"
#include "preview_engine.h"
#include "preview_error.h"
#include "settings_observer.h"
#include "test_films.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <clocale>
#include <memory>

namespace {

constexpr int kTimeout = 20000;       // ms; fake tools answer in a fraction of that
constexpr int kRealTimeout = 240000;  // ms; real encodes

int offThreadSignals = 0;

QString tr8(const char *text) { return QString::fromUtf8(text); }

QString readingStatus() { return tr8("Videodaten werden gelesen …"); }
QString updatingStatus() { return tr8("Vorschau wird aktualisiert …"); }
QString openFailedStatus() { return tr8("Datei konnte nicht geöffnet werden."); }
QString previewFailedStatus() { return tr8("Vorschau fehlgeschlagen."); }

// What the window showed over time.
struct Trace {
    QStringList statuses;
    QStringList errors;                     // every error text that appeared
    QList<QPair<QString, QString>> shown;   // (movie path or "", measurement) at each new measurement
    QStringList movies;                     // every movie path that appeared
};

// A model as a main window holds it: with the window's reaction to settings changes.
struct Window {
    explicit Window(const QString &toolsDirectory)
        : model(GlanceModel::create(toolsDirectory)), trace(std::make_shared<Trace>())
    {
        GlanceModel *m = model.get();
        new SettingsObserver(m, m);
        for (auto signal : {&GlanceModel::movieChanged, &GlanceModel::originalChanged, &GlanceModel::encodedChanged,
                            &GlanceModel::secondsChanged, &GlanceModel::mbpsChanged, &GlanceModel::maxHeightChanged,
                            &GlanceModel::busyChanged, &GlanceModel::statusChanged, &GlanceModel::measurementChanged,
                            &GlanceModel::errorChanged, &GlanceModel::zoomChanged, &GlanceModel::panChanged,
                            &GlanceModel::previewSizeChanged, &GlanceModel::pixelSizeChanged}) {
            QObject::connect(m, signal, m, [] {
                if (QThread::currentThread() != QCoreApplication::instance()->thread())
                    ++offThreadSignals;
            });
        }
        const auto t = trace;
        QObject::connect(m, &GlanceModel::statusChanged, m, [m, t] { t->statuses << m->status(); });
        QObject::connect(m, &GlanceModel::errorChanged, m, [m, t] {
            if (m->error())
                t->errors << *m->error();
        });
        QObject::connect(m, &GlanceModel::measurementChanged, m, [m, t] {
            t->shown << qMakePair(m->movie() ? m->movie()->path() : QString(), m->measurement());
        });
        QObject::connect(m, &GlanceModel::movieChanged, m, [m, t] {
            if (m->movie())
                t->movies << m->movie()->path();
        });
    }

    GlanceModel *operator->() const { return model.get(); }

    std::shared_ptr<GlanceModel> model;
    std::shared_ptr<Trace> trace;
};

// The argument that follows `option`, or an empty text.
QString argumentAfter(const QStringList &arguments, const QString &option)
{
    const qsizetype at = arguments.indexOf(option);
    return at < 0 ? QString() : arguments.value(at + 1);
}

// A window on fake tools.
struct FakeWindow {
    FakeTools tools;
    Window window{tools.directory()};

    GlanceModel *operator->() const { return window.model.get(); }
    Trace &trace() const { return *window.trace; }
    QString film(const QString &name = QStringLiteral("film.mp4")) const { return tools.directory() + QLatin1Char('/') + name; }

    // Opens a film and waits for the outcome of its first comparison.
    bool open(const QString &name = QStringLiteral("film.mp4"))
    {
        window->openMovie(film(name));
        return QTest::qWaitFor([this] { return window->movie() && !window->busy(); }, kTimeout);
    }

    // The "-b:v" value of every encode so far.
    QStringList encodes() const
    {
        QStringList bitrates;
        for (const FakeTools::Call &call : tools.calls(QStringLiteral("ffmpeg"))) {
            if (call.args.contains(QStringLiteral("libx265")))
                bitrates << argumentAfter(call.args, QStringLiteral("-b:v"));
        }
        return bitrates;
    }
};

QString probeJsonWithDuration(const QString &duration)
{
    return FakeTools::defaultProbeJson().replace(QStringLiteral("100.000000"), duration);
}

PreviewResult result(qint64 width, qint64 height, double actualMbps, double seconds, double sampleSeconds)
{
    PreviewResult r;
    r.width = width;
    r.height = height;
    r.actualMbps = actualMbps;
    r.seconds = seconds;
    r.sampleSeconds = sampleSeconds;
    return r;
}

} // namespace

class ModelTests : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QCOMPARE(offThreadSignals, 0); // results always come back on the GUI thread
        offThreadSignals = 0;
        // Every model let go of its engine (and work folder) once its jobs had ended.
        QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, kTimeout);
    }

    // --- Start ---

    void startWithTools()
    {
        FakeWindow w;
        QVERIFY(w->hasEngine());
        QVERIFY(QFileInfo(w->workDirectory()).isDir());
        QVERIFY(!w->movie());
        QVERIFY(w->original().isNull());
        QVERIFY(w->encoded().isNull());
        QCOMPARE(w->seconds(), 60.0);
        QCOMPARE(w->mbps(), 2.0);
        QCOMPARE(w->maxHeight(), qint64(0));
        QVERIFY(!w->busy());
        QCOMPARE(w->status(), GlanceModel::startStatus());
        QCOMPARE(w->status(), tr8("Film öffnen und eine Szene auswählen."));
        QCOMPARE(w->measurement(), QString());
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->zoom(), 1.0);
        QCOMPARE(w->pan(), QSizeF(0, 0));
        QCOMPARE(w->previewSize(), QSizeF(0, 0));
        QCOMPARE(w->pixelSize(), QSizeF(0, 0));
        QVERIFY(w.tools.calls().isEmpty()); // no job at construction
    }

    void startWithoutTools()
    {
        FakeTools tools;
        tools.removeTool(QStringLiteral("ffprobe"));
        Window w(tools.directory());
        QVERIFY(!w->hasEngine());
        QCOMPARE(w->workDirectory(), QString());
        QCOMPARE(w->error(), PreviewError::toolsMissing());
        QCOMPARE(w->error(), tr8("FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen."));
        QCOMPARE(w->status(), GlanceModel::startStatus());

        // The chooser still appears; choosing a film changes nothing, and nothing renders.
        int chooserCalls = 0;
        w->setFileChooser([&] {
            ++chooserCalls;
            return std::optional<QString>(tools.directory() + QStringLiteral("/film.mp4"));
        });
        w->setMbps(3);
        w->openMovie();
        w->schedulePreview(true);
        QCOMPARE(chooserCalls, 1);
        QVERIFY(!w->busy());
        QVERIFY(!w->movie());
        QCOMPARE(w->status(), GlanceModel::startStatus());
        QCOMPARE(w->error(), PreviewError::toolsMissing());
        QVERIFY(w.trace->statuses.isEmpty());
    }

    void settingsSignalOnlyRealChanges()
    {
        FakeWindow w;
        int changes = 0;
        for (auto signal : {&GlanceModel::secondsChanged, &GlanceModel::mbpsChanged, &GlanceModel::maxHeightChanged,
                            &GlanceModel::zoomChanged, &GlanceModel::panChanged, &GlanceModel::previewSizeChanged})
            QObject::connect(w.window.model.get(), signal, [&] { ++changes; });
        w->setSeconds(60);
        w->setMbps(2);
        w->setMaxHeight(0);
        w->setZoom(1);
        w->setPan(QSizeF(0, 0));
        w->setPreviewSize(QSizeF(0, 0));
        QCOMPARE(changes, 0);
        w->setPan(QSizeF(0, 1e-12)); // no fuzzy comparison
        w->setSeconds(60.5);
        w->setMbps(3.3);
        QCOMPARE(changes, 3);
    }

    // --- Opening a film ---

    void openClearsAtOnceAndShowsTheFirstComparison()
    {
        FakeWindow w;
        w.tools.setDelay(QStringLiteral("ffprobe"), QStringLiteral("0.3"));
        QVERIFY(w.open(QStringLiteral("first.mp4")));
        w->setZoom(3);
        w->setPan(QSizeF(20, -5));
        const QSizeF pixelSize = w->pixelSize();

        w->openMovie(w.film(QStringLiteral("second.mp4")));
        QVERIFY(!w->movie());
        QVERIFY(w->original().isNull());
        QVERIFY(w->encoded().isNull());
        QCOMPARE(w->measurement(), QString());
        QCOMPARE(w->error(), std::nullopt);
        QVERIFY(w->busy());
        QCOMPARE(w->status(), readingStatus());
        QCOMPARE(w->zoom(), 3.0);               // reset only when the probe succeeds
        QCOMPARE(w->pixelSize(), pixelSize);    // kept until the new film's first comparison

        QTRY_VERIFY_WITH_TIMEOUT(w->movie(), kTimeout);
        QCOMPARE(w->zoom(), 1.0);
        QCOMPARE(w->pan(), QSizeF(0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->movie()->path(), w.film(QStringLiteral("second.mp4")));
        QCOMPARE(w->movie()->duration, 100.0);
        QVERIFY(!w->original().isNull());
        QVERIFY(!w->encoded().isNull());
        QCOMPARE(w->pixelSize(), QSizeF(1920, 1080));
        QCOMPARE(w->measurement(), tr8("1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s"));
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"));
        QCOMPARE(w->error(), std::nullopt);
        const QStringList expected{readingStatus(), updatingStatus(),
                                   tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert")};
        QCOMPARE(w.trace().statuses.mid(w.trace().statuses.size() - 3), expected);
    }

    void openStartTime_data()
    {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<double>("seconds");
        QTest::newRow("30 s film: the middle") << "30.000000" << 15.0;
        QTest::newRow("2 h film: at most 60 s") << "7200.000000" << 60.0;
        QTest::newRow("0.5 s film") << "0.500000" << 0.25;
    }

    void openStartTime()
    {
        QFETCH(QString, duration);
        QFETCH(double, seconds);
        FakeWindow w;
        w.tools.setProbeJson(probeJsonWithDuration(duration));
        QVERIFY(w.open());
        QCOMPARE(w->seconds(), seconds);
        QCOMPARE(w->error(), std::nullopt);
        QVERIFY(w->status().startsWith(tr8("Vergleich bei ")));
        QCOMPARE(w.encodes(), QStringList{QStringLiteral("2000000")}); // one render, whatever the start time
    }

    void rejectedFilmKeepsTheSettings()
    {
        FakeWindow w;
        w.tools.setProbeJson(FakeTools::defaultProbeJson().replace(
            QStringLiteral(R"("field_order")"), QStringLiteral(R"("color_transfer":"smpte2084","field_order")")));
        w->setMbps(5);
        w->setMaxHeight(720);
        w->setZoom(2);
        w->setPan(QSizeF(4, 4));
        w->openMovie(w.film());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->error(), PreviewError::hdrNotSupported());
        QCOMPARE(w->status(), openFailedStatus());
        QVERIFY(!w->movie());
        QVERIFY(w->original().isNull());
        QVERIFY(w->encoded().isNull());
        QCOMPARE(w->measurement(), QString());
        QCOMPARE(w->mbps(), 5.0);
        QCOMPARE(w->maxHeight(), qint64(720));
        QCOMPARE(w->zoom(), 2.0);
        QCOMPARE(w->pan(), QSizeF(4, 4));
        QVERIFY(w.tools.calls(QStringLiteral("ffmpeg")).isEmpty());
    }

    void fileChooser()
    {
        FakeWindow w;
        std::optional<QString> choice;
        w->setFileChooser([&] { return choice; });
        w->openMovie(); // cancelled: nothing changes
        QVERIFY(w.trace().statuses.isEmpty());
        QVERIFY(w.tools.calls().isEmpty());

        choice = w.film();
        w->openMovie();
        QCOMPARE(w->status(), readingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);
        QCOMPARE(w->movie()->path(), w.film());

        // Cancelling the chooser while a preview is computed leaves that preview running.
        w.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("0.2"));
        w->setMbps(4);
        QVERIFY(w->busy());
        choice.reset();
        w->openMovie();
        QVERIFY(w->busy());
        QCOMPARE(w->status(), updatingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QVERIFY(w->measurement().contains(tr8("Ziel 4.00 Mbit/s")));
    }

    void secondFilmDuringTheProbe()
    {
        FakeWindow w;
        w.tools.setDelay(QStringLiteral("ffprobe"), QStringLiteral("0.3"));
        w->openMovie(w.film(QStringLiteral("first.mp4")));
        QTRY_VERIFY_WITH_TIMEOUT(!w.tools.calls(QStringLiteral("ffprobe")).isEmpty(), kTimeout);
        w->openMovie(w.film(QStringLiteral("second.mp4")));
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);
        QCOMPARE(w.trace().movies, QStringList{w.film(QStringLiteral("second.mp4"))});
        QCOMPARE(w.trace().errors, QStringList());
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"));
        QCOMPARE(w.encodes().size(), 1);
    }

    void filmChosenDuringAPreview()
    {
        FakeWindow w;
        QVERIFY(w.open(QStringLiteral("first.mp4")));
        w.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("0.3"));
        w.tools.clearCalls();
        w->setMbps(3);
        QTRY_VERIFY_WITH_TIMEOUT(!w.tools.calls(QStringLiteral("ffmpeg")).isEmpty(), kTimeout); // the encode runs
        const int shownBefore = w.trace().shown.size();

        w->openMovie(w.film(QStringLiteral("second.mp4")));
        QVERIFY(w->original().isNull());
        QVERIFY(w->encoded().isNull());
        QCOMPARE(w->measurement(), QString());
        QCOMPARE(w->status(), readingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);

        // The first film's result never reached the window: every measurement shown since
        // belongs to the second film (or is the clearing).
        const auto shown = w.trace().shown.mid(shownBefore);
        QCOMPARE(shown.first(), qMakePair(QString(), QString()));
        for (const auto &entry : shown.mid(1))
            QCOMPARE(entry.first, w.film(QStringLiteral("second.mp4")));
        QCOMPARE(w->measurement(), tr8("1920 × 1080 · Ziel 3.00 Mbit/s · gemessen 2.37 Mbit/s"));
    }

    void schedulePreviewWithoutAFilmDoesNothing()
    {
        FakeWindow w;
        w->schedulePreview(true);
        w->schedulePreview(false);
        QVERIFY(!w->busy());
        QVERIFY(w.trace().statuses.isEmpty());

        // Nor does it touch a running open job.
        w.tools.setDelay(QStringLiteral("ffprobe"), QStringLiteral("0.3"));
        w->openMovie(w.film());
        w->schedulePreview(true);
        w->setMbps(5);
        QCOMPARE(w->status(), readingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);
        QCOMPARE(w.encodes(), QStringList{QStringLiteral("5000000")});
    }

    // --- Scheduling previews ---

    void burstOfBitrateChangesRendersOnceWithTheLastValue()
    {
        FakeWindow w;
        QVERIFY(w.open());
        w.tools.clearCalls();
        for (int tenths = 21; tenths <= 40; ++tenths)
            w->setMbps(tenths / 10.0);
        QElapsedTimer sinceLastChange;
        sinceLastChange.start();
        QVERIFY(w->busy());
        QCOMPARE(w->status(), updatingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QVERIFY(sinceLastChange.elapsed() >= 550);
        QCOMPARE(w.encodes(), QStringList{QStringLiteral("4000000")});
        QCOMPARE(w.tools.calls(QStringLiteral("ffmpeg")).size(), 2); // the reference clip was reused
        QCOMPARE(w->measurement(), tr8("1920 × 1080 · Ziel 4.00 Mbit/s · gemessen 2.37 Mbit/s"));
    }

    void recomputeDuringThePause()
    {
        FakeWindow w;
        w->setPreviewPauseMs(300);
        QVERIFY(w.open());
        w.tools.clearCalls();
        w->setMbps(3);
        w->schedulePreview(true); // "Neu berechnen"
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QTest::qWait(600); // twice the pause: the paused job must not render after all
        QCOMPARE(w.encodes(), QStringList{QStringLiteral("3000000")});
        QVERIFY(!w->busy());
    }

    void changeDuringARenderDiscardsItsResult()
    {
        FakeWindow w;
        const QString spans = w.tools.directory() + QStringLiteral("/spans");
        w.tools.setPrelude(QStringLiteral("ffmpeg"),
                           QStringLiteral("echo begin >> '%1'; trap \"echo end >> '%1'\" EXIT; sleep 0.3").arg(spans));
        w->openMovie(w.film());
        QTRY_VERIFY_WITH_TIMEOUT(!w.tools.calls(QStringLiteral("ffmpeg")).isEmpty(), kTimeout);
        w->setSeconds(20); // while the first render's reference cut runs
        QCOMPARE(w->status(), updatingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);

        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:20 · 3.0 s wirklich kodiert"));
        for (const QString &status : w.trace().statuses)
            QVERIFY2(!status.contains(QStringLiteral("00:00:50")), qPrintable(status));
        // The tools never overlapped: the new render started after the old one had left.
        QFile file(spans);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i], i % 2 ? QStringLiteral("end") : QStringLiteral("begin"));
        // The old render stopped at a tool boundary; the new one ran whole from its own cut.
        QStringList cuts;
        for (const FakeTools::Call &call : w.tools.calls(QStringLiteral("ffmpeg")))
            cuts << argumentAfter(call.args, QStringLiteral("-ss"));
        QCOMPARE(cuts.first(), QStringLiteral("49.0"));
        QVERIFY(cuts.size() >= 5);
        const QStringList expected{QStringLiteral("19.0"), QString(), QString(), QString()};
        QCOMPARE(cuts.mid(cuts.size() - 4), expected);
    }

    void failedPreviewKeepsTheLastComparison()
    {
        FakeWindow w;
        QVERIFY(w.open());
        const QImage original = w->original();
        const QImage encoded = w->encoded();
        const QString measurement = w->measurement();

        w.tools.setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo 'Encoder kaputt' >&2\nexit 1\n"));
        w->setMbps(3);
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->error(), QStringLiteral("Encoder kaputt\n"));
        QCOMPARE(w->status(), previewFailedStatus());
        QCOMPARE(w->original(), original);
        QCOMPARE(w->encoded(), encoded);
        QCOMPARE(w->measurement(), measurement);
        QCOMPARE(w->pixelSize(), QSizeF(1920, 1080));

        // The next request clears the message at once.
        w.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("0"));
        w->setMbps(4);
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->status(), updatingStatus());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->measurement(), tr8("1920 × 1080 · Ziel 4.00 Mbit/s · gemessen 2.37 Mbit/s"));
    }

    void supersededJobIsSilentWhateverItsEnding()
    {
        // A job that is superseded while it waits in the engine and then fails with an error of
        // its own (not the cancellation) must not show that error beside the newer job's work.
        FakeWindow w;
        w.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("0.3"));
        w->openMovie(w.film());
        QTRY_VERIFY_WITH_TIMEOUT(!w.tools.calls(QStringLiteral("ffmpeg")).isEmpty(), kTimeout);
        w->setMbps(0.1);           // out of range: the engine refuses it before looking at cancellation
        w->schedulePreview(true);  // queued behind the running render
        w->setMbps(3);             // supersedes it while it waits
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w.trace().errors, QStringList());
        QVERIFY(!w.trace().statuses.contains(previewFailedStatus()));
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->measurement(), tr8("1920 × 1080 · Ziel 3.00 Mbit/s · gemessen 2.37 Mbit/s"));
        QCOMPARE(w.encodes().last(), QStringLiteral("3000000"));
        QVERIFY(!w.encodes().contains(QStringLiteral("100000")));
    }

    void undecodableFrameStillCountsAsSuccess()
    {
        FakeWindow w;
        w.tools.setPrelude(QStringLiteral("ffmpeg"),
                           QStringLiteral(R"(case "$LAST" in *encoded.png) echo kein Bild > "$LAST"; exit 0 ;; esac)"));
        QVERIFY(w.open());
        QCOMPARE(w->error(), std::nullopt);
        QVERIFY(!w->original().isNull());
        QVERIFY(w->encoded().isNull());
        QCOMPARE(w->pixelSize(), QSizeF(1920, 1080));
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"));
    }

    void heightLimitResetsZoomAndPanBitrateKeepsThem()
    {
        FakeWindow w;
        QVERIFY(w.open());
        w->setZoom(4);
        w->setPan(QSizeF(12, 8));
        w->setMbps(3);
        QCOMPARE(w->zoom(), 4.0);
        QCOMPARE(w->pan(), QSizeF(12, 8));
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->zoom(), 4.0);

        w.tools.setReferenceSize(1280, 720);
        w->setMaxHeight(720);
        QCOMPARE(w->zoom(), 1.0);
        QCOMPARE(w->pan(), QSizeF(0, 0));
        QVERIFY(w->busy());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QCOMPARE(w->pixelSize(), QSizeF(1280, 720));
        const QList<FakeTools::Call> calls = w.tools.calls(QStringLiteral("ffmpeg"));
        QCOMPARE(calls.size(), 10); // first render, the encode and its frame, then a whole new render
        QVERIFY(calls[6].args.contains(QStringLiteral("scale=-2:min(ih\\,720),setsar=1,format=yuv420p")));

        // Writing the values they already have requests nothing.
        const int statuses = w.trace().statuses.size();
        w->setMaxHeight(720);
        w->setMbps(3);
        QVERIFY(!w->busy());
        QCOMPARE(w.trace().statuses.size(), statuses);
    }

    // --- Texts ---

    void timeText_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0.0 << "00:00:00";
        QTest::newRow("59.5 rounds up") << 59.5 << "00:01:00";
        QTest::newRow("61.2") << 61.2 << "00:01:01";
        QTest::newRow("3600") << 3600.0 << "01:00:00";
        QTest::newRow("-3") << -3.0 << "00:00:00";
        QTest::newRow("-0.5") << -0.5 << "00:00:00";
        QTest::newRow("100 h and 0.4 s") << 360000.4 << "100:00:00";
        QTest::newRow("2.5 away from zero") << 2.5 << "00:00:03";
        QTest::newRow("3599.49") << 3599.49 << "00:59:59";
    }

    void timeText()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(::timeText(seconds), text);
    }

    void measurementAndStatusTexts()
    {
        QCOMPARE(measurementText(2, result(1920, 1080, 2.37, 0, 3)),
                 tr8("1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s"));
        QCOMPARE(measurementText(2, result(1920, 1080, 2.5, 0, 3)),
                 tr8("1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.50 Mbit/s"));
        QCOMPARE(measurementText(3.3, result(1280, 720, 0, 0, 3)),
                 tr8("1280 × 720 · Ziel 3.30 Mbit/s · gemessen 0.00 Mbit/s"));
        QCOMPARE(measurementText(20, result(3840, 2160, 1234.5678, 0, 3)),
                 tr8("3840 × 2160 · Ziel 20.00 Mbit/s · gemessen 1234.57 Mbit/s"));
        QCOMPARE(comparisonStatusText(result(1920, 1080, 2, 59.96, 3)),
                 tr8("Vergleich bei 00:01:00 · 3.0 s wirklich kodiert"));
        // printf's rounding of the exact binary value: exact ties go to even.
        QCOMPARE(comparisonStatusText(result(1920, 1080, 2, 1, 2.25)),
                 tr8("Vergleich bei 00:00:01 · 2.2 s wirklich kodiert"));
        QVERIFY(measurementText(0.3, result(1, 1, 0.125, 0, 3)).endsWith(tr8("Ziel 0.30 Mbit/s · gemessen 0.12 Mbit/s")));
    }

    void textsIgnoreTheUserLocale()
    {
        const QLocale previousLocale;
        const QByteArray previousC = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8"); // where the system has it
        const QString measurement = measurementText(3.3, result(1920, 1080, 2.37, 0, 3));
        const QString status = comparisonStatusText(result(1920, 1080, 2, 3600.4, 3));
        std::setlocale(LC_ALL, previousC.constData());
        QLocale::setDefault(previousLocale);
        QCOMPARE(measurement, tr8("1920 × 1080 · Ziel 3.30 Mbit/s · gemessen 2.37 Mbit/s"));
        QCOMPARE(status, tr8("Vergleich bei 01:00:00 · 3.0 s wirklich kodiert"));
    }

    // --- Zoom and pan ---

    void zoomToActualPixels_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSizeF>("pane");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("zoom");
        QTest::newRow("1080p in 640x360, scale 2") << QSize(1920, 1080) << QSizeF(640, 360) << 2.0 << 1.5;
        QTest::newRow("1080p in 640x360, scale 1") << QSize(1920, 1080) << QSizeF(640, 360) << 1.0 << 3.0;
        QTest::newRow("720p in 1280x720, scale 2") << QSize(1280, 720) << QSizeF(1280, 720) << 2.0 << 0.5;
        QTest::newRow("720p in 1280x720, scale 1") << QSize(1280, 720) << QSizeF(1280, 720) << 1.0 << 1.0;
        QTest::newRow("2160p in 200x100: at most 16") << QSize(3840, 2160) << QSizeF(200, 100) << 1.0 << 16.0;
        QTest::newRow("tiny frame in a large pane: at least 0.25") << QSize(100, 100) << QSizeF(1000, 1000) << 1.0 << 0.25;
        QTest::newRow("primary screen (offscreen: 1)") << QSize(1920, 1080) << QSizeF(640, 360) << 0.0 << 3.0;
    }

    void zoomToActualPixels()
    {
        QFETCH(QSize, frame);
        QFETCH(QSizeF, pane);
        QFETCH(double, scale);
        QFETCH(double, zoom);
        FakeWindow w;
        w.tools.setReferenceSize(frame.width(), frame.height());
        if (scale > 0)
            w->setScreenScale([scale] { return scale; });
        QVERIFY(w.open());
        w->setPreviewSize(pane);
        w->setPan(QSizeF(30, -10));
        w->zoomToActualPixels();
        QCOMPARE(w->zoom(), zoom);
        QCOMPARE(w->pan(), QSizeF(0, 0));
    }

    void zoomToActualPixelsNeedsAPaneAndAComparison()
    {
        FakeWindow w;
        w->setScreenScale([] { return 1.0; });
        w->setZoom(2.5);
        w->setPan(QSizeF(3, 4));
        w->setPreviewSize(QSizeF(640, 360));
        w->zoomToActualPixels(); // no comparison yet
        QCOMPARE(w->zoom(), 2.5);
        QCOMPARE(w->pan(), QSizeF(3, 4));

        QVERIFY(w.open());
        w->setPreviewSize(QSizeF(0, 0));
        w->setZoom(2.5);
        w->setPan(QSizeF(3, 4));
        w->zoomToActualPixels(); // no pane size
        QCOMPARE(w->zoom(), 2.5);
        QCOMPARE(w->pan(), QSizeF(3, 4));

        // The pan goes back even when the zoom stays.
        w->setPreviewSize(QSizeF(640, 360));
        w->setZoom(3);
        w->zoomToActualPixels();
        QCOMPARE(w->zoom(), 3.0);
        QCOMPARE(w->pan(), QSizeF(0, 0));

        // A newly opened film with another size: the old frame size counts until its first comparison.
        w.tools.setReferenceSize(1280, 720);
        w.tools.setDelay(QStringLiteral("ffprobe"), QStringLiteral("0.3"));
        w->openMovie(w.film(QStringLiteral("other.mp4")));
        w->zoomToActualPixels();
        QCOMPARE(w->zoom(), 3.0);
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);
        w->zoomToActualPixels();
        QCOMPARE(w->zoom(), 2.0);
    }

    // --- Lifetime ---

    void releasedModelRemovesItsWorkFolderAtOnce()
    {
        FakeTools tools;
        const int engines = PreviewEngine::liveCount();
        auto model = GlanceModel::create(tools.directory());
        const QString folder = model->workDirectory();
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(PreviewEngine::liveCount(), engines + 1);
        model.reset();
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(PreviewEngine::liveCount(), engines);
    }

    void runningJobKeepsTheModelUntilItEnds()
    {
        FakeTools tools;
        tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("0.2"));
        Window w(tools.directory());
        const QString folder = w->workDirectory();
        const std::weak_ptr<GlanceModel> weak = w.model;
        w->openMovie(tools.directory() + QStringLiteral("/film.mp4"));
        QTRY_VERIFY_WITH_TIMEOUT(!tools.calls(QStringLiteral("ffmpeg")).isEmpty(), kTimeout);
        w.model.reset(); // the window closes while the render runs
        QVERIFY(!weak.expired());
        QVERIFY(QFileInfo(folder).isDir());
        QTRY_VERIFY_WITH_TIMEOUT(weak.expired(), kTimeout);
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(tools.calls(QStringLiteral("ffmpeg")).size(), 4); // the render ran to its end
        QCOMPARE(w.trace->statuses.last(), tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"));
    }

    void pausedJobKeepsTheModelUntilItEnds()
    {
        FakeTools tools;
        Window w(tools.directory());
        const QString folder = w->workDirectory();
        const std::weak_ptr<GlanceModel> weak = w.model;
        w->openMovie(tools.directory() + QStringLiteral("/film.mp4"));
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kTimeout);
        w->setMbps(3);
        w.model.reset(); // during the pause
        QVERIFY(!weak.expired());
        QTRY_VERIFY_WITH_TIMEOUT(weak.expired(), kTimeout);
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(tools.calls(QStringLiteral("ffmpeg")).size(), 6); // first render, then the encode and its frame
    }

    // --- Real ffmpeg ---

    void realToolsCompareASampleFilm()
    {
        const QString tools = TestFilms::systemToolsDirectory();
        if (tools.isEmpty())
            QSKIP("the system has no ffmpeg");
        const QString film = TestFilms::sampleFilm(640, 360, 25, 4);
        QVERIFY(!film.isEmpty());
        Window w(tools);
        const QString folder = w->workDirectory();
        w->openMovie(film);
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), kRealTimeout);
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->seconds(), 2.0);
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:02 · 3.0 s wirklich kodiert"));
        QVERIFY2(w->measurement().startsWith(tr8("640 × 360 · Ziel 2.00 Mbit/s · gemessen ")),
                 qPrintable(w->measurement()));
        QCOMPARE(w->original().size(), QSize(640, 360));
        QCOMPARE(w->encoded().size(), QSize(640, 360));
        QCOMPARE(w->pixelSize(), QSizeF(640, 360));

        w->setZoom(4);
        w->setMaxHeight(240);
        QCOMPARE(w->zoom(), 1.0);
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kRealTimeout);
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->pixelSize().height(), 240.0);
        QCOMPARE(QSizeF(w->original().size()), w->pixelSize());
        QCOMPARE(QSizeF(w->encoded().size()), w->pixelSize());

        w.model.reset();
        QVERIFY(!QFileInfo::exists(folder));
    }

    void realToolsRejectAFileThatIsNoFilm()
    {
        const QString tools = TestFilms::systemToolsDirectory();
        if (tools.isEmpty())
            QSKIP("the system has no ffmpeg");
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("kein Film.mp4")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Das ist kein Film.\n");
        file.close();
        Window w(tools);
        w->openMovie(file.fileName());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kRealTimeout);
        QVERIFY(w->error() && !w->error()->isEmpty());
        QCOMPARE(w->status(), openFailedStatus());
        QVERIFY(!w->movie());
    }
};

QTEST_MAIN(ModelTests)
#include "model_tests.moc"
