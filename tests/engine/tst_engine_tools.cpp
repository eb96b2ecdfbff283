// The engine's parts on fake tools that record every call: the work folder, the tool runner, the
// operation queue, and the engine's probe and render with their reference-clip cache and failures.

#include "engine_test_helpers.h"
#include "fake_tools.h"
#include "ffmpeg_commands.h"
#include "operation_queue.h"
#include "preview_engine.h"
#include "tool_runner.h"

#include <QProcess>
#include <QtTest>

#include <sys/stat.h>
#include <thread>

namespace {

const QString kFilm = QStringLiteral("/Filme/Urlaub 2023/Strand ä.mp4");
const QString kOk = QStringLiteral("no failure"), kCancelled = QStringLiteral("CancelledError");
const QString kWaitForGo = QStringLiteral("while [ ! -e \"$DIR/go\" ]; do sleep 0.02; done\n");
// The tools a render runs, by the file each call ends with.
const QString kCut = QStringLiteral("ffmpeg reference.mkv"),
              kClipProbed = kCut + QStringLiteral(" ffprobe reference.mkv");
const QString kClipMade = kClipProbed + QStringLiteral(" ffmpeg original.png");
const QString kEncodeOnly = QStringLiteral("ffmpeg encoded.mp4 ffprobe encoded.mp4 ffmpeg encoded.png");
const QString kFull = kClipMade + QLatin1Char(' ') + kEncodeOnly;

MovieInfo movie()
{
    MovieInfo info;
    info.url = QUrl::fromLocalFile(kFilm), info.duration = 100, info.width = 1920, info.height = 1080, info.fps = 25;
    return info;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The engines' work folders now under the temporary directory.
QStringList workFolders()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::Hidden);
}

} // namespace

class EngineTools : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateTempDir> temp_;
    std::unique_ptr<FakeTools> fake_;
    std::unique_ptr<PreviewEngine> engine_;

    QString tool() const { return fake_->directory() + QStringLiteral("/ffmpeg"); }
    QString work(const QString &name) const { return engine_->directory() + QLatin1Char('/') + name; }
    void go() { QVERIFY(QFile(fake_->directory() + QStringLiteral("/go")).open(QIODevice::WriteOnly)); }
    // "ffmpeg reference.mkv ffprobe reference.mkv ...": each call's tool and its last argument's name.
    QString toolsCalled() const
    {
        QStringList tools;
        for (const FakeTools::Call &call : fake_->calls())
            tools << call.tool + QLatin1Char(' ') + call.args.last().section(QLatin1Char('/'), -1);
        return tools.join(QLatin1Char(' '));
    }
    // The runner on one queue, as the engine's operations use both.
    QFuture<QByteArray> run(OperationQueue &queue, const QString &argument, CancelToken token = {})
    {
        return queue.submit<QByteArray>(token, [this, argument](const Cancellation &cancel) {
            return ToolRunner(temp_->path() + QStringLiteral("/process.log")).run(tool(), {argument}, cancel);
        });
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
        QCOMPARE(failureOf([&] { PreviewEngine engine(tools); }), previewError(PreviewError::toolsMissing()));
        QCOMPARE(workFolders(), QStringList());
    }

    void workFolder()
    {
        // Private whatever the umask, one for each engine, in the temporary directory, empty: creation runs no tool.
        for (mode_t mask : {mode_t(0), mode_t(022), mode_t(0277)}) {
            const mode_t previous = ::umask(mask);
            PreviewEngine engine(fake_->directory());
            ::umask(previous);
            struct stat info;
            QCOMPARE(::stat(QFile::encodeName(engine.directory()).constData(), &info), 0);
            QCOMPARE(info.st_mode & 07777, mode_t(0700));
            QCOMPARE(workFolders().size(), 2);
        }
        const QFileInfo folder(engine_->directory());
        QCOMPARE(folder.absolutePath(), QDir(QDir::tempPath()).absolutePath());
        QCOMPARE(QDir(folder.filePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QVERIFY(fake_->calls().isEmpty());
        // Destruction removes the folder with everything in it, and tolerates its absence.
        QVERIFY(QDir(folder.filePath()).mkpath(QStringLiteral("inner/deeper")));
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
        QVERIFY(folder.contains(QLatin1String("Bitglance-")) && !QFileInfo::exists(folder));
    }

    void toolRun_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected"); // "output: <standard output>" or the failure
        QTest::newRow("standard input is empty") << "cat\necho read-all"
                                                 << "output: read-all\n";
        QTest::newRow("standard error with status 0") << "echo Warnung >&2\necho out"
                                                      << "output: out\n";
        QTest::newRow("empty log") << "exit 1" << previewError(QString());
        QTest::newRow("short log kept whole")
            << "printf '  Fehler\\n\\n' >&2\nexit 255" << previewError("  Fehler\n\n");
        QTest::newRow("log not UTF-8") << "printf 'Fehler \\377' >&2\nexit 1"
                                       << previewError(PreviewError::unknownToolFailure());
        QTest::newRow("crash") << "echo Absturz >&2\nkill -SEGV $$" << previewError("Absturz\n");
        // Far more than a pipe holds: the tool blocks unless the runner reads while it waits.
        const QByteArray lots = QByteArray("{\"k\":\"v\"},\n").repeated(6000000 / 11 + 1).left(6000000);
        QTest::newRow("6 MB of output") << "yes '{\"k\":\"v\"},' | head -c 6000000"
                                        << "output: " + QString::fromUtf8(lots);
        // 3,000 user-perceived characters, each counting once: umlauts, a decomposed umlaut, an
        // emoji (two UTF-16 units), CR LF; the message holds the last 2,500 of them.
        const QStringList kinds{"ä", "x", "Ö", "ß", "u\u0308", "\U0001F44D", "\r\n", "€", "\n", " "};
        QStringList characters;
        for (int i = 0; i < 3000; ++i)
            characters << kinds[(i * 7 + i / 13) % kinds.size()];
        QTest::newRow("log tail") << "printf '%s' '" + characters.join(QString()) + "' >&2\nexit 1"
                                  << previewError(characters.mid(500).join(QString()));
    }
    void toolRun()
    {
        QFETCH(QString, body);
        fake_->setBody(QStringLiteral("ffmpeg"), body + QLatin1Char('\n'));
        QByteArray output;
        const QString log = temp_->path() + QStringLiteral("/process.log");
        const QString text = failureOf([&] { output = ToolRunner(log).run(tool(), {}, Cancellation()); });
        QTEST(text == kOk ? QStringLiteral("output: ") + QString::fromUtf8(output) : text, "expected");
    }

    // Each run starts a fresh log and leaves it behind; a cancelled one starts nothing and leaves the old log.
    void toolRunLog()
    {
        const ToolRunner runner(temp_->path() + QStringLiteral("/process.log"));
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo \"$1\" >&2\n"));
        for (const QString &argument : {QStringLiteral("früher"), QStringLiteral("später")})
            QCOMPARE(failureOf([&] { runner.run(tool(), {argument}, Cancellation()); }), kOk);
        CancelToken token;
        token.cancel();
        QCOMPARE(failureOf([&] { runner.run(tool(), {}, Cancellation(token)); }), kCancelled);
        QCOMPARE(failureText(engine_->probe(QUrl::fromLocalFile(kFilm), token)), kCancelled);
        QCOMPARE(fake_->calls().size(), 2);
        QCOMPARE(readFile(temp_->path() + QStringLiteral("/process.log")), QStringLiteral("später\n").toUtf8());
        fake_->removeTool(QStringLiteral("ffmpeg"));
        QVERIFY(
            failureOf([&] { runner.run(tool(), {}, Cancellation()); }).startsWith(QLatin1String("PlatformError: ")));
    }

    // One tool at a time, in order: a run cancelled while its tool works lets the tool finish (its
    // status is not looked at), a cancelled queued run never starts, and the next one's continuation
    // runs on the main thread.
    void queueOrderAndCancellation()
    {
        fake_->setBody(QStringLiteral("ffmpeg"),
                       "echo \"start $1\" >> \"$DIR/order\"\n[ \"$1\" != a ] || " + kWaitForGo
                           + "echo \"end $1\" >> \"$DIR/order\"\necho \"$1\"\n[ \"$1\" = c ]\n");
        OperationQueue queue;
        CancelToken token;
        QFuture<QByteArray> running = run(queue, QStringLiteral("a"), token);
        QFuture<QByteArray> queued = run(queue, QStringLiteral("b"));
        QObject context;
        QString next;
        run(queue, QStringLiteral("c")).then(&context, [&](QFuture<QByteArray> future) {
            next = (QThread::currentThread() == qApp->thread() ? QString() : QStringLiteral("worker: "))
                + failureText(future);
        });
        QTRY_COMPARE(fake_->calls().size(), 1);
        token.cancel();
        queued.cancel(); // cancelling the future counts like the token
        go();
        QCOMPARE(failureText(running), kCancelled);
        QTRY_COMPARE(next, kOk);
        QCOMPARE(readFile(fake_->directory() + QStringLiteral("/order")),
                 QByteArray("start a\nend a\nstart c\nend c\n"));
    }

    // The destructor fails what is queued at once, then waits for the running operation to finish.
    void queueDestructor()
    {
        auto queue = std::make_unique<OperationQueue>();
        QSemaphore started, release;
        QFuture<int> running = queue->submit<int>({}, [&](const Cancellation &) {
            started.release();
            release.acquire();
            return 1;
        });
        QFuture<int> queued = queue->submit<int>({}, [](const Cancellation &) { return 2; });
        QObject context;
        QString seen;
        queued.then(&context, [&](QFuture<int> future) { seen = failureText(future); });
        started.acquire();
        std::thread destroy([&queue] { queue.reset(); });
        QCOMPARE(failureText(queued), kCancelled);
        release.release();
        destroy.join();
        QCOMPARE(running.result(), 1);
        QTRY_COMPARE(seen, kCancelled);
    }

    void abortEndsRunningTools()
    {
        OperationQueue::abortAll(); // nothing running: nothing happens
        OperationQueue first, second;
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("exec sleep 600\n")); // only a kill ends it in time
        const QList<QFuture<QByteArray>> futures{run(first, {}), run(second, {}), run(first, {})};
        QTRY_COMPARE(fake_->calls().size(), 2);
        PreviewEngine::abortAllRunningTools();
        for (const QFuture<QByteArray> &future : futures)
            QCOMPARE(failureText(future), kCancelled);
        QCOMPARE(fake_->calls().size(), 2);
        fake_->setBody(QStringLiteral("ffmpeg"), QStringLiteral("echo again\n")); // later operations run as usual
        QCOMPARE(run(first, {}).result() + run(second, {}).result(), QByteArray("again\nagain\n"));
    }

    // A probe and a render, each call built by FfmpegCommands from the clip plan; a failed probe
    // leaves the reference clip alone.
    void probeAndRender()
    {
        const MovieInfo probed = resultOrWarn(engine_->probe(QUrl::fromLocalFile(kFilm)));
        QCOMPARE(probed.url.toLocalFile() + probed.codec, kFilm + "h264");
        const PreviewResult result = resultOrWarn(engine_->render(probed, 50, 2.0, 720));
        const QString reference = work("reference.mkv"), encoded = work("encoded.mp4");
        const QList<QStringList> expected{
            QStringList{"ffprobe"} + FfmpegCommands::probe(kFilm),
            QStringList{"ffmpeg"} + FfmpegCommands::referenceCut(kFilm, ClipPlan::compute(probed, 50, 720), reference),
            QStringList{"ffprobe"} + FfmpegCommands::probe(reference),
            QStringList{"ffmpeg"} + FfmpegCommands::frameExtraction(reference, 25, work("original.png")),
            QStringList{"ffmpeg"} + FfmpegCommands::encode(reference, encoded, 2000000),
            QStringList{"ffprobe"} + FfmpegCommands::probe(encoded),
            QStringList{"ffmpeg"} + FfmpegCommands::frameExtraction(encoded, 25, work("encoded.png"))};
        QList<QStringList> calls;
        for (const FakeTools::Call &call : fake_->calls())
            calls << QStringList{call.tool} + call.args;
        QCOMPARE(calls, expected);
        QCOMPARE(result.original, readFile(fake_->directory() + "/original-frame.png"));
        QCOMPARE(result.encoded, readFile(fake_->directory() + "/encoded-frame.png"));
        QCOMPARE(QString::asprintf("%lld×%lld %g Mbit/s, %g s of %g s", result.width, result.height, result.actualMbps,
                                   result.seconds, result.sampleSeconds),
                 "1280×720 2.37 Mbit/s, 50 s of 3 s");
        fake_->setBody("ffprobe", "exit 1");
        QCOMPARE(failureText(engine_->probe(QUrl::fromLocalFile(kFilm))), previewError(QString()));
        fake_->setPrelude("ffprobe", QString());
        fake_->clearCalls();
        QCOMPARE(failureText(engine_->render(probed, 50, 3, 720)), kOk);
        QCOMPARE(toolsCalled(), kEncodeOnly);
    }

    // After a good render at 50 s, 2 Mbit/s, 720 lines: one render with one tool's step for one
    // file changed, then the same render (or, when it ran no tool, the first) with sound tools.
    // The reference clip is kept, untouched, for a new bitrate alone and for a failure after it
    // was made; a new scene or height limit, a missing file or a failure while it is made cuts
    // again. Refused input runs no tool.
    void render_data()
    {
        QTest::addColumn<QString>("render");   // "seconds mbps maxHeight"
        QTest::addColumn<QString>("change");   // "<tool> <file>: <shell run first>", or nothing
        QTest::addColumn<QString>("expected"); // "-b:v <encode target>, <Mbit/s measured>" or the failure
        QTest::addColumn<QString>("calls");    // the tools the render ran
        QTest::addColumn<QString>("after");    // the tools the next render ran
        const auto row = [](const char *name, const char *render, const QString &change, const QString &expected,
                            const QString &calls, const QString &after) {
            QTest::newRow(name) << render << change << expected << calls << after;
        };
        const QString frame = previewError(PreviewError::frameNotExtracted());
        row("new bitrate", "50 4 720", "", "-b:v 4000000, 2.37", kEncodeOnly, kEncodeOnly);
        row("upper bound", "50 30 720", "", "-b:v 30000000, 2.37", kEncodeOnly, kEncodeOnly);
        row("lower bound", "50 0.3 720", "", "-b:v 300000, 2.37", kEncodeOnly, kEncodeOnly);
        row("new scene", "51 2 720", "", "-b:v 2000000, 2.37", kFull, kEncodeOnly);
        row("new height limit", "50 2 1080", "", "-b:v 2000000, 2.37", kFull, kEncodeOnly);
        row("a scene one step apart", "50.00000000000001 2 720", "", "-b:v 2000000, 2.37", kFull, kEncodeOnly);
        row("reference clip gone", "50 2 720", "ffprobe encoded.mp4: rm \"${LAST%/*}/reference.mkv\"",
            "-b:v 2000000, 2.37", kEncodeOnly, kFull);
        row("original frame gone", "50 2 720", "ffmpeg encoded.png: rm \"${LAST%/*}/original.png\"",
            "PlatformError: No such file or directory", kEncodeOnly, kFull);
        for (const char *render : {"50 30.01 720", "50 0.29 720", "50 nan 720"})
            row(render, render, "", previewError(PreviewError::invalidBitrate()), "", kEncodeOnly);
        row("infinite scene", "inf 2 720", "", previewError(PreviewError::invalidSceneTime()), "", kEncodeOnly);
        // A failure while the clip is made shows with a new scene, one after it with a new bitrate.
        row("cut fails", "60 2 720", "ffmpeg reference.mkv: echo 'Schnitt kaputt' >&2; exit 1",
            previewError("Schnitt kaputt\n"), kCut, kFull);
        row("clip probe fails", "60 2 720", "ffprobe reference.mkv: exit 1", previewError(""), kClipProbed, kFull);
        row("clip without width", "60 2 720", R"(ffprobe reference.mkv: echo '{"streams":[{"height":720}]}'; exit 0)",
            previewError(PreviewError::referenceNotCreated()), kClipProbed, kFull);
        row("first extraction fails", "60 2 720", "ffmpeg original.png: echo nein >&2; exit 1", previewError("nein\n"),
            kClipMade, kFull);
        // ffmpeg's way with a frame past the clip: success, no file. An old frame must not pass for the new one.
        row("stale original frame", "60 2 720", "ffmpeg original.png: exit 0", frame, kClipMade, kFull);
        row("encode fails", "50 3 720", "ffmpeg encoded.mp4: echo 'x265 kaputt' >&2; exit 1",
            previewError("x265 kaputt\n"), "ffmpeg encoded.mp4", kEncodeOnly);
        row("stale encoded frame", "50 3 720", "ffmpeg encoded.png: exit 0", frame, kEncodeOnly, kEncodeOnly);
        // The measured bitrate is the text ffprobe prints; without it, or as a JSON number, it is 0.
        row("encoded clip without bitrate", "50 3 720", R"(ffprobe encoded.mp4: echo '{"streams":[{}]}'; exit 0)",
            "-b:v 3000000, 0", kEncodeOnly, kEncodeOnly);
        row("bitrate as a number", "50 3 720", R"(ffprobe encoded.mp4: echo '{"streams":[{"bit_rate":2}]}'; exit 0)",
            "-b:v 3000000, 0", kEncodeOnly, kEncodeOnly);
        // Cancelled while a tool runs: the tool ends on its own and nothing after it starts.
        row("cancelled during the cut", "60 2 720", "ffmpeg reference.mkv: " + kWaitForGo, kCancelled, kCut, kFull);
        row("cancelled during the encode", "50 3 720", "ffmpeg encoded.mp4: " + kWaitForGo, kCancelled,
            "ffmpeg encoded.mp4", kEncodeOnly);
    }
    void render()
    {
        QFETCH(QString, render);
        QFETCH(QString, change);
        QCOMPARE(failureText(engine_->render(movie(), 50, 2, 720)), kOk);
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        for (const char *name : {"reference.mkv", "original.png"}) {
            QFile file(work(name));
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        const QString tool = change.section(' ', 0, 0);
        if (!change.isEmpty())
            fake_->setPrelude(tool, "case \"$LAST\" in *" + change.section(' ', 1).replace(": ", ") ") + ";; esac");
        fake_->clearCalls();
        const QStringList values = render.split(' ');
        const auto start = [&](const CancelToken &token) {
            return engine_->render(movie(), values[0].toDouble(), values[1].toDouble(), values[2].toLongLong(), token);
        };
        CancelToken token;
        QFuture<PreviewResult> future = start(token);
        if (change.contains(kWaitForGo)) {
            QTRY_COMPARE(fake_->calls().size(), 1);
            token.cancel();
            go();
        }
        QString text = failureText(future);
        if (text == kOk)
            text = "-b:v " + fake_->calls("ffmpeg").value(fake_->calls("ffmpeg").size() - 2).args.value(18) + ", "
                + QString::number(future.result().actualMbps);
        QTEST(text, "expected");
        QTEST(toolsCalled(), "calls");
        if (!toolsCalled().contains("reference.mkv"))
            for (const char *name : {"reference.mkv", "original.png"})
                QVERIFY(!QFile::exists(work(name)) || QFileInfo(work(name)).lastModified() == old);
        if (!change.isEmpty())
            fake_->setPrelude(tool, QString());
        const QStringList again = fake_->calls().isEmpty() ? QStringList{"50", "2", "720"} : values;
        fake_->clearCalls();
        QCOMPARE(failureText(engine_->render(movie(), again[0].toDouble(), again[1].toDouble(), again[2].toLongLong())),
                 kOk);
        QTEST(toolsCalled(), "after");
    }
};

QTEST_GUILESS_MAIN(EngineTools)
#include "tst_engine_tools.moc"
