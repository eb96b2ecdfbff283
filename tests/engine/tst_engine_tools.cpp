// The engine with fake tools that record every call: creation and work folder, the tool runner and
// worker thread, the probe's and the render's exact command lines, the reference-clip cache,
// stale frames, cancellation and failures at every step.

#include "engine_test_helpers.h"
#include "fake_tools.h"
#include "preview_engine.h"

#include <QProcess>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <sys/stat.h>

namespace {

const QString kFilm = QStringLiteral("/Filme/Urlaub 2023/Strand ä.mp4");
const QString kOk = QStringLiteral("no failure");
const QString kCancelled = QStringLiteral("CancelledError");
const QString kWaitForGo = QStringLiteral("while [ ! -e \"$DIR/go\" ]; do sleep 0.02; done\n");

MovieInfo movie(double duration = 100, qint64 height = 1080)
{
    MovieInfo info;
    info.url = QUrl::fromLocalFile(kFilm);
    info.duration = duration, info.width = height * 16 / 9, info.height = height, info.fps = 25;
    return info;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// "ffmpeg reference.mkv ffprobe reference.mkv ...": each call's tool and the name of its last argument.
QString toolsOf(const QList<FakeTools::Call> &calls)
{
    QStringList tools;
    for (const FakeTools::Call &call : calls)
        tools << call.tool + QLatin1Char(' ') + call.args.last().section(QLatin1Char('/'), -1);
    return tools.join(QLatin1Char(' '));
}

const QString kEncodeOnly = QStringLiteral("ffmpeg encoded.mp4 ffprobe encoded.mp4 ffmpeg encoded.png");
const QString kFull = QStringLiteral("ffmpeg reference.mkv ffprobe reference.mkv ffmpeg original.png ") + kEncodeOnly;

// The engines' work folders now under the temporary directory.
QStringList workFolders()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::Hidden);
}

// Compares a failure text; a trailing "*" in `expected` compares the beginning only.
bool matches(const QString &text, const QString &expected)
{
    return expected.endsWith(QLatin1Char('*')) ? text.startsWith(expected.chopped(1)) : text == expected;
}

} // namespace

class EngineTools : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateTempDir> temp_;
    std::unique_ptr<FakeTools> fake_;
    std::unique_ptr<PreviewEngine> engine_;

    QString work(const QString &name) const { return engine_->directory() + QLatin1Char('/') + name; }
    void go() { QVERIFY(QFile(fake_->directory() + QStringLiteral("/go")).open(QIODevice::WriteOnly)); }
    std::optional<QString> key(const char *seconds, qint64 maxHeight) const
    {
        return kFilm + QLatin1Char('|') + QLatin1String(seconds) + QLatin1Char('|') + QString::number(maxHeight);
    }
    PreviewResult render(double seconds, double mbps, qint64 maxHeight, const MovieInfo &info = movie())
    {
        return resultOrWarn(engine_->render(info, seconds, mbps, maxHeight));
    }

private slots:
    void init()
    {
        temp_ = std::make_unique<PrivateTempDir>();
        fake_ = std::make_unique<FakeTools>();
        fake_->setReferenceSize(1280, 720);
        engine_ = std::make_unique<PreviewEngine>(fake_->directory());
    }
    void cleanup()
    {
        engine_.reset();
        QCOMPARE(PreviewEngine::liveCount(), 0);
        QCOMPARE(workFolders(), QStringList());
        fake_.reset();
        temp_.reset();
    }

    void creationNeedsBothTools_data()
    {
        QTest::addColumn<QString>("change"); // shell commands in the tools folder
        // Root may run a file with one execute bit, never one with none.
        for (const char *change : {"rm ffmpeg", "chmod a-x ffmpeg", "rm ffprobe", "chmod a-x ffprobe",
                                   "rm ffmpeg && mkdir ffmpeg", "cd .. && rm -r \"$OLDPWD\""})
            QTest::newRow(change) << change;
    }
    void creationNeedsBothTools()
    {
        QFETCH(QString, change);
        engine_.reset();
        const QString tools = fake_->directory();
        QCOMPARE(QProcess::execute(QStringLiteral("sh"), {"-c", "cd \"$1\" && " + change, "sh", tools}), 0);
        try {
            PreviewEngine engine(tools);
            QFAIL("creation succeeded");
        } catch (const PreviewError &error) {
            QCOMPARE(error.message(), PreviewError::toolsMissing());
        }
        QCOMPARE(workFolders(), QStringList());
        QVERIFY(fake_->calls().isEmpty());
    }

    void workFolder()
    {
        // Private whatever the umask, empty, in the temporary directory.
        for (mode_t mask : {mode_t(0), mode_t(022), mode_t(0277)}) {
            const mode_t previous = ::umask(mask);
            PreviewEngine engine(fake_->directory());
            ::umask(previous);
            struct stat info;
            QCOMPARE(::stat(QFile::encodeName(engine.directory()).constData(), &info), 0);
            QCOMPARE(info.st_mode & 07777, mode_t(0700));
            QCOMPARE(workFolders().size(), 2); // two engines, two folders
        }
        const QFileInfo folder(engine_->directory());
        QCOMPARE(folder.absolutePath(), QDir(QDir::tempPath()).absolutePath());
        QCOMPARE(QDir(folder.filePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QVERIFY(fake_->calls().isEmpty()); // creation runs no tool

        // Destruction removes the folder with everything in it, and tolerates its absence.
        QCOMPARE(failureText(engine_->run(engine_->ffmpeg(), {work(QStringLiteral("encoded.mp4"))})), kOk);
        QVERIFY(QDir(folder.filePath()).mkdir(QStringLiteral("inner")));
        QVERIFY(QFile(work(QStringLiteral("inner/original.png"))).open(QIODevice::WriteOnly));
        engine_.reset();
        QVERIFY(!QFileInfo::exists(folder.filePath()));
        engine_ = std::make_unique<PreviewEngine>(fake_->directory());
        QVERIFY(QDir(engine_->directory()).removeRecursively());
    }

    void folderGoesWhenTheProgramExits()
    {
        QProcess probe;
        probe.start(QStringLiteral(BITGLANCE_EXIT_PROBE), {fake_->directory()});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitCode(), 0);
        const QString folder = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
        QVERIFY(folder.contains(QLatin1String("Bitglance-")));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void runOutcome_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected"); // "output: <standard output>" or the failure text
        QTest::newRow("standard input is empty") << "cat\necho read-all"
                                                 << "output: read-all\n";
        QTest::newRow("standard error with status 0") << "echo Warnung >&2\necho out"
                                                      << "output: out\n";
        QTest::newRow("empty log") << "exit 1" << previewError(QString());
        QTest::newRow("short log kept whole")
            << "printf '  Fehler\\n\\n' >&2\nexit 255" << previewError(QStringLiteral("  Fehler\n\n"));
        QTest::newRow("log not UTF-8") << "printf 'Fehler \\377' >&2\nexit 1"
                                       << previewError(PreviewError::unknownToolFailure());
        // Far more than a pipe holds: the tool blocks unless the engine reads while it waits.
        const QByteArray lots = QByteArray("{\"k\":\"v\"},\n").repeated(6000000 / 11 + 1).left(6000000);
        QTest::newRow("6 MB of output") << "yes '{\"k\":\"v\"},' | head -c 6000000"
                                        << "output: " + QString::fromUtf8(lots);
        QTest::newRow("crash") << "echo Absturz >&2\nkill -SEGV $$" << previewError(QStringLiteral("Absturz\n"));
        // 3,000 user-perceived characters, each counting once: umlauts, a decomposed umlaut, an
        // emoji (two UTF-16 units), CR LF; the message holds the last 2,500 of them.
        const QStringList kinds{"ä", "x", "Ö", "ß", "u\u0308", "\U0001F44D", "\r\n", "€", "\n", " "};
        QStringList characters;
        for (int i = 0; i < 3000; ++i)
            characters << kinds[(i * 7 + i / 13) % kinds.size()];
        QTest::newRow("log tail") << "printf '%s' '" + characters.join(QString()) + "' >&2\nexit 1"
                                  << previewError(characters.mid(500).join(QString()));
    }
    void runOutcome()
    {
        QFETCH(QString, body);
        fake_->setBody(QStringLiteral("ffmpeg"), body + QLatin1Char('\n'));
        QFuture<QByteArray> future = engine_->run(engine_->ffmpeg(), {});
        const QString text = failureText(future);
        QTEST(text == kOk ? QStringLiteral("output: ") + QString::fromUtf8(future.result()) : text, "expected");
    }

    void logAndLaunchFailure()
    {
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo \"$1\" >&2\n"));
        QCOMPARE(failureText(engine_->run(engine_->ffmpeg(), {QStringLiteral("früher")})), kOk);
        CancelToken token;
        token.cancel(); // a cancelled token starts nothing and leaves the old log
        QCOMPARE(failureText(engine_->run(engine_->ffmpeg(), {}, token)), kCancelled);
        QCOMPARE(failureText(engine_->probe(QUrl::fromLocalFile(kFilm), token)), kCancelled);
        QCOMPARE(fake_->calls().size(), 1);
        QCOMPARE(readFile(work(QStringLiteral("process.log"))), QStringLiteral("früher\n").toUtf8());
        QCOMPARE(failureText(engine_->run(engine_->ffmpeg(), {QStringLiteral("später")})), kOk);
        QCOMPARE(readFile(work(QStringLiteral("process.log"))),
                 QStringLiteral("später\n").toUtf8()); // each run starts a fresh log
        fake_->removeTool(QStringLiteral("ffmpeg"));
        QVERIFY(failureText(engine_->run(engine_->ffmpeg(), {})).startsWith(QLatin1String("PlatformError: ")));
    }

    // One tool at a time: a cancelled run lets its tool finish (its own failure is not looked at),
    // a cancelled queued run never starts, and the next one starts after it with its continuation on
    // the main thread.
    void cancellationAndOrder()
    {
        fake_->setBody(QStringLiteral("ffmpeg"),
                       "echo \"start $1\" >> \"$DIR/order\"\n[ \"$1\" != a ] || " + kWaitForGo
                           + "echo \"end $1\" >> \"$DIR/order\"\necho \"$1\"\n[ \"$1\" = c ]\n");
        CancelToken token;
        QFuture<QByteArray> running = engine_->run(engine_->ffmpeg(), {QStringLiteral("a")}, token);
        QFuture<QByteArray> queued = engine_->run(engine_->ffmpeg(), {QStringLiteral("b")});
        QObject context;
        QString next;
        engine_->run(engine_->ffmpeg(), {QStringLiteral("c")}).then(&context, [&](QFuture<QByteArray> future) {
            next = (QThread::currentThread() == qApp->thread() ? QString() : QStringLiteral("worker: "))
                + failureText(future);
        });
        QTRY_COMPARE(fake_->calls().size(), 1);
        token.cancel();
        queued.cancel(); // cancelling the future counts like the token
        go();
        QCOMPARE(failureText(running), kCancelled);
        QTRY_COMPARE(next, kOk);
        QVERIFY(queued.isCanceled());
        QCOMPARE(readFile(fake_->directory() + QStringLiteral("/order")),
                 QByteArray("start a\nend a\nstart c\nend c\n"));
    }

    void destructorFinishesRunningAndDropsQueued()
    {
        fake_->setBody(QStringLiteral("ffmpeg"), kWaitForGo + QStringLiteral("echo ok\n"));
        QFuture<QByteArray> running = engine_->run(engine_->ffmpeg(), {});
        QFuture<QByteArray> queued = engine_->run(engine_->ffmpeg(), {});
        QObject context;
        QString queuedSeen;
        queued.then(&context, [&](QFuture<QByteArray> future) { queuedSeen = failureText(future); });
        QTRY_COMPARE(fake_->calls().size(), 1);
        go();
        engine_.reset();
        QVERIFY(running.isFinished());
        QCOMPARE(running.result(), QByteArray("ok\n"));
        QCOMPARE(failureText(queued), kCancelled);
        QTRY_COMPARE(queuedSeen, kCancelled);
        QCOMPARE(fake_->calls().size(), 1);
    }

    void abortEndsRunningTools()
    {
        PreviewEngine::abortAllRunningTools(); // nothing running: nothing happens
        PreviewEngine second(fake_->directory());
        // A tool that would outlive the test's time limit: only a kill ends it.
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("exec sleep 600\n"));
        QFuture<QByteArray> firstRunning = engine_->run(engine_->ffmpeg(), {});
        QFuture<QByteArray> firstQueued = engine_->run(engine_->ffmpeg(), {});
        QFuture<QByteArray> secondRunning = second.run(second.ffmpeg(), {});
        QTRY_COMPARE(fake_->calls().size(), 2);
        PreviewEngine::abortAllRunningTools();
        for (QFuture<QByteArray> future : {firstRunning, secondRunning, firstQueued})
            QCOMPARE(failureText(future), kCancelled);
        QCOMPARE(fake_->calls().size(), 2);
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo again\n")); // later operations run as usual
        QCOMPARE(engine_->run(engine_->ffmpeg(), {}).result(), QByteArray("again\n"));
        QCOMPARE(second.run(second.ffmpeg(), {}).result(), QByteArray("again\n"));
    }

    void probeFailures_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("output not JSON") << ""
                                         << "echo 'kein JSON'"
                                         << "PlatformError: *";
        QTest::newRow("top level is a list")
            << ""
            << "echo '[{\"streams\":[]}]'" << previewError(PreviewError::unreadableMovieData());
        QTest::newRow("rules apply") << ""
                                     << "echo '{\"streams\":[{\"codec_type\":\"audio\"}]}'"
                                     << previewError(PreviewError::noVideoStream());
        QTest::newRow("not a local file") << "https://example.org/film.mp4"
                                          << "exit 1"
                                          << "PlatformError: *";
    }
    void probeFailures()
    {
        QFETCH(QString, url);
        QFETCH(QString, body);
        QFETCH(QString, expected);
        render(50, 2, 720);
        fake_->setBody(QStringLiteral("ffprobe"), body + QLatin1Char('\n'));
        const QString text = failureText(engine_->probe(url.isEmpty() ? QUrl::fromLocalFile(kFilm) : QUrl(url)));
        QVERIFY2(matches(text, expected), qPrintable(text));
        QCOMPARE(engine_->cachedKey(), key("50.0", 720)); // a probe leaves the cache alone
    }

    void commandLines()
    {
        QCOMPARE(resultOrWarn(engine_->probe(QUrl::fromLocalFile(kFilm))).url, QUrl::fromLocalFile(kFilm));
        const PreviewResult result = render(50, 2.0, 720);
        // Each call as one line, a space inside an argument as "_", the film as "F", the work folder as "W".
        QStringList lines;
        for (const FakeTools::Call &call : fake_->calls())
            lines << (QStringList{call.tool} + call.args)
                         .replaceInStrings(kFilm, QStringLiteral("F"))
                         .replaceInStrings(engine_->directory(), QStringLiteral("W"))
                         .replaceInStrings(QStringLiteral(" "), QStringLiteral("_"))
                         .join(QLatin1Char(' '));
        QCOMPARE(lines.join(QLatin1Char('\n')),
                 QStringLiteral(
                     "ffprobe -v error -show_format -show_streams -of json F\n"
                     "ffmpeg -v error -nostdin -y -ss 49.0 -noautorotate -i F -t 3.0 -map 0:V:0 -an -sn -dn -vf "
                     "scale=-2:min(ih\\,720),setsar=1,format=yuv420p -c:v ffv1 -level 3 W/reference.mkv\n"
                     "ffprobe -v error -show_format -show_streams -of json W/reference.mkv\n"
                     "ffmpeg -v error -nostdin -y -i W/reference.mkv -vf select=eq(n\\,25) -frames:v 1 W/original.png\n"
                     "ffmpeg -v error -nostdin -y -i W/reference.mkv -map 0:v:0 -an -fps_mode passthrough -c:v libx265 "
                     "-preset veryfast "
                     "-x265-params log-level=error -b:v 2000000 -pix_fmt yuv420p -tag:v hvc1 W/encoded.mp4\n"
                     "ffprobe -v error -show_format -show_streams -of json W/encoded.mp4\n"
                     "ffmpeg -v error -nostdin -y -i W/encoded.mp4 -vf select=eq(n\\,25) -frames:v 1 W/encoded.png"));
        QCOMPARE(result.original, readFile(fake_->directory() + QStringLiteral("/original-frame.png")));
        QCOMPARE(result.encoded, readFile(fake_->directory() + QStringLiteral("/encoded-frame.png")));
        QCOMPARE(QStringLiteral("%1×%2 %3 Mbit/s %4 s of %5 s")
                     .arg(result.width)
                     .arg(result.height)
                     .arg(result.actualMbps)
                     .arg(result.seconds)
                     .arg(result.sampleSeconds),
                 QStringLiteral("1280×720 2.37 Mbit/s 50 s of 3 s"));
        QCOMPARE(engine_->cachedKey(), key("50.0", 720));
    }

    void clipWindow_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("maxHeight");
        QTest::addColumn<QString>("expected"); // "-ss -t height-limit frame, frame time of clip length"
        QTest::newRow("middle: frame 25") << 100.0 << qint64(1080) << 50.0 << qint64(720) << "49.0 3.0 720 25, 50 of 3";
        QTest::newRow("near the end: frame 62")
            << 100.0 << qint64(1080) << 99.5 << qint64(0) << "97.0 3.0 1080 62, 99.48 of 3";
        QTest::newRow("at the end: frame 73")
            << 100.0 << qint64(1080) << 100.0 << qint64(0) << "97.0 3.0 1080 73, 99.92 of 3";
        QTest::newRow("2-second film") << 2.0 << qint64(1080) << 1.5 << qint64(0) << "0.0 2.0 1080 37, 1.48 of 2";
        QTest::newRow("0.05 s clip") << 0.05 << qint64(1080) << 0.04 << qint64(0) << "0.0 0.05 1080 0, 0 of 0.05";
        QTest::newRow("1080 limit, 720 lines")
            << 100.0 << qint64(720) << 50.0 << qint64(1080) << "49.0 3.0 720 25, 50 of 3";
        QTest::newRow("no limit, 2160 lines")
            << 100.0 << qint64(2160) << 50.0 << qint64(0) << "49.0 3.0 2160 25, 50 of 3";
    }
    void clipWindow()
    {
        QFETCH(double, duration);
        QFETCH(qint64, height);
        QFETCH(double, seconds);
        QFETCH(qint64, maxHeight);
        const PreviewResult result = render(seconds, 2, maxHeight, movie(duration, height));
        const QList<FakeTools::Call> calls = fake_->calls();
        QCOMPARE(toolsOf(calls), kFull);
        QCOMPARE(calls[5].args[7], calls[2].args[7]); // both extractions take the same frame
        QTEST(QStringLiteral("%1 %2 %3 %4, %5 of %6")
                  .arg(calls[0].args[5], calls[0].args[10])
                  .arg(calls[0].args[17].section(QLatin1Char(','), 1, 1).chopped(1))
                  .arg(calls[2].args[7].section(QLatin1Char(','), 1).chopped(1))
                  .arg(result.seconds)
                  .arg(result.sampleSeconds),
              "expected");
    }

    void refusedInput_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("mbps");
        QTest::addColumn<QString>("expected"); // the encode's -b:v or the failure
        QTest::newRow("upper bound") << 50.0 << 30.0 << "30000000";
        QTest::newRow("lower bound") << 50.0 << 0.3 << "300000";
        for (double mbps : {30.01, 0.29, std::nan("")})
            QTest::newRow(qPrintable(QString::number(mbps) + QStringLiteral(" Mbit/s")))
                << 50.0 << mbps << previewError(PreviewError::invalidBitrate());
        QTest::newRow("infinite time") << std::numeric_limits<double>::infinity() << 2.0
                                       << previewError(PreviewError::invalidSceneTime());
    }
    void refusedInput()
    {
        QFETCH(double, seconds);
        QFETCH(double, mbps);
        render(50, 2, 0);
        fake_->clearCalls();
        const QString text = failureText(engine_->render(movie(), seconds, mbps, 0));
        QTEST(text == kOk ? fake_->calls()[0].args[18] : text, "expected");
        if (text != kOk)
            QVERIFY(fake_->calls().isEmpty());
        QCOMPARE(engine_->cachedKey(), key("50.0", 0));
    }

    // The reference clip and its frame are kept, untouched, for a new bitrate alone (a rewrite would
    // change their time); a new scene, height limit or a missing file cuts again.
    void referenceClipCache()
    {
        const PreviewResult first = render(50, 2.0, 720);
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        const QStringList kept{QStringLiteral("reference.mkv"), QStringLiteral("original.png")};
        for (const QString &name : kept) {
            QFile file(work(name));
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        fake_->clearCalls();
        QCOMPARE(render(50, 4.0, 720).original, first.original);
        QCOMPARE(toolsOf(fake_->calls()), kEncodeOnly);
        QCOMPARE(fake_->calls()[2].args[7], QStringLiteral("select=eq(n\\,25)"));
        for (const QString &name : kept)
            QCOMPARE(QFileInfo(work(name)).lastModified(), old);
        const QList<std::tuple<double, qint64, const char *>> steps{
            {51, 720, "51.0"}, {51, 1080, "51.0"}, {51.000000000000007, 1080, "51.00000000000001"}};
        for (const auto &[seconds, maxHeight, text] : steps) {
            fake_->clearCalls();
            render(seconds, 2, maxHeight);
            QCOMPARE(toolsOf(fake_->calls()), kFull);
            QCOMPARE(engine_->cachedKey(), key(text, maxHeight));
        }
        for (const QString &name : kept) {
            QVERIFY(QFile::remove(work(name)));
            fake_->clearCalls();
            render(51.000000000000007, 3, 1080);
            QCOMPARE(toolsOf(fake_->calls()), kFull);
        }
    }

    void failureAtEachStep_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("prelude");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("cacheKept");
        QTest::addColumn<bool>("reusedAfter"); // the next render with sound tools starts at the encode
        auto row = [](const char *name, const char *tool, const char *file, const QString &action,
                      const QString &expected, bool kept, bool reused) {
            QTest::newRow(name) << tool << QStringLiteral("case \"$LAST\" in *%1) %2;; esac").arg(file, action)
                                << expected << kept << reused;
        };
        const QString missing = previewError(QStringLiteral("Vergleichsbild konnte nicht entnommen werden."));
        const QString noClip = previewError(PreviewError::referenceNotCreated());
        row("cut fails", "ffmpeg", "reference.mkv", "echo 'Schnitt kaputt' >&2; exit 1",
            previewError("Schnitt kaputt\n"), false, false);
        row("clip probe fails", "ffprobe", "reference.mkv", "exit 1", previewError(QString()), false, false);
        row("clip without width", "ffprobe", "reference.mkv", "echo '{\"streams\":[{\"height\":720}]}'; exit 0", noClip,
            false, false);
        row("first extraction fails", "ffmpeg", "original.png", "echo nein >&2; exit 1", previewError("nein\n"), false,
            false);
        // ffmpeg's way with a frame past the clip: success, no file. The old frame must not pass for the new one.
        row("stale original frame", "ffmpeg", "original.png", "exit 0", missing, false, false);
        row("encode fails", "ffmpeg", "encoded.mp4", "echo 'x265 kaputt' >&2; exit 1", previewError("x265 kaputt\n"),
            true, true);
        row("stale encoded frame", "ffmpeg", "encoded.png", "exit 0", missing, true, true);
        // The encoded clip's bitrate is the text ffprobe prints; without it (or as a JSON number) 0 is shown.
        row("encoded clip without bitrate", "ffprobe", "encoded.mp4", "echo '{\"streams\":[{}]}'; exit 0", "Mbit/s 0",
            true, true);
        row("encoded bitrate as a number", "ffprobe", "encoded.mp4",
            "echo '{\"streams\":[{\"bit_rate\":2000000}]}'; exit 0", "Mbit/s 0", true, true);
        // Cancelled while a tool runs: the tool ends on its own and nothing after it starts.
        row("cancelled during the cut", "ffmpeg", "reference.mkv", kWaitForGo, kCancelled, false, false);
        row("cancelled during the encode", "ffmpeg", "encoded.mp4", kWaitForGo, kCancelled, true, true);
        row("original frame unreadable", "ffmpeg", "encoded.png", "rm \"${LAST%/*}/original.png\"", "PlatformError: *",
            true, false);
    }
    void failureAtEachStep()
    {
        QFETCH(QString, tool);
        QFETCH(QString, prelude);
        QFETCH(bool, cacheKept);
        QFETCH(bool, reusedAfter);
        render(50, 2, 720);
        fake_->setPrelude(tool, prelude);
        fake_->clearCalls();
        // A failure of the cut shows with a new scene; one after the cut with a new bitrate alone.
        const double seconds = cacheKept ? 50 : 60;
        CancelToken token;
        QFuture<PreviewResult> future = engine_->render(movie(), seconds, 3, 720, token);
        if (prelude.contains(kWaitForGo)) {
            QTRY_COMPARE(fake_->calls().size(), 1);
            token.cancel();
            go();
        }
        QString text = failureText(future);
        if (text == kOk)
            text = QStringLiteral("Mbit/s ") + QString::number(future.result().actualMbps);
        QFETCH(QString, expected);
        QVERIFY2(matches(text, expected), qPrintable(text));
        QCOMPARE(engine_->cachedKey(), cacheKept ? key("50.0", 720) : std::nullopt);
        QVERIFY(toolsOf(fake_->calls())
                    .startsWith(QLatin1String(cacheKept ? "ffmpeg encoded.mp4" : "ffmpeg reference.mkv")));
        if (text == kCancelled)
            QCOMPARE(fake_->calls().size(), 1);
        fake_->setPrelude(tool, QString());
        fake_->clearCalls();
        QCOMPARE(failureText(engine_->render(movie(), seconds, 3, 720)), kOk);
        QCOMPARE(toolsOf(fake_->calls()), reusedAfter ? kEncodeOnly : kFull);
    }
};

QTEST_GUILESS_MAIN(EngineTools)
#include "tst_engine_tools.moc"
