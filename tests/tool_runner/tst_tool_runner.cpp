// The engine's work folder and the tools it runs there. An engine needs both tools; its folder is
// private and goes with it, also when the program ends through exit(); abandoned folders of ended
// programs go at the start, and a removal never reaches outside the folder. A tool run: its output,
// the ways it fails and the messages that say why, its signals, and its end with the program, on
// cancellation and on abort; the operation queue that runs the work.

#include "engine/internal/hardware_encoder_test.h"
#include "engine/internal/operation_queue.h"
#include "engine/internal/tool_runner.h"
#include "engine/internal/work_folder.h"
#include "support/engine_on_fake_tools.h"
#include "support/failure_text.h"
#include "support/text_table.h"

#include <QtTest>

#include <csignal>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <utime.h>

using Fixture = EngineOnFakeTools;
const QString kMovie = Fixture::movie(), kOk = Fixture::ok, kCancelled = Fixture::cancelled, kHang = Fixture::hang;

class ToolRunnerTests : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f_;
    std::unique_ptr<WorkFolder> folder_; // the tool runner's

    QString fake(const QString &name) const { return f_->fakeFile(name); }
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

private slots:
    void init() { f_ = std::make_unique<Fixture>(), folder_ = std::make_unique<WorkFolder>(); }
    void cleanup()
    {
        f_->engine.reset(), folder_.reset();
        QVERIFY(Fixture::nothingLeft());
        f_.reset();
    }

    void creationNeedsBothTools_data()
    {
        // A change in the tools folder; root runs a file with one execute bit, not with none.
        QTest::addColumn<QString>("change");
        for (const char *change : {"rm ffmpeg", "chmod a-x ffmpeg", "rm ffprobe", "chmod a-x ffprobe",
                                   "rm ffmpeg && mkdir ffmpeg", "cd .. && rm -r \"$OLDPWD\""})
            QTest::newRow(change) << QString(change);
    }
    void creationNeedsBothTools()
    {
        f_->engine.reset();
        QCOMPARE(
            QProcess::execute("sh", {"-c", "cd \"$1\" && " + fetched<QString>("change"), "sh", f_->fake.directory()}),
            0);
        QCOMPARE(failureOf([&] { PreviewEngine(f_->fake.directory()); }),
                 previewError(PreviewError::toolsMissing().message()));
    }

    // Private whatever the umask, holding only its owner record (creation runs no tool), in /tmp
    // when $TMPDIR does not exist; removed with everything in it, also when it is gone already or
    // the program ends through exit() with the engine alive.
    void workFolder()
    {
        for (mode_t mask : {mode_t(0), mode_t(0277)}) {
            const mode_t previous = ::umask(mask);
            PreviewEngine engine(f_->fake.directory());
            ::umask(previous);
            QCOMPARE(int(QFileInfo(engine.directory()).permissions()), 0x7700); // the owner's alone
            QCOMPARE(QDir(engine.directory()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{"owner"});
            QVERIFY(QDir(engine.directory()).mkpath("inner/deeper") && f_->fake.calls().isEmpty());
        }
        qputenv("TMPDIR", QFile::encodeName(f_->temp.dir.filePath("fehlt")));
        QCOMPARE(QFileInfo(PreviewEngine(f_->fake.directory()).directory()).path(), "/tmp");
        qputenv("TMPDIR", QFile::encodeName(f_->temp.dir.path()));
        QVERIFY(QDir(f_->engine->directory()).removeRecursively());
        QProcess exiting; // this program as a child, ending as Qt ends one whose display went away
        exiting.start(QCoreApplication::applicationFilePath(), {"--exit-with-engine", f_->fake.directory()});
        QVERIFY(exiting.waitForFinished(60000) && exiting.exitCode() == 0);
        const QString exited = exiting.readAllStandardOutput().trimmed();
        QVERIFY2(exited.contains("Bitglance-") && !QFileInfo::exists(exited), qPrintable(exited));
    }

    // The folders of this user's engines whose process is gone go; nothing else is touched. An
    // owner in another PID namespace shows by its lock alone; a FIFO or link is no record.
    void abandonedFolders()
    {
        const QString pid = QString::number(::getpid());
        QStringList kept{QFileInfo(f_->engine->directory()).fileName()}, gone;
        QFile locked;
        for (const QString &entry :
             QStringList{"gone 999999999 1", "gone " + pid + " 1", "gone old", "kept young", "kept other user",
                         "kept link", "kept file", "kept abc", "kept locked", "kept young fifo", "gone old fifo"}) {
            const QString name = "Bitglance-"
                + (entry.endsWith("abc") ? "abc" : QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
            const QString path = QDir::temp().filePath(name), record = entry.section(' ', 1);
            (entry.startsWith("kept") ? kept : gone) << name;
            const QString folder =
                entry.endsWith("link") ? f_->temp.dir.filePath("Ziel") : path; // one that looks abandoned
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
        const QString outside = f_->temp.dir.filePath("fremd"), inner = folder_->file("innen");
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
        f_->fake.setBody("ffmpeg", kHang);
        QProcess program; // this program as a child, running the tool
        program.start(QCoreApplication::applicationFilePath(), {"--run-tool", fake("ffmpeg")});
        QTRY_VERIFY_WITH_TIMEOUT(Fixture::read(fake("pid")).endsWith('\n'), 30000);
        ::kill(pid_t(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(60000));
        const QString tool = "/proc/" + Fixture::read(fake("pid")).trimmed() + "/stat";
        const auto running = [&tool] {
            return !Fixture::read(tool).startsWith("<missing>") && Fixture::read(tool).split(' ').value(2) != "Z";
        };
        const bool ended = QTest::qWaitFor([&running] { return !running(); }, 3000);
        if (!ended)
            ::kill(Fixture::read(fake("pid")).trimmed().toInt(), SIGKILL);
        WorkFolder::removeAbandoned(QDir::tempPath()); // the killed program's, whose lock went with it
        QVERIFY(ended);
    }

    // A tool run and the ways a tool fails, each with a message that says why.
    void faults_data()
    {
        // The tool's body, and the failure or, when the run did not fail, what it printed on standard output.
        const auto add = table<QString, QString, QByteArray>("body", "failure", "output");
        const auto prints = [&add](const char *name, const QString &body, const QByteArray &out) {
            add(name, body, kOk, out);
        };
        const auto row = [&add](const char *name, const QString &body, const QString &failure) {
            add(name, body, failure, "");
        };
        prints("standard input is empty", "cat\necho read-all", "read-all\n");
        prints("standard error with status 0", "echo Warnung >&2\necho out", "out\n");
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
        prints("6 MB of output", "yes '{\"k\":\"v\"},' | head -c 6000000",
               QByteArray("{\"k\":\"v\"},\n").repeated(545455).left(6000000));
        // 3,000 user-perceived characters: umlauts, a decomposed umlaut, an emoji (two UTF-16 units),
        // CR LF; the message holds the last 2,500 of them.
        const QString ten = "äxÖßu\u0308\U0001F44D\r\n€\n ";
        row("log tail", "printf '%s' '" + ten.repeated(300) + "' >&2; exit 1", previewError(ten.repeated(250)));
    }
    void faults()
    {
        f_->fake.setBody("ffmpeg", fetched<QString>("body"));
        QByteArray output;
        QCOMPARE(failureOf([&] { output = run(); }),
                 QString(fetched<QString>("failure")).replace("<temp>", folder_->temporaryFolder()));
        QTEST(output, "output");
        f_->fake.setBody("ffmpeg", "true"); // the next run starts with an empty log
        QCOMPARE(failureOf([&] { run(); }), kOk);
        QCOMPARE(Fixture::read(log()), "");
    }

    // The program blocks and ignores signals (the command-line front end waits for them in a thread
    // of its own); a tool that inherited that would outlive it.
    // Only cards whose one-frame test encodes are offered; one that hangs is given up on.
    void graphicsCards()
    {
        f_->fake.setPrelude("ffmpeg", R"(case "$*" in *hevc_vaapi*) exec sleep 30 ;; *hevc_nvenc*) exit 1 ;; esac)");
        const QList<EncoderSetting> cards =
            HardwareEncoderTest(fake("ffmpeg"), ToolRunner(*folder_), folder_->path(), 300).run(Cancellation());
        QCOMPARE(cards.size(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(cards[i] == (EncoderSetting{VideoEncoder::HevcHardware, "", 8 + 2 * i, HardwareApi::Qsv}));
        QCOMPARE(f_->fake.calls().size(), 6);
    }

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
        f_->fake.setBody("ffmpeg", "echo \"$1\" >&2");
        CancelToken cancelled;
        cancelled.cancel();
        QStringList outcomes;
        outcomes << failureOf([&] { run("früher"); }) << failureOf([&] { run("nie", Cancellation(cancelled)); })
                 << failureText(f_->engine->probe(QUrl::fromLocalFile(kMovie), cancelled)) << Fixture::read(log());
        f_->fake.removeTool("ffmpeg");
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
        f_->fake.setBody("ffmpeg", "exec sleep 600"); // only a kill ends it in time
        const QList<QFuture<QByteArray>> futures{run(first), run(second), run(first)};
        QTRY_COMPARE(f_->fake.calls().size(), 2);
        PreviewEngine::abortAllRunningTools();
        for (const QFuture<QByteArray> &future : futures)
            QCOMPARE(failureText(future), kCancelled);
        f_->fake.setBody("ffmpeg", "echo again"); // later operations run as usual
        QCOMPARE(run(first).result() + run(second).result(), "again\nagain\n");
        QCOMPARE(f_->fake.calls().size(), 4);
    }
};

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
    ToolRunnerTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_tool_runner.moc"
