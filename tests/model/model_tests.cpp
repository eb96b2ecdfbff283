// GlanceModel driven as the main window drives it, with a SettingsObserver attached, on the real
// engine: on fake tools (scripts that record their calls) or on the system's ffmpeg.

#include "comparison_texts.h"
#include "fake_tools.h"
#include "glance_model.h"
#include "preview_engine.h"
#include "preview_error.h"
#include "settings_observer.h"
#include "test_films.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <algorithm>
#include <clocale>

namespace {

constexpr int kTimeout = 20000; // ms; fake tools answer in a fraction of that

QString tr8(const char *text)
{
    return QString::fromUtf8(text);
}

const QString kReading = tr8("Videodaten werden gelesen …");
const QString kUpdating = tr8("Vorschau wird aktualisiert …");

QString measured(const char *target)
{
    return tr8("1920 × 1080 · Ziel %1 Mbit/s · gemessen 2.37 Mbit/s").arg(target);
}

// A model as a main window holds it (with the window's reaction to settings changes), on fake
// tools unless another tools folder is given, and what it showed over time.
struct FakeWindow {
    struct Trace {
        QStringList statuses;
        QStringList errors;                   // every error text that appeared
        QList<QPair<QString, QString>> shown; // (movie path or "", measurement) at each change of either
    };
    FakeTools tools;
    std::shared_ptr<GlanceModel> model;
    std::shared_ptr<Trace> trace = std::make_shared<Trace>(); // outlives this when a job holds the model

    explicit FakeWindow(const QString &toolsDirectory = {})
        : model(GlanceModel::create(toolsDirectory.isEmpty() ? tools.directory() : toolsDirectory))
    {
        GlanceModel *m = model.get();
        new SettingsObserver(m, m);
        const auto t = trace;
        QObject::connect(m, &GlanceModel::statusChanged, m, [m, t] { t->statuses << m->status(); });
        QObject::connect(m, &GlanceModel::errorChanged, m, [m, t] {
            if (m->error())
                t->errors << *m->error();
        });
        for (auto signal : {&GlanceModel::movieChanged, &GlanceModel::measurementChanged})
            QObject::connect(m, signal, m, [m, t] {
                t->shown << qMakePair(m->movie() ? m->movie()->path() : QString(), m->measurement());
            });
    }

    GlanceModel *operator->() const { return model.get(); }
    QString film(const char *name = "film.mp4") const { return tools.directory() + QLatin1Char('/') + name; }
    void delay(const char *tool, const char *seconds) { tools.setDelay(QLatin1String(tool), QLatin1String(seconds)); }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return model->movie() && !model->busy(); }, kTimeout);
    }
    bool started(const char *t) const
    {
        return QTest::qWaitFor([&] { return !tools.calls(t).empty(); }, kTimeout);
    }
    // Opens a film and waits for the outcome of its first comparison.
    bool open(const char *name = "film.mp4") { return model->openMovie(film(name)), idle(); }
    // The value after `option` in every ffmpeg call, or only in the encodes.
    QStringList ffmpegArguments(const char *option, bool encodesOnly = true) const
    {
        QStringList values;
        for (const FakeTools::Call &call : tools.calls(QStringLiteral("ffmpeg"))) {
            const qsizetype at = call.args.indexOf(QLatin1String(option));
            if (!encodesOnly || call.args.contains(QStringLiteral("libx265")))
                values << (at < 0 ? QString() : call.args.value(at + 1));
        }
        return values;
    }
    QStringList encodes() const { return ffmpegArguments("-b:v"); }
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
        QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, kTimeout);
    }

    void start_data()
    {
        QTest::addColumn<bool>("withTools");
        QTest::newRow("with tools") << true;
        QTest::newRow("without ffprobe") << false;
    }

    void start()
    {
        QFETCH(bool, withTools);
        FakeTools noProbe;
        noProbe.removeTool(QStringLiteral("ffprobe"));
        FakeWindow w(withTools ? QString() : noProbe.directory());
        QCOMPARE(QFileInfo(w->workDirectory()).isDir(), withTools);
        QVERIFY(!w->movie() && w->original().isNull() && w->encoded().isNull() && !w->busy());
        QCOMPARE(w->error(), withTools ? std::nullopt : std::optional(PreviewError::toolsMissing()));
        QVERIFY(w.tools.calls().isEmpty() && noProbe.calls().isEmpty()); // no job at construction
        if (withTools)
            return;
        // Without tools opening a film changes nothing, and nothing renders.
        w->setMbps(3);
        w->openMovie(w.film());
        w->schedulePreview(true);
        QVERIFY(!w->busy() && !w->movie());
        QCOMPARE(w->error(), PreviewError::toolsMissing());
        QVERIFY(w.trace->statuses.isEmpty());
    }

    void openOutcome_data()
    {
        QTest::addColumn<QString>("probeJson");
        QTest::addColumn<double>("seconds"); // the start time
        QTest::addColumn<QString>("error");
        const QString film = FakeTools::defaultProbeJson();
        const QString hdr = QString(film).replace(QStringLiteral(R"("field_order")"),
                                                  QStringLiteral(R"("color_transfer":"smpte2084","field_order")"));
        QTest::newRow("30 s film: the middle") << QString(film).replace("100.000000", "30.000000") << 15.0 << "";
        QTest::newRow("2 h film: at most 60 s") << QString(film).replace("100.000000", "7200.000000") << 60.0 << "";
        QTest::newRow("0.5 s film") << QString(film).replace("100.000000", "0.500000") << 0.25 << "";
        QTest::newRow("rejected: HDR") << hdr << 0.0 << PreviewError::hdrNotSupported();
    }

    void openOutcome()
    {
        QFETCH(QString, probeJson);
        QFETCH(QString, error);
        FakeWindow w;
        w.tools.setProbeJson(probeJson);
        w->setMbps(5);
        w->setMaxHeight(720);
        w->openMovie(w.film());
        QTRY_VERIFY_WITH_TIMEOUT(!w->busy(), kTimeout);
        QVERIFY(w->mbps() == 5.0 && w->maxHeight() == 720); // the settings stay, whatever the outcome
        if (error.isEmpty()) {
            QTEST(w->seconds(), "seconds");
            QCOMPARE(w->error(), std::nullopt);
        } else {
            QCOMPARE(w->error(), error);
            QCOMPARE(w->status(), tr8("Datei konnte nicht geöffnet werden."));
            QVERIFY(!w->movie() && w->original().isNull());
        }
        QCOMPARE(w.encodes(), error.isEmpty() ? QStringList{"5000000"} : QStringList()); // one render at most
    }

    void secondFilmWhileBusy_data()
    {
        QTest::addColumn<bool>("duringPreview");
        QTest::newRow("during the first film's probe") << false;
        QTest::newRow("during a preview of the first film") << true;
    }

    void secondFilmWhileBusy()
    {
        QFETCH(bool, duringPreview);
        FakeWindow w;
        if (duringPreview) {
            QVERIFY(w.open("first.mp4"));
            w.tools.clearCalls();
            w.delay("ffmpeg", "0.3");
            w->setMbps(3);
        } else {
            w.delay("ffprobe", "0.3");
            w->openMovie(w.film("first.mp4"));
        }
        QVERIFY(w.started(duringPreview ? "ffmpeg" : "ffprobe"));
        const qsizetype shownBefore = w.trace->shown.size();

        w->openMovie(w.film("second.mp4")); // clears at once
        QVERIFY(!w->movie() && w->original().isNull() && w->encoded().isNull() && w->measurement().isEmpty());
        QCOMPARE(w->status(), kReading);
        QVERIFY(w.idle());
        // Only the second film's outcome arrived (or the clearing).
        QVERIFY(std::all_of(w.trace->shown.begin() + shownBefore, w.trace->shown.end(), [&](const auto &shown) {
            return shown.first.isEmpty() || shown.first == w.film("second.mp4");
        }));
        QCOMPARE(w.trace->errors, QStringList());
        QCOMPARE(w->measurement(), measured(duringPreview ? "3.00" : "2.00"));
        QCOMPARE(w.trace->statuses.mid(w.trace->statuses.size() - 3),
                 QStringList({kReading, kUpdating, tr8("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert")}));
    }

    void oneRenderWithTheLastValue_data()
    {
        QTest::addColumn<bool>("recompute");
        QTest::addColumn<QStringList>("encodes");
        QTest::newRow("a burst of changes") << false << QStringList{"4000000"};
        QTest::newRow("\"Neu berechnen\" during the pause") << true << QStringList{"3000000"};
    }

    void oneRenderWithTheLastValue()
    {
        QFETCH(bool, recompute);
        FakeWindow w;
        w->setPreviewPauseMs(300);
        QVERIFY(w.open());
        w.tools.clearCalls();
        for (int tenths = 21; tenths <= (recompute ? 30 : 40); ++tenths)
            w->setMbps(tenths / 10.0);
        if (recompute)
            w->schedulePreview(true);
        QVERIFY(w.idle());
        QTest::qWait(600); // twice the pause: no paused job renders after all
        QVERIFY(!w->busy());
        QTEST(w.encodes(), "encodes");
        QCOMPARE(w.tools.calls(QStringLiteral("ffmpeg")).size(), 2); // the reference clip was reused
    }

    void changeDuringARenderDiscardsItsResult()
    {
        FakeWindow w;
        const QString spans = w.tools.directory() + QStringLiteral("/spans");
        w.tools.setPrelude(QStringLiteral("ffmpeg"),
                           QStringLiteral("echo begin >> '%1'; trap \"echo end >> '%1'\" EXIT; sleep 0.3").arg(spans));
        w->openMovie(w.film());
        QVERIFY(w.started("ffmpeg"));
        w->setSeconds(20); // while the first render's reference cut runs
        QCOMPARE(w->status(), kUpdating);
        QVERIFY(w.idle());
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:20 · 3.0 s wirklich kodiert"));
        for (const QString &status : w.trace->statuses)
            QVERIFY2(!status.contains(QStringLiteral("00:00:50")), qPrintable(status));
        // The tools never overlapped: the new render started after the old one had left.
        QFile file(spans);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString lines = QString::fromUtf8(file.readAll());
        QCOMPARE(lines, QStringLiteral("begin\nend\n").repeated(std::max<qsizetype>(2, lines.count(u"begin"))));
        // The old render stopped at a tool boundary; the new one ran whole from its own cut.
        const QStringList cuts = w.ffmpegArguments("-ss", false);
        QCOMPARE(cuts.first(), QStringLiteral("49.0"));
        QCOMPARE(cuts.mid(cuts.size() - 4), QStringList({QStringLiteral("19.0"), QString(), QString(), QString()}));
    }

    void failedPreviewKeepsTheLastComparison()
    {
        FakeWindow w;
        QVERIFY(w.open());
        const QImage encoded = w->encoded();
        w.tools.setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo 'Encoder kaputt' >&2\nexit 1\n"));
        w->setMbps(3);
        QVERIFY(w.idle());
        QCOMPARE(w->error(), QStringLiteral("Encoder kaputt\n"));
        QCOMPARE(w->status(), tr8("Vorschau fehlgeschlagen."));
        QCOMPARE(w->encoded(), encoded);
        QCOMPARE(w->measurement(), measured("2.00"));

        // The next request clears the message at once.
        w.delay("ffmpeg", "0");
        w->setMbps(4);
        QCOMPARE(w->error(), std::nullopt);
        QVERIFY(w.idle());
        QCOMPARE(w->measurement(), measured("4.00"));
    }

    void supersededJobIsSilentWhateverItsEnding()
    {
        // A job superseded while it waits in the engine must not show its own (non-cancel) error.
        FakeWindow w;
        w.delay("ffmpeg", "0.3");
        w->openMovie(w.film());
        QVERIFY(w.started("ffmpeg"));
        w->setMbps(0.1);          // out of range: the engine refuses it before looking at cancellation
        w->schedulePreview(true); // queued behind the running render
        w->setMbps(3);            // supersedes it while it waits
        QVERIFY(w.idle());
        QCOMPARE(w.trace->errors, QStringList());
        QCOMPARE(w->measurement(), measured("3.00"));
        QVERIFY(!w.encodes().contains(QStringLiteral("100000")));
    }

    void timeText_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("59.5 rounds up") << 59.5 << "00:01:00";
        QTest::newRow("-0.5") << -0.5 << "00:00:00";
        QTest::newRow("100 h and 0.4 s") << 360000.4 << "100:00:00";
        QTest::newRow("2.5 away from zero") << 2.5 << "00:00:03";
    }

    void timeText()
    {
        QFETCH(double, seconds);
        QTEST(::timeText(seconds), "text");
    }

    void comparisonTexts_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<PreviewResult>("result");
        QTest::addColumn<QString>("measurement");
        QTest::addColumn<QString>("status"); // between "Vergleich bei" and "wirklich kodiert"
        QTest::newRow("3.3 target, nothing measured")
            << 3.3 << PreviewResult{{}, {}, 1280, 720, 0, 59.96, 3}
            << tr8("1280 × 720 · Ziel 3.30 Mbit/s · gemessen 0.00 Mbit/s") << tr8("00:01:00 · 3.0 s");
        // printf's rounding of the exact binary value: exact ties go to even.
        QTest::newRow("rounding ties") << 0.3 << PreviewResult{{}, {}, 1, 1, 0.125, 1, 2.25}
                                       << tr8("1 × 1 · Ziel 0.30 Mbit/s · gemessen 0.12 Mbit/s")
                                       << tr8("00:00:01 · 2.2 s");
        QTest::newRow("hours") << 3.3 << PreviewResult{{}, {}, 1920, 1080, 2.37, 3600.4, 3}
                               << tr8("1920 × 1080 · Ziel 3.30 Mbit/s · gemessen 2.37 Mbit/s")
                               << tr8("01:00:00 · 3.0 s");
    }

    void comparisonTexts() // under the decimal-comma locale set for the whole suite
    {
        QFETCH(double, target);
        QFETCH(PreviewResult, result);
        QFETCH(QString, status);
        QTEST(measurementText(target, result), "measurement");
        QCOMPARE(comparisonStatusText(result), tr8("Vergleich bei %1 wirklich kodiert").arg(status));
    }

    void zoomToActualPixels_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSizeF>("pane");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("zoom");
        QTest::newRow("1080p in 640x360, scale 2") << QSize(1920, 1080) << QSizeF(640, 360) << 2.0 << 1.5;
        QTest::newRow("720p in 1280x720, scale 2") << QSize(1280, 720) << QSizeF(1280, 720) << 2.0 << 0.5;
        QTest::newRow("2160p in 200x100: at most 16") << QSize(3840, 2160) << QSizeF(200, 100) << 1.0 << 16.0;
        QTest::newRow("tiny frame, large pane: at least 0.25") << QSize(100, 100) << QSizeF(1000, 1000) << 1.0 << 0.25;
        QTest::newRow("no ratio handed in: 1") << QSize(1920, 1080) << QSizeF(640, 360) << 0.0 << 3.0;
        QTest::newRow("no pane size: unchanged") << QSize(1920, 1080) << QSizeF(0, 0) << 1.0 << 2.5;
    }

    void zoomToActualPixels()
    {
        QFETCH(QSize, frame);
        QFETCH(QSizeF, pane);
        QFETCH(double, scale);
        FakeWindow w;
        w.tools.setReferenceSize(frame.width(), frame.height());
        if (scale > 0)
            w->setDevicePixelRatio(scale);
        QVERIFY(w.open());
        w->setPreviewSize(pane);
        w->setZoom(2.5);
        w->setPan(QSizeF(30, -10));
        w->zoomToActualPixels();
        QTEST(w->zoom(), "zoom");
        QCOMPARE(w->pan().isNull(), !pane.isEmpty()); // back to the centre when it acts
    }

    void releasedModelRemovesItsWorkFolder_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<int>("ffmpegCalls"); // the job ran to its end
        QTest::newRow("during a render") << "render" << 4;
        QTest::newRow("during the pause") << "pause" << 6; // first render, then the encode and its frame
    }

    void releasedModelRemovesItsWorkFolder()
    {
        QFETCH(QString, job);
        FakeWindow w;
        const QString folder = w->workDirectory();
        const std::weak_ptr<GlanceModel> weak = w.model;
        if (job == QLatin1String("render")) {
            w.delay("ffmpeg", "0.2");
            w->openMovie(w.film());
            QVERIFY(w.started("ffmpeg"));
        } else {
            QVERIFY(w.open());
            w->setMbps(3);
        }
        w.model.reset(); // the window closes; the running job keeps the model and its folder
        QVERIFY(!weak.expired() && QFileInfo(folder).isDir());
        QTRY_VERIFY_WITH_TIMEOUT(weak.expired(), kTimeout);
        QVERIFY(!QFileInfo::exists(folder));
        QTEST(int(w.tools.calls(QStringLiteral("ffmpeg")).size()), "ffmpegCalls");
    }

    void realTools()
    {
        const QString tools = TestFilms::systemToolsDirectory();
        if (tools.isEmpty())
            QSKIP("the system has no ffmpeg");
        const QString film = TestFilms::sampleFilm(640, 360, 25, 4);
        QVERIFY(!film.isEmpty());
        FakeWindow w(tools);
        w->openMovie(film);
        QTRY_VERIFY_WITH_TIMEOUT(w->movie() && !w->busy(), 240000); // real encodes
        QCOMPARE(w->error(), std::nullopt);
        QCOMPARE(w->status(), tr8("Vergleich bei 00:00:02 · 3.0 s wirklich kodiert"));
        QVERIFY2(w->measurement().startsWith(tr8("640 × 360 · Ziel 2.00 Mbit/s · gemessen ")),
                 qPrintable(w->measurement()));
        QCOMPARE(w->encoded().size(), QSize(640, 360));
    }
};

QTEST_MAIN(ModelTests)
#include "model_tests.moc"
