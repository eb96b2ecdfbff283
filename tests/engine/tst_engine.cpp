// The engine's rules (numbers, probe JSON, clip plan, command lines) and its parts on fake tools
// that record their calls: work folder, tool runner and its faults, operation queue, probe and render.

#include "engine/internal/ffmpeg_commands.h"
#include "engine/internal/movie_file.h"
#include "engine/internal/movie_probe.h"
#include "engine/internal/operation_queue.h"
#include "engine/internal/tool_runner.h"
#include "engine/internal/work_folder.h"
#include "engine/number_text.h"
#include "engine/preview_engine.h"
#include "engine_test_helpers.h"
#include "support/fake_tools.h"
#include "support/text_table.h"

#include <QtTest>

#include <csignal>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <utime.h>

using namespace FfmpegCommands;

namespace {

const QTemporaryDir movies; // probe and render refuse anything but a regular file
const QString kMovie = movies.path() + "/Urlaub 2023/Strand ä.mp4", kOk = "no failure", kCancelled = "CancelledError";
// A tool that never ends on its own.
const QString kHang = R"(echo $$ > "$DIR/pid"; exec sleep 600)";

MovieInfo movie(double duration = 100, double fps = 25, qint64 height = 1080)
{
    MovieInfo m;
    m.url = QUrl::fromLocalFile(kMovie), m.duration = duration, m.fps = fps, m.width = 1920, m.height = height;
    return m;
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

// A probe output: a good stream with later keys (null for a missing one) and the format object.
QString with(const QString &keys, const QString &format = R"({"duration":"100.0"})")
{
    return R"({"streams":[{"codec_type":"video","codec_name":"h264","width":1920,"height":1080,"avg_frame_rate":"25/1",)"
           R"("duration":"100.000000","bit_rate":"8520000","field_order":"progressive",)"
        + keys + R"(}],"format":)" + format + '}';
}

} // namespace

class EngineTests : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateTempDir> temp_;
    std::unique_ptr<FakeTools> fake_;
    std::unique_ptr<PreviewEngine> engine_;
    std::unique_ptr<WorkFolder> folder_; // the tool runner's

    QString fake(const QString &name) const { return fake_->directory() + '/' + name; }
    QString work(const QString &name) const { return engine_->directory() + '/' + name; }
    QString log() const { return folder_->file("process.log"); }
    // The fake ffmpeg once, directly or on a queue.
    QByteArray run(const QString &argument = {}, const Cancellation &cancel = Cancellation()) const
    {
        return ToolRunner(*folder_).run(fake("ffmpeg"), {argument}, cancel);
    }
    QFuture<QByteArray> run(OperationQueue &queue)
    {
        return queue.submit<QByteArray>({}, [this](const Cancellation &cancel) { return run({}, cancel); });
    }
    // A letter a call: ffmpeg to reference.mkv (c), ffprobe of it (p), ffmpeg to original.png (o),
    // to encoded.mp4 (e), ffprobe of it (m), ffmpeg to encoded.png (x).
    QString calls() const
    {
        static const QStringList order{"ffmpeg reference.mkv", "ffprobe reference.mkv", "ffmpeg original.png",
                                       "ffmpeg encoded.mp4",   "ffprobe encoded.mp4",   "ffmpeg encoded.png"};
        QString letters;
        for (const FakeTools::Call &call : fake_->calls())
            letters += "?cpoemx"[order.indexOf(call.tool + ' ' + call.args.last().section('/', -1)) + 1];
        return letters;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(QFileInfo(kMovie).path()) && QFile(kMovie).open(QIODevice::WriteOnly));
    }
    void init()
    {
        temp_ = std::make_unique<PrivateTempDir>();
        fake_ = std::make_unique<FakeTools>();
        fake_->setReferenceSize(1280, 720);
        engine_ = std::make_unique<PreviewEngine>(fake_->directory());
        folder_ = std::make_unique<WorkFolder>();
    }
    void cleanup()
    {
        engine_.reset(), folder_.reset();
        QCOMPARE(PreviewEngine::liveCount(), 0);
        QCOMPARE(QDir(QDir::tempPath()).entryList({"Bitglance-*"}, QDir::Dirs), QStringList());
        fake_.reset(), temp_.reset(); // the next one's TMPDIR is set after this one is restored
    }

    // Numbers go to ffmpeg and into the clip key as the shortest text that reads back as the same
    // double, with a point and a fraction, never an exponent, whatever the locale; they are read
    // back from whole texts only.
    void numberTexts()
    {
        const QByteArray saved = setlocale(LC_NUMERIC, nullptr);
        setlocale(LC_NUMERIC, "de_DE.UTF-8"); // a decimal comma, where the system has it
        QStringList texts;
        for (double value : {12.0, 0.0, 2.5, 0.05, 1e-7, 51.000000000000007, 4.35, qQNaN(), -qInf()})
            texts << doubleText(value) + (parseNumber(doubleText(value)) == value ? "" : "!");
        for (const QString text : {"90.5", "1e3", "inf", "", " 1", "1 ", "1,5", "N/A"})
            texts << (parseNumber(text) ? QString::number(*parseNumber(text)) : "-");
        setlocale(LC_NUMERIC, saved);
        QCOMPARE(texts.join(' '),
                 "12.0 0.0 2.5 0.05 0.0000001 51.00000000000001 4.35 nan! -inf 90.5 1000 inf - - - - -");
        QCOMPARE(parseNumber(QString("12") + QChar(0) + "3"), std::nullopt);
    }

    void probeRules_data(); // below, like all tables with raw strings: moc does not read them in a class
    void probeRules()
    {
        QFETCH(QString, json);
        QString info;
        const QString failure = failureOf([&] {
            const MovieInfo m = movieInfoFromProbe(parseProbeOutput(json.toUtf8()), QUrl::fromLocalFile(kMovie));
            info = QString::asprintf("%lld×%lld %s %.7g %g ", m.width, m.height, qPrintable(m.codec), m.fps, m.duration)
                + (m.bitrate ? QString::number(*m.bitrate, 'f', 0) : "none")
                + (m.url.toLocalFile() == kMovie ? "" : " url!");
        });
        QTEST(info.isEmpty() ? failure : info, "expected");
    }

    void clipPlan_data()
    {
        columns({"movie", "expected"}); // "duration fps height seconds maxHeight", "start length frame height time"
        row("middle", "100 25 1080 50 720", "49 3 25 720 50");
        row("near the end: moved back", "100 25 1080 99.5 0", "97 3 62 1080 99.48");
        row("end: last but one frame", "100 25 1080 100 0", "97 3 73 1080 99.92");
        row("start", "100 25 1080 0 0", "0 3 0 1080 0");
        row("2-second film", "2 25 1080 1.5 0", "0 2 37 1080 1.48");
        row("0.05 s film: no last frame", "0.05 25 1080 0.04 0", "0 0.05 0 1080 0");
        row("1080 limit on 720 lines", "100 25 720 50 1080", "49 3 25 720 50");
        row("no limit on 2160 lines", "100 25 2160 50 0", "49 3 25 2160 50");
        row("NTSC", "60 29.97002997002997 1080 30 0", "29 3 29 1080 29.9676333333");
        // Nonsense must not make the arithmetic undefined.
        row("infinite rate", "100 inf 1080 50 0", "49 3 4611686018427387902 1080 49");
        row("infinite rate at the start", "100 inf 1080 0 0", "0 3 0 1080 0");
        row("infinite duration", "inf 25 1080 50 0", "49 3 25 1080 50");
        row("scene far beyond the end", "100 25 1080 1e300 0", "97 3 73 1080 99.92");
    }
    void clipPlan()
    {
        QFETCH(QString, movie);
        const QStringList v = movie.split(' ');
        const ClipPlan p = ClipPlan::compute(::movie(v[0].toDouble(), v[1].toDouble(), v[2].toLongLong()),
                                             v[3].toDouble(), v[4].toLongLong());
        QTEST(QString::asprintf("%g %g %lld %lld %.12g", p.start, p.clipLength, p.frame, p.outputHeight, p.frameTime),
              "expected");
    }

    void commandLines_data();
    void commandLines()
    {
        QFETCH(QString, arguments);
        QTEST(arguments, "expected");
    }

    // A movie reaches the tools by its absolute path: "-" or "http:x" is no standard input, option or protocol.
    void moviePath()
    {
        QCOMPARE(MovieFile(QUrl::fromLocalFile("-"), *folder_).toolPath(), QDir::currentPath() + "/-");
        for (const QUrl &url : {QUrl("https://example.org/film.mp4"), QUrl("file:")})
            QVERIFY(failureOf([&] { MovieFile(url, *folder_); }).startsWith("PreviewError: Keine "));
    }

    void creationNeedsBothTools_data()
    {
        columns({"change"}); // in the tools folder; root runs a file with one execute bit, not with none
        for (const char *change : {"rm ffmpeg", "chmod a-x ffmpeg", "rm ffprobe", "chmod a-x ffprobe",
                                   "rm ffmpeg && mkdir ffmpeg", "cd .. && rm -r \"$OLDPWD\""})
            row(change, change);
    }
    void creationNeedsBothTools()
    {
        QFETCH(QString, change);
        engine_.reset();
        QCOMPARE(QProcess::execute("sh", {"-c", "cd \"$1\" && " + change, "sh", fake_->directory()}), 0);
        QCOMPARE(failureOf([&] { PreviewEngine(fake_->directory()); }),
                 previewError(PreviewError::toolsMissing().message()));
    }

    // Private whatever the umask, holding only its owner record (creation runs no tool), in /tmp
    // when $TMPDIR does not exist; removed with everything in it, also when it is gone already or
    // the program ends through exit() with the engine alive.
    void workFolder()
    {
        for (mode_t mask : {mode_t(0), mode_t(0277)}) {
            const mode_t previous = ::umask(mask);
            PreviewEngine engine(fake_->directory());
            ::umask(previous);
            QCOMPARE(int(QFileInfo(engine.directory()).permissions()), 0x7700); // the owner's alone
            QCOMPARE(QDir(engine.directory()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{"owner"});
            QVERIFY(QDir(engine.directory()).mkpath("inner/deeper") && fake_->calls().isEmpty());
        }
        qputenv("TMPDIR", QFile::encodeName(temp_->dir.filePath("fehlt")));
        QCOMPARE(QFileInfo(PreviewEngine(fake_->directory()).directory()).path(), "/tmp");
        qputenv("TMPDIR", QFile::encodeName(temp_->dir.path()));
        QVERIFY(QDir(engine_->directory()).removeRecursively());
        QProcess exiting; // this program as a child, ending as Qt ends one whose display went away
        exiting.start(QCoreApplication::applicationFilePath(), {"--exit-with-engine", fake_->directory()});
        QVERIFY(exiting.waitForFinished(60000) && exiting.exitCode() == 0);
        const QString exited = exiting.readAllStandardOutput().trimmed();
        QVERIFY2(exited.contains("Bitglance-") && !QFileInfo::exists(exited), qPrintable(exited));
    }

    // The folders of this user's engines whose process is gone go; nothing else is touched. An
    // owner in another PID namespace shows by its lock alone; a FIFO or link is no record.
    void abandonedFolders()
    {
        const QString pid = QString::number(::getpid());
        QStringList kept{QFileInfo(engine_->directory()).fileName()}, gone;
        QFile locked;
        for (const QString &entry :
             QStringList{"gone 999999999 1", "gone " + pid + " 1", "gone old", "kept young", "kept other user",
                         "kept link", "kept file", "kept abc", "kept locked", "kept young fifo", "gone old fifo"}) {
            const QString name = "Bitglance-"
                + (entry.endsWith("abc") ? "abc" : QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
            const QString path = QDir::temp().filePath(name), record = entry.section(' ', 1);
            (entry.startsWith("kept") ? kept : gone) << name;
            const QString folder =
                entry.endsWith("link") ? temp_->dir.filePath("Ziel") : path; // one that looks abandoned
            QVERIFY(entry.endsWith("file") ? QFile(path).open(QIODevice::WriteOnly) : QDir().mkpath(folder));
            QFile owner(folder + "/owner");
            QFile &written = record == "locked" ? locked : owner;
            written.setFileName(owner.fileName());
            QVERIFY(entry.endsWith("file") || record == "old" || record == "young"
                    || (record.endsWith("fifo") ? ::mkfifo(QFile::encodeName(owner.fileName()), 0600) == 0
                                                : written.open(QIODevice::WriteOnly)
                                && written.write(record.front().isDigit() ? record.toLatin1() : "999999999 1")
                                && written.flush()));
            QVERIFY(record != "locked" || ::flock(locked.handle(), LOCK_EX) == 0);
            const utimbuf old{std::time(nullptr) - 120, std::time(nullptr) - 120};
            QVERIFY((!record.startsWith("old") || ::utime(QFile::encodeName(path), &old) == 0)
                    && (folder == path || QFile::link(folder, path)));
            if (record == "other user" && ::chown(QFile::encodeName(path), 65534, 65534) != 0)
                gone << kept.takeLast(); // only root can give a folder away
        }
        WorkFolder::removeAbandoned(QDir::tempPath());
        for (const QString &name : kept + gone) {
            const QString path = QDir::temp().filePath(name);
            QVERIFY2(QFileInfo::exists(path) == kept.contains(name), qPrintable(name));
            QVERIFY(name == kept.first() || QFile::remove(path) || QDir(path).removeRecursively()); // not the engine's
        }
    }

    // A removal stays inside the folder, also where a folder inside cannot be emptied (root's right
    // to do so is dropped for it): a link goes as a link, nothing it names changes its mode.
    void removalStaysInside()
    {
        const QString outside = temp_->dir.filePath("fremd"), inner = folder_->file("innen");
        QVERIFY(QDir().mkpath(outside + "/Ordner") && QDir().mkpath(inner));
        QVERIFY(QFile(outside + "/Datei").open(QIODevice::WriteOnly)
                && ::chmod(QFile::encodeName(outside + "/Datei"), 0400) == 0);
        QVERIFY(QFile::link(outside + "/Datei", inner + "/Datei")
                && QFile::link(outside + "/Ordner", inner + "/Ordner"));
        QVERIFY(::chmod(QFile::encodeName(inner), 0500) == 0);
        const QString path = folder_->path();
        std::thread([this] {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct capabilities[2] = {};
            ::syscall(SYS_capget, &header, capabilities);
            capabilities[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            ::syscall(SYS_capset, &header, capabilities); // this thread's alone
            folder_.reset();
        }).join();
        struct stat info = {};
        QVERIFY(!QFileInfo::exists(path) && ::stat(QFile::encodeName(outside + "/Datei"), &info) == 0);
        QCOMPARE(info.st_mode & 07777, 0400u);
        QVERIFY(QFileInfo(outside + "/Ordner").isDir());
    }

    // A tool dies with the program that started it, also when that is killed at once.
    void toolEndsWithItsProgram()
    {
        fake_->setBody("ffmpeg", kHang);
        QProcess program; // this program as a child, running the tool
        program.start(QCoreApplication::applicationFilePath(), {"--run-tool", fake("ffmpeg")});
        QTRY_VERIFY_WITH_TIMEOUT(read(fake("pid")).endsWith('\n'), 30000);
        ::kill(pid_t(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(60000));
        const QString tool = "/proc/" + read(fake("pid")).trimmed() + "/stat";
        const auto running = [&tool] {
            return !read(tool).startsWith("<missing>") && read(tool).split(' ').value(2) != "Z";
        };
        const bool ended = QTest::qWaitFor([&running] { return !running(); }, 3000);
        if (!ended)
            ::kill(read(fake("pid")).trimmed().toInt(), SIGKILL);
        WorkFolder::removeAbandoned(QDir::tempPath()); // the killed program's, whose lock went with it
        QVERIFY(ended);
    }

    // A tool run and the ways a tool fails, each with a message that says why.
    void faults_data()
    {
        columns({"body", "expected"}); // the tool's; "output: <standard output>" or the failure
        row("standard input is empty", "cat\necho read-all", "output: read-all\n");
        row("standard error with status 0", "echo Warnung >&2\necho out", "output: out\n");
        row("empty log", "exit 1", previewError(PreviewError::toolFailed("ffmpeg", 1).message()));
        row("blank log", "echo ' ' >&2; exit 3", previewError(PreviewError::toolFailed("ffmpeg", 3).message()));
        row("short log kept whole", "printf '  Fehler\\n\\n' >&2\nexit 255", previewError("  Fehler\n\n"));
        row("log not UTF-8", "printf 'Fehler \\377' >&2\nexit 1",
            previewError(PreviewError::unknownToolFailure().message()));
        row("crash", "echo Absturz >&2\nkill -SEGV $$",
            previewError(PreviewError::toolKilled("ffmpeg", 11).message() + "\nAbsturz\n"));
        row("killed, empty log", "kill -KILL $$", previewError(PreviewError::toolKilled("ffmpeg", 9).message()));
        row("disk full", "echo 'av_interleaved_write_frame(): No space left on device' >&2; exit 1",
            previewError(PreviewError::noSpace("<temp>").message()));
        row("memory addresses taken out",
            R"(printf '[mov,mp4,m4a @ 0x55d4c0ffee00] partial\n[h264 @ 0xA] @ 0x1\n' >&2; exit 1)",
            previewError("[mov,mp4,m4a] partial\n[h264] @ 0x1\n"));
        // Far more than a pipe holds: the tool blocks unless the runner reads while it waits.
        row("6 MB of output", "yes '{\"k\":\"v\"},' | head -c 6000000",
            "output: " + QString("{\"k\":\"v\"},\n").repeated(545455).left(6000000));
        // 3,000 user-perceived characters: umlauts, a decomposed umlaut, an emoji (two UTF-16 units),
        // CR LF; the message holds the last 2,500 of them.
        const QString ten = "äxÖßu\u0308\U0001F44D\r\n€\n ";
        row("log tail", "printf '%s' '" + ten.repeated(300) + "' >&2; exit 1", previewError(ten.repeated(250)));
    }
    void faults()
    {
        QFETCH(QString, body);
        QFETCH(QString, expected);
        fake_->setBody("ffmpeg", body);
        QByteArray output;
        const QString text = failureOf([&] { output = run(); });
        QCOMPARE(text == kOk ? "output: " + output : text, expected.replace("<temp>", folder_->temporaryFolder()));
        fake_->setBody("ffmpeg", "true"); // the next run starts with an empty log
        QCOMPARE(failureOf([&] { run(); }), kOk);
        QCOMPARE(read(log()), "");
    }

    // The program blocks and ignores signals (the command-line front end waits for them in a thread
    // of its own); a tool that inherited that would outlive it.
    void toolSignals()
    {
        sigset_t all, previous;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous);
        const auto hangUp = std::signal(SIGHUP, SIG_IGN), terminate = std::signal(SIGTERM, SIG_IGN);
        QByteArray status;
        const QString text = failureOf([&] {
            status = ToolRunner(*folder_).run(QStandardPaths::findExecutable("grep"),
                                              {"-E", "^Sig(Blk|Ign)", "/proc/self/status"}, Cancellation());
        });
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        std::signal(SIGHUP, hangUp), std::signal(SIGTERM, terminate);
        QCOMPARE(text + ": " + status, kOk + ": SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n");
    }

    // A cancelled run, also a cancelled probe, starts nothing and leaves the log; a tool that cannot
    // start is the system's failure.
    void toolRunNotStarted()
    {
        fake_->setBody("ffmpeg", "echo \"$1\" >&2");
        CancelToken cancelled;
        cancelled.cancel();
        QStringList outcomes;
        outcomes << failureOf([&] { run("früher"); }) << failureOf([&] { run("nie", Cancellation(cancelled)); })
                 << failureText(engine_->probe(QUrl::fromLocalFile(kMovie), cancelled)) << read(log());
        fake_->removeTool("ffmpeg");
        outcomes << failureOf([&] { run(); }).left(13);
        QCOMPARE(outcomes.join(", "), "no failure, CancelledError, CancelledError, früher\n, SystemError: ");
    }

    // The destructor fails what is queued at once, then waits for the running operation.
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
        queued.then(&context, [&](QFuture<int> f) { seen = failureText(f); });
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
        PreviewEngine::abortAllRunningTools(); // nothing running: nothing happens
        OperationQueue first, second;
        fake_->setBody("ffmpeg", "exec sleep 600"); // only a kill ends it in time
        const QList<QFuture<QByteArray>> futures{run(first), run(second), run(first)};
        QTRY_COMPARE(fake_->calls().size(), 2);
        PreviewEngine::abortAllRunningTools();
        for (const QFuture<QByteArray> &future : futures)
            QCOMPARE(failureText(future), kCancelled);
        fake_->setBody("ffmpeg", "echo again"); // later operations run as usual
        QCOMPARE(run(first).result() + run(second).result(), "again\nagain\n");
        QCOMPARE(fake_->calls().size(), 4);
    }

    // A probe and a render, each call as FfmpegCommands builds it from the clip plan.
    void probeAndRender()
    {
        const MovieInfo probed = resultOrWarn(engine_->probe(QUrl::fromLocalFile(kMovie)));
        const PreviewResult r = resultOrWarn(engine_->render(probed, {50, 2, 720}));
        const QString reference = work("reference.mkv"), encoded = work("clip-1/2000000/encoded.mp4");
        const QList<QStringList> expected{
            QStringList{"ffprobe"} + probe(kMovie),
            QStringList{"ffmpeg"} + referenceCut(kMovie, ClipPlan::compute(probed, 50, 720), reference),
            QStringList{"ffprobe"} + probe(reference),
            QStringList{"ffmpeg"} + frameExtraction(reference, 25, "clip-1/original.png"),
            QStringList{"ffmpeg"} + encode(reference, encoded, 2000000),
            QStringList{"ffprobe"} + probe(encoded),
            QStringList{"ffmpeg"} + frameExtraction(encoded, 25, "clip-1/2000000/encoded.png")};
        QList<QStringList> calls;
        for (const FakeTools::Call &call : fake_->calls())
            calls << QStringList{call.tool} + call.args;
        QCOMPARE(calls, expected);
        QCOMPARE(r.original + r.encoded, read(fake("original-frame.png")) + read(fake("encoded-frame.png")));
        QCOMPARE(QString::asprintf("%s %s %lld×%lld %g Mbit/s, %g s of %g s", qPrintable(probed.url.toLocalFile()),
                                   qPrintable(probed.codec), r.width, r.height, r.actualMbps, r.seconds,
                                   r.sampleSeconds),
                 kMovie + " h264 1280×720 2.37 Mbit/s, 50 s of 3 s");
    }

    void render_data();
    void render()
    {
        QFETCH(QString, render);
        QFETCH(QString, change);
        QCOMPARE(failureText(engine_->render(movie(), {50, 2, 720})), kOk);
        const QString tool = change.section(' ', 0, 0), file = change.section(' ', 1, 1).chopped(1);
        fake_->setPrelude(
            tool, change.isEmpty() ? "" : "case \"$LAST\" in *" + file + ") " + change.section(": ", 1) + ";; esac");
        const auto start = [this](const QString &values, const CancelToken &token = {}) {
            const QStringList v = values.split(' ');
            return engine_->render(movie(), {v[0].toDouble(), v[1].toDouble(), v[2].toLongLong()}, token);
        };
        fake_->clearCalls();
        CancelToken token;
        QFuture<PreviewResult> future = start(render, token);
        if (change.contains(kHang)) { // cancelled while the tool runs: killed and reaped at once
            QTRY_VERIFY(read(fake("pid")).endsWith('\n'));
            token.cancel();
            QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 60000);
            QVERIFY(::kill(read(fake("pid")).trimmed().toInt(), 0) == -1 && errno == ESRCH);
        }
        QString text = failureText(future);
        if (text == kOk) // the encode's target, and the bitrate measured
            text = fake_->calls().value(fake_->calls().size() - 3).args.value(20) + ' '
                + QString::number(future.result().actualMbps);
        text += "; " + calls();
        fake_->setPrelude(tool, "");
        fake_->clearCalls();
        // The next render at a bitrate not seen before, which the result cache cannot answer.
        QStringList next = (text.endsWith("; ") ? "50 2 720" : render).split(' ');
        next[1] = "5";
        QCOMPARE(failureText(start(next.join(' '))), kOk);
        QTEST(text + "; " + calls(), "expected");
    }

    // The cut and the encode report frames done of the clip's frames (the cut of those its length
    // and rate give, the encode of those the cut made), and the time left once a frame is done.
    void progress()
    {
        fake_->setPrelude("ffmpeg",
                          R"(case "$LAST" in *.mkv|*.mp4) printf 'frame=30\nprogress=continue\n)"
                          R"(frame=74\nprogress=end\n' ;; esac)");
        QStringList reports;
        const ProgressCallback progress = [&reports](const RenderProgress &p) {
            reports << QString::asprintf("%s %lld/%lld%s", p.step == RenderProgress::Step::Cut ? "cut" : "encode",
                                         p.frames, p.totalFrames, p.remainingSeconds < 0 ? "?" : "");
        };
        for (const double mbps : {2.0, 3.0}) // the second encodes the same clip again
            QCOMPARE(failureText(engine_->render(movie(), {50, mbps, 720}, {}, progress)), kOk);
        QCOMPARE(reports.join(", "),
                 "cut 0/75?, cut 30/75, cut 74/75, encode 0/74?, encode 30/74, encode 74/74, "
                 "encode 0/74?, encode 30/74, encode 74/74");
    }
};

void EngineTests::commandLines_data()
{
    columns({"arguments", "expected"});
    ClipPlan plan;
    plan.start = 97, plan.clipLength = 0.05, plan.outputHeight = 720;
    row("probe", probe("/F i.mp4").join(' '), "-v error -show_format -show_streams -of json /F i.mp4");
    row("cut", referenceCut("/F i.mp4", plan, "/W/reference.mkv").join(' '),
        R"(-v error -nostdin -progress pipe:1 -y -ss 97.0 -noautorotate -i /F i.mp4 -t 0.05 -map 0:V:0 -an -sn -dn )"
        R"(-vf scale=-2:2*trunc(min(ih\,720)/2),setsar=1,format=yuv420p -c:v ffv1 -level 3 /W/reference.mkv)");
    row("cut from earlier", referenceCutFromEarlier("/F i.mp4", plan, 10, "/W/reference.mkv").join(' '),
        R"(-v error -nostdin -progress pipe:1 -y -ss 87.0 -noautorotate -i /F i.mp4 -ss 10.0 -t 0.05 -map 0:V:0 -an )"
        R"(-sn -dn -vf scale=-2:2*trunc(min(ih\,720)/2),setsar=1,format=yuv420p -c:v ffv1 -level 3 /W/reference.mkv)");
    row("frame", frameExtraction("/W/reference.mkv", 25, "original.png").join(' '),
        R"(-v error -nostdin -y -i /W/reference.mkv -vf select=eq(n\,25) -frames:v 1 original.png)");
    row("encode", encode("/W/reference.mkv", "/W/encoded.mp4", 2000000).join(' '),
        "-v error -nostdin -progress pipe:1 -y -i /W/reference.mkv -map 0:v:0 -an -fps_mode passthrough -c:v libx265 "
        "-preset veryfast "
        "-x265-params log-level=error -b:v 2000000 -pix_fmt yuv420p -tag:v hvc1 /W/encoded.mp4");
}

// After a good render at 50 s, 2 Mbit/s, 720 lines: one render with one tool's step for one file
// changed, then the same one (the first, when it ran no tool) with sound tools. The reference clip
// is kept for a new bitrate alone and through a failure after it was made; a new scene or height
// limit, a missing file or a failure while it is made cuts again. Refused input runs no tool.
void EngineTests::render_data()
{
    // "seconds mbps maxHeight"; "<tool> <file>: <shell run first>"; "<-b:v> <measured Mbit/s>" or the
    // failure, then the calls of this render and of the next
    columns({"render", "change", "expected"});
    const QString frame = previewError(PreviewError::frameNotExtracted().message()),
                  rate = previewError(PreviewError::invalidBitrate().message());
    row("new bitrate", "50 4 720", "", "4000000 2.37; emx; emx");
    row("upper bound", "50 30 720", "", "30000000 2.37; emx; emx");
    row("lower bound", "50 0.3 720", "", "300000 2.37; emx; emx");
    row("new height limit", "50 2 1080", "", "2000000 2.37; cpoemx; emx");
    row("a scene one step on", "50.00000000000001 2 720", "", "2000000 2.37; cpoemx; emx");
    // A clip cut before whose reference is gone is cut again; it keeps its size and frame.
    row("reference clip gone", "50 3 720", R"(ffprobe encoded.mp4: rm "${LAST%/*/*/*}/reference.mkv")",
        "3000000 2.37; emx; cemx");
    row("original frame gone", "50 3 720", "ffmpeg encoded.png: rm clip-1/original.png", // runs in the work folder
        "SystemError: No such file or directory; emx; cpoemx");
    for (const char *render : {"50 30.01 720", "50 0.29 720", "50 nan 720"})
        row(render, render, "", rate + "; ; emx");
    row("infinite scene", "inf 2 720", "", previewError(PreviewError::invalidSceneTime().message()) + "; ; emx");
    // A failure while the clip is made shows with a new scene, one after it with a new bitrate.
    row("cut fails", "60 2 720", "ffmpeg reference.mkv: echo 'Schnitt kaputt' >&2; exit 1",
        previewError("Schnitt kaputt\n; c; cpoemx"));
    row("clip probe fails", "60 2 720", "ffprobe reference.mkv: exit 1",
        previewError(PreviewError::toolFailed("ffprobe", 1).message() + "; cp; cpoemx"));
    row("clip without width", "60 2 720", R"(ffprobe reference.mkv: echo '{"streams":[{"height":720}]}'; exit 0)",
        previewError(PreviewError::referenceNotCreated().message()) + "; cp; cpoemx");
    row("first extraction fails", "60 2 720", "ffmpeg original.png: echo nein >&2; exit 1",
        previewError("nein\n; cpo; cpoemx"));
    // ffmpeg's way with a frame past the clip: success, no file. An old frame must not pass for the new one.
    row("stale original frame", "60 2 720", "ffmpeg original.png: exit 0", frame + "; cpo; cpoemx");
    row("encode fails", "50 3 720", "ffmpeg encoded.mp4: echo 'x265 kaputt' >&2; exit 1",
        previewError("x265 kaputt\n; e; emx"));
    row("stale encoded frame", "50 3 720", "ffmpeg encoded.png: exit 0", frame + "; emx; emx");
    // The measured bitrate is the text ffprobe prints; without it, or as a JSON number, it is 0.
    row("no measured bitrate", "50 3 720", R"(ffprobe encoded.mp4: echo '{"streams":[{}]}'; exit 0)",
        "3000000 0; emx; emx");
    row("bitrate as a number", "50 3 720", R"(ffprobe encoded.mp4: echo '{"streams":[{"bit_rate":2}]}'; exit 0)",
        "3000000 0; emx; emx");
    // A still picture or a movie whose data ends before the scene: ffmpeg makes an empty clip.
    row("cut without frames", "60 2 720",
        R"(ffmpeg reference.mkv: printf 'frame=0\nprogress=end\n'; echo '[mov @ 0x5a] partial file' >&2; exit 0)",
        previewError(PreviewError::noFramesRead().message() + "\n[mov] partial file\n; cc; cpoemx"));
    // Keyframes far apart (MPEG-TS): the fast seek finds no frame, a cut from earlier does.
    row("no frame from the fast seek", "60 2 720",
        R"(ffmpeg reference.mkv: case "$*" in *" -i "*" -ss "*) ;; *) printf 'frame=0\nprogress=end\n'; exit 0 ;; esac)",
        "2000000 2.37; ccpoemx; emx");
    // Cancelled while a tool runs: the tool is killed, nothing after it starts.
    row("cancelled in the cut", "60 2 720", "ffmpeg reference.mkv: " + kHang, kCancelled + "; c; cpoemx");
    row("cancelled in the encode", "50 3 720", "ffmpeg encoded.mp4: " + kHang, kCancelled + "; e; emx");
}

void EngineTests::probeRules_data()
{
    columns({"json", "expected"}); // "W×H codec fps duration bitrate" or the failure
    const QString good = "1920×1080 h264 25 100 8520000",
                  noVideo = previewError(PreviewError::noVideoStream().message());
    const QString hdr = previewError(PreviewError::hdrNotSupported().message()),
                  length = previewError(PreviewError::unknownDuration().message());
    const QString interlaced = previewError(PreviewError::interlacedNotSupported().message());
    row("not JSON", "kein JSON", "SystemError: illegal value");
    row("top level is a list", R"([{"streams":[]}])", previewError(PreviewError::unreadableMovieData().message()));
    // Stream choice.
    const QString cover =
        R"({"codec_type":"video","codec_name":"mjpeg","width":600,"height":600,"disposition":{"attached_pic":1}})";
    const QString audio = R"({"codec_type":"audio","codec_name":"aac","duration":"100.0"})";
    const QString movie =
        R"({"codec_type":"video","codec_name":"hevc","width":1280,"height":720,"avg_frame_rate":"30000/1001","duration":"12.5"})";
    row("cover picture before the film", R"({"streams":[)" + audio + ',' + cover + ',' + movie + "]}",
        "1280×720 hevc 29.97003 12.5 none");
    row("only audio and covers", R"({"streams":[)" + cover + ',' + audio + "]}", noVideo);
    row("attached_pic as text is no cover", with(R"("disposition":{"attached_pic":"1"})"), good);
    row("height as text", with(R"("height":"1080")"), noVideo);
    // Width, then HDR and Dolby Vision, then interlace, then duration.
    row("width before HDR", with(R"("color_transfer":"smpte2084","width":null)"), noVideo);
    row("HLG before interlace", with(R"("color_transfer":"arib-std-b67","field_order":"tt")"), hdr);
    row("PQ before duration", with(R"("color_transfer":"smpte2084","duration":"0")", "{}"), hdr);
    row("DOVI in a key", with(R"("side_data_list":[{"x":{"DOVI":1}}])"), hdr);
    row("DOVI deep in lists, before interlace", with(R"("side_data_list":[[["no", ["xDOVIx"]]]],"field_order":"bb")"),
        hdr);
    row("field order text is exact", with(R"("field_order":"Progressive")"), interlaced);
    row("interlace before duration", with(R"("field_order":"tb","duration":null)", "{}"), interlaced);
    row("field order unknown", with(R"("field_order":"unknown")"), good);
    // Duration: the stream's text, else the format's text; no fallback from a bad stream value.
    row("stream duration N/A", with(R"("duration":"N/A")", R"({"duration":"90.5"})"), "1920×1080 h264 25 90.5 8520000");
    row("stream duration 0 does not fall back", with(R"("duration":"0")", R"({"duration":"90.5"})"), length);
    row("format duration as a number", with(R"("duration":null)", R"({"duration":90.5})"), length);
    // Frame rate: the average rate; anything unusable gives 25.
    row("empty pieces dropped", with(R"("avg_frame_rate":"//60//2/")"), "1920×1080 h264 30 100 8520000");
    for (const char *rate : {R"("0/0")", R"("30")", "50", R"("60/2/1")", R"("-50/1")", R"("50/0")"})
        row(rate, with(QString(R"("avg_frame_rate":)") + rate), good);
    // Bitrate and codec.
    row("tags BPS before BPS-eng", with(R"("bit_rate":null,"tags":{"BPS-eng":"1","BPS":"2"})"),
        "1920×1080 h264 25 100 2");
    row("stream bit_rate before tags", with(R"("tags":{"BPS":"2"})"), good);
    row("unparsable bit_rate hides tags", with(R"("bit_rate":"N/A","tags":{"BPS":"2"})"), "1920×1080 h264 25 100 none");
    row("bit_rate as a number is missing", with(R"("bit_rate":8520000,"tags":{"BPS":"3"})"), "1920×1080 h264 25 100 3");
    row("tags with a non-text value ignored", with(R"("bit_rate":null,"tags":{"BPS":"2","N":75})"),
        "1920×1080 h264 25 100 none");
    row("codec name not text", with(R"("codec_name":7)"), "1920×1080 Video 25 100 8520000");
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--exit-with-engine") { // leaves as Qt does when the display goes
        std::printf("%s\n", qPrintable((new PreviewEngine(argv[2]))->directory()));
        std::exit(0);
    }
    if (argc == 3 && QByteArray(argv[1]) == "--run-tool") {
        const WorkFolder folder;
        ToolRunner(folder).run(argv[2], {}, Cancellation());
        return 0;
    }
    EngineTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_engine.moc"
