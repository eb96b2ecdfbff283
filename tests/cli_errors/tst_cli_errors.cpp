// The command-line front end when things go wrong, as scripts see it: usage errors exit with 2,
// failures with 1 and their message, signals with 128 + n; none leaves a work folder or a
// half-written file behind.

#include "support/cli_run.h"
#include "support/fake_tools.h"
#include "support/text_table.h"

#include <QtTest>

#include <csignal>

class CliErrors : public QObject {
    Q_OBJECT

private slots:
    void usageErrors_data()
    {
        const auto row = table<QString, QString>("arguments", "message"); // the arguments split at spaces
        const QString render = "render film.mp4 --seconds 2 --mbps ";
        row("nothing", "", "missing command");
        row("unknown command", "encode film.mp4", "unknown command");
        row("no film", "probe", "missing FILM");
        row("no seconds", "render film.mp4 --mbps 2", "needs --seconds");
        row("comma seconds", "render film.mp4 --seconds 2,5 --mbps 2", "not a number");
        row("infinite seconds", "render film.mp4 --seconds inf --mbps 2", "finite time");
        row("bad list", render + "2,x", "not a list of numbers");
        row("too high", render + "2,50", "from 0.3 to 30 Mbit/s: 50");
        row("nan", render + "nan", "from 0.3 to 30 Mbit/s: nan");
        row("same file name", render + "0.5,0.504", "would both write encoded-0.50.png");
        row("odd height", render + "2 --max-height 480", "0, 720 or 1080");
        row("frame neither number nor worst", render + "2 --frame last", "from 0, or worst: last");
        row("render option on probe", "probe film.mp4 --seconds 2", "unknown");
        row("film is an output", "render original.png --seconds 2 --mbps 2", "is the film itself");
        row("film is a clip", "render reference.mkv --seconds 2 --mbps 2 --clips", "is the film itself");
        row("two outputs in one file", render + "1,2 --side-by-side encoded.png --out .",
            "two outputs would both write");
        row("unknown encoder", render + "2 --encoder x266", "--encoder takes x265, x264, svtav1 or hevc-hw: x266");
        row("x265 preset for SVT-AV1", render + "2 --encoder svtav1 --preset slow",
            "--preset for svtav1 takes 12, 11, 10, 9, 8, 7, 6, 5 or 4: slow");
        row("preset for a card", "scan film.mp4 --mbps 2 --encoder hevc-hw --preset fast", "hevc-hw takes none");
        row("12 bit", "advise film.mp4 --ssim 0.96 --depth 12", "--depth takes 8 or 10: 12");
    }

    void usageErrors()
    {
        CliRun cli;
        QFile movie(cli.movies.filePath(QStringLiteral("original.png")));
        QVERIFY(movie.open(QIODevice::WriteOnly) && movie.write("film") == 4);
        movie.close();
        const CliRun::Outcome outcome = cli.run(fetched<QString>("arguments").split(' ', Qt::SkipEmptyParts));
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY2(outcome.err.contains(fetched<QString>("message"))
                     && outcome.err.contains(QLatin1String("usage: bitglance-cli")),
                 qPrintable(outcome.err));
        QVERIFY(movie.open(QIODevice::ReadOnly) && movie.readAll() == "film");
        QVERIFY(cli.workFolders().isEmpty());
    }

    void failuresExitOne_data()
    {
        // The arguments, the tools ("fake", "audio": a movie without video, or "none"), a prelude for the fake
        // ffmpeg, a shell line to run the program in (empty: run directly), and the end of standard error.
        const auto row = table<QStringList, QString, QString, QString, QString>("arguments", "tools", "ffmpegBody",
                                                                                "shell", "expectedError");
        const QStringList render{"render", "film.mp4", "--seconds", "5", "--mbps", "2"};
        row("no video", {"probe", "film.mp4"}, "audio", "", "", "Keine Videospur gefunden.\n");
        row("tools missing", {"probe", "film.mp4"}, "none", "", "",
            "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.\n");
        row("tool failure", render, "fake", "echo 'Fehler beim Kodieren' >&2\nexit 1\n", "",
            "Fehler beim Kodieren\n\n");
        row("out below a file", render + QStringList{"--out", "film.mp4/x"}, "fake", "", "",
            "film.mp4: not a folder\n");
        row("full output", render, "fake", "", R"("$0" "$@" >/dev/full)",
            "cannot write to standard output: No space left on device\n");
        row("closed output", render, "fake", "", R"("$0" "$@" >&-)", "bitglance-cli: standard output is closed\n");
        // Outputs never go through a link another user planted, nor hide a full disk.
        const QString link = "Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: <films>/";
        row("picture is a link", render, "fake", "", R"(ln -s Opfer original.png; "$0" "$@")", link + "original.png\n");
        row("composed picture is a link", render + QStringList{"--side-by-side", "v.png"}, "fake", "",
            R"(ln -s Opfer v.png; "$0" "$@")", link + "v.png\n");
        const QString full = R"(mkdir voll && unshare -rm sh -c 'mount -t tmpfs -o size=16k tmpfs voll &&)"
                             R"( { head -c 1M /dev/zero >voll/fill 2>/dev/null; exec "$0" "$@"; }' "$0" "$@")";
        row("disk full", render + QStringList{"--out", "voll"}, "fake", "", full,
            "Kein Platz mehr für die Datei: <films>/voll/original.png\n");
        row("disk full for the composed picture", render + QStringList{"--side-by-side", "voll/v.png"}, "fake",
            R"(case "$LAST" in *comparison.png) echo Bild >"$LAST"; exit 0 ;; esac)", full,
            "Kein Platz mehr für die Datei: <films>/voll/v.png\n");
        // The composed picture's place is checked before any work, as the output folder is.
        row("composed picture in a missing folder", render + QStringList{"--side-by-side", "fehlt/v.png"}, "fake", "",
            "", "<films>/fehlt: no such folder\n");
        row("composed picture names a folder", render + QStringList{"--side-by-side", "v.png"}, "fake", "",
            R"(mkdir v.png; "$0" "$@")", "<films>/v.png: is a folder\n");
        row("no graphics card", render + QStringList{"--encoder", "hevc-hw", "--depth", "10"}, "fake",
            "case \"$*\" in *hevc_*) echo 'No VA display found' >&2; exit 1;; esac\n", "",
            "--encoder hevc-hw: no graphics card here encodes HEVC at 10 bit (tried VAAPI, NVENC and "
            "QSV); x265, x264 and svtav1 work everywhere\n");
    }

    void failuresExitOne()
    {
        QFETCH(QString, tools);
        QFETCH(QString, ffmpegBody);
        QFETCH(QString, shell);
        if (shell.contains("unshare") && QProcess::execute("unshare", {"-rm", "true"}) != 0)
            QSKIP("no mount namespace for a full disk");
        FakeTools fake;
        if (!ffmpegBody.isEmpty())
            fake.setPrelude(QStringLiteral("ffmpeg"), ffmpegBody);
        if (tools == QLatin1String("audio"))
            fake.setProbeJson(QStringLiteral(R"({"streams":[{"codec_type":"audio"}],"format":{"duration":"3.0"}})"));
        CliRun cli;
        const QString folder = tools == QLatin1String("none") ? cli.movies.path() : fake.directory();
        const CliRun::Outcome outcome =
            cli.run(fetched<QStringList>("arguments") + QStringList{"--tools", folder}, shell);
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.endsWith(QString(fetched<QString>("expectedError")).replace("<films>", cli.movies.path())),
                 qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
        QVERIFY(cli.workFolders().isEmpty());
        QVERIFY(!QFileInfo::exists(cli.movies.filePath(QStringLiteral("original.png"))) || shell.contains("dev/full")
                || shell.contains("unshare"));
        QVERIFY(!QFileInfo::exists(cli.movies.filePath(QStringLiteral("Opfer"))));
    }

    void interruptionsLeaveNothing_data()
    {
        const auto row = table<int, QString>("signal", "shell");
        row("SIGINT", SIGINT, ""), row("SIGTERM", SIGTERM, ""), row("SIGHUP", SIGHUP, "");
        // The reader of the output goes away once the tool runs.
        row("SIGPIPE", SIGPIPE, R"(("$0" "$@"; echo $? >status) | (until [ -e 'STARTED' ]; do sleep 0.05; done))");
        // A reader that does not read: the program waits to write its lines into a pipe of one page.
        row("SIGTERM, output not read", SIGTERM,
            R"(( (perl -e 'fcntl(STDOUT, 1031, 4096) or die'; echo $BASHPID >pid; exec "$0" "$@");)"
            R"( echo $? >status) | (until [ -e status ]; do sleep 0.1; done))");
    }

    void interruptionsLeaveNothing()
    {
        QFETCH(int, signal);
        QFETCH(QString, shell);
        FakeTools tools;
        // A reference cut that would take a minute: the signal has to end it.
        const bool blocked = shell.contains("perl");
        if (!blocked)
            tools.setBody(QStringLiteral("ffmpeg"), QStringLiteral("touch \"$DIR/started\"\nexec sleep 60\n"));
        CliRun cli;
        shell.replace(QLatin1String("STARTED"), tools.directory() + "/started");
        QProcess *process = cli.start({"render", "--tools", tools.directory(), "film.mp4", "--seconds", "5", "--mbps",
                                       blocked ? "1,2,3,4,5,6,7,8,9,10,11,12" : "2,3"},
                                      shell);
        const auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
        };
        if (blocked) // waiting in pipe_write (pipe_wait on older kernels)
            QTRY_VERIFY_WITH_TIMEOUT(read("/proc/" + read(cli.movies.filePath("pid")) + "/wchan").contains("pipe_w"),
                                     30000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(tools.directory() + "/started"), 30000);
        if (shell.isEmpty() || blocked)
            ::kill(blocked ? read(cli.movies.filePath("pid")).toInt() : pid_t(process->processId()), signal);
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(shell.isEmpty() ? process->exitCode() : read(cli.movies.filePath("status")).toInt(), 128 + signal);
        QVERIFY(cli.workFolders().isEmpty());
        QVERIFY(blocked || QDir(cli.movies.path()).entryList({"*.png"}).isEmpty()); // written before it blocked
    }
};

QTEST_GUILESS_MAIN(CliErrors)
#include "tst_cli_errors.moc"
