// The command-line front end when things go wrong, as scripts see it: usage errors exit with 2,
// failures with 1 and their message, signals with 128 + n; none leaves a work folder or a
// half-written file behind.

#include "support/cli_run.h"
#include "support/fake_tools.h"

#include <QtTest>

#include <csignal>

namespace {

using Cli = CliRun;
using Outcome = CliRun::Outcome;

} // namespace

class CliErrors : public QObject {
    Q_OBJECT

private slots:
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QStringList render{"render", "film.mp4", "--seconds", "2", "--mbps"};
        QTest::newRow("nothing") << QStringList{} << "missing command";
        QTest::newRow("unknown command") << QStringList{"encode", "film.mp4"} << "unknown command";
        QTest::newRow("no film") << QStringList{"probe"} << "missing FILM";
        QTest::newRow("no seconds") << QStringList{"render", "film.mp4", "--mbps", "2"} << "needs --seconds";
        QTest::newRow("comma seconds") << QStringList{"render", "film.mp4", "--seconds", "2,5", "--mbps", "2"}
                                       << "not a number";
        QTest::newRow("infinite seconds")
            << QStringList{"render", "film.mp4", "--seconds", "inf", "--mbps", "2"} << "finite time";
        QTest::newRow("bad list") << render + QStringList{"2,x"} << "not a list of numbers";
        QTest::newRow("too high") << render + QStringList{"2,50"} << "from 0.3 to 30 Mbit/s: 50";
        QTest::newRow("nan") << render + QStringList{"nan"} << "from 0.3 to 30 Mbit/s: nan";
        QTest::newRow("same file name") << render + QStringList{"0.5,0.504"} << "would both write encoded-0.50.png";
        QTest::newRow("odd height") << render + QStringList{"2", "--max-height", "480"} << "0, 720 or 1080";
        QTest::newRow("render option on probe") << QStringList{"probe", "film.mp4", "--seconds", "2"} << "unknown";
        QTest::newRow("film is an output")
            << QStringList{"render", "original.png", "--seconds", "2", "--mbps", "2"} << "is the film itself";
        QTest::newRow("film is a clip") << QStringList{"render", "reference.mkv", "--seconds", "2", "--mbps",
                                                       "2",      "--clips"}
                                        << "is the film itself";
        QTest::newRow("two outputs in one file")
            << render + QStringList{"1,2", "--side-by-side", "encoded.png", "--out", "."}
            << "two outputs would both write";
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        Cli cli;
        QFile movie(cli.movies.filePath(QStringLiteral("original.png")));
        QVERIFY(movie.open(QIODevice::WriteOnly) && movie.write("film") == 4);
        movie.close();
        const Outcome outcome = cli.run(arguments);
        QCOMPARE(outcome.status, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY2(outcome.err.contains(message) && outcome.err.contains(QLatin1String("usage: bitglance-cli")),
                 qPrintable(outcome.err));
        QVERIFY(movie.open(QIODevice::ReadOnly) && movie.readAll() == "film");
        QVERIFY(cli.workFolders().isEmpty());
    }

    void failuresExitOne_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("tools");      // "fake", "audio" (a movie without video) or "none"
        QTest::addColumn<QString>("ffmpegBody"); // empty: the well-behaved fake
        QTest::addColumn<QString>("shell");      // empty: run directly
        QTest::addColumn<QString>("expectedError");

        const QStringList render{"render", "film.mp4", "--seconds", "5", "--mbps", "2"};
        const QString fake = QStringLiteral("fake");
        QTest::newRow("no video") << QStringList{"probe", "film.mp4"} << "audio" << QString() << QString()
                                  << "Keine Videospur gefunden.\n";
        QTest::newRow("tools missing") << QStringList{"probe", "film.mp4"} << "none" << QString() << QString()
                                       << "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.\n";
        QTest::newRow("tool failure") << render << fake << "echo 'Fehler beim Kodieren' >&2\nexit 1\n"
                                      << QString() << "Fehler beim Kodieren\n\n";
        QTest::newRow("out below a file") << render + QStringList{"--out", "film.mp4/x"} << fake << QString()
                                          << QString() << "film.mp4: not a folder\n";
        QTest::newRow("full output") << render << fake << QString() << R"("$0" "$@" >/dev/full)"
                                     << "cannot write to standard output: No space left on device\n";
        QTest::newRow("closed output") << render << fake << QString() << R"("$0" "$@" >&-)"
                                       << "bitglance-cli: standard output is closed\n";
        // Outputs never go through a link another user planted, nor hide a full disk.
        const QString link = "Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: <films>/";
        QTest::newRow("picture is a link")
            << render << fake << QString() << R"(ln -s Opfer original.png; "$0" "$@")" << link + "original.png\n";
        QTest::newRow("composed picture is a link")
            << render + QStringList{"--side-by-side", "v.png"} << fake << QString() << R"(ln -s Opfer v.png; "$0" "$@")"
            << link + "v.png\n";
        const QString full = R"(mkdir voll && unshare -rm sh -c 'mount -t tmpfs -o size=16k tmpfs voll &&)"
                             R"( { head -c 1M /dev/zero >voll/fill 2>/dev/null; exec "$0" "$@"; }' "$0" "$@")";
        QTest::newRow("disk full") << render + QStringList{"--out", "voll"} << fake << QString() << full
                                   << "Kein Platz mehr für die Datei: <films>/voll/original.png\n";
        QTest::newRow("disk full for the composed picture")
            << render + QStringList{"--side-by-side", "voll/v.png"} << fake
            << R"(case "$LAST" in *comparison.png) echo Bild >"$LAST"; exit 0 ;; esac)" << full
            << "Kein Platz mehr für die Datei: <films>/voll/v.png\n";
        // The composed picture's place is checked before any work, as the output folder is.
        QTest::newRow("composed picture in a missing folder")
            << render + QStringList{"--side-by-side", "fehlt/v.png"} << fake << QString() << QString()
            << "<films>/fehlt: no such folder\n";
        QTest::newRow("composed picture names a folder")
            << render + QStringList{"--side-by-side", "v.png"} << fake << QString() << R"(mkdir v.png; "$0" "$@")"
            << "<films>/v.png: is a folder\n";
    }

    void failuresExitOne()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, tools);
        QFETCH(QString, ffmpegBody);
        QFETCH(QString, shell);
        QFETCH(QString, expectedError);
        if (shell.contains("unshare") && QProcess::execute("unshare", {"-rm", "true"}) != 0)
            QSKIP("no mount namespace for a full disk");
        FakeTools fake;
        if (!ffmpegBody.isEmpty())
            fake.setPrelude(QStringLiteral("ffmpeg"), ffmpegBody);
        if (tools == QLatin1String("audio"))
            fake.setProbeJson(QStringLiteral(R"({"streams":[{"codec_type":"audio"}],"format":{"duration":"3.0"}})"));
        Cli cli;
        const QString folder = tools == QLatin1String("none") ? cli.movies.path() : fake.directory();
        const Outcome outcome = cli.run(arguments + QStringList{"--tools", folder}, shell);
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.endsWith(expectedError.replace("<films>", cli.movies.path())), qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
        QVERIFY(cli.workFolders().isEmpty());
        QVERIFY(!QFileInfo::exists(cli.movies.filePath(QStringLiteral("original.png"))) || shell.contains("dev/full")
                || shell.contains("unshare"));
        QVERIFY(!QFileInfo::exists(cli.movies.filePath(QStringLiteral("Opfer"))));
    }

    void interruptionsLeaveNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("shell");
        QTest::newRow("SIGINT") << int(SIGINT) << QString();
        QTest::newRow("SIGTERM") << int(SIGTERM) << QString();
        QTest::newRow("SIGHUP") << int(SIGHUP) << QString();
        // The reader of the output goes away once the tool runs.
        QTest::newRow("SIGPIPE") << int(SIGPIPE)
                                 << R"(("$0" "$@"; echo $? >status) | (until [ -e 'STARTED' ]; do sleep 0.05; done))";
        // A reader that does not read: the program waits to write its lines into a pipe of one page.
        QTest::newRow("SIGTERM, output not read")
            << int(SIGTERM)
            << R"(( (perl -e 'fcntl(STDOUT, 1031, 4096) or die'; echo $BASHPID >pid; exec "$0" "$@");)"
               R"( echo $? >status) | (until [ -e status ]; do sleep 0.1; done))";
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
        Cli cli;
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
        int status = process->exitCode();
        if (!shell.isEmpty()) {
            QFile file(cli.movies.filePath(QStringLiteral("status")));
            QVERIFY(file.open(QIODevice::ReadOnly));
            status = file.readAll().trimmed().toInt();
        }
        QCOMPARE(status, 128 + signal);
        QVERIFY(cli.workFolders().isEmpty());
        QVERIFY(blocked || QDir(cli.movies.path()).entryList({"*.png"}).isEmpty()); // written before it blocked
    }
};

QTEST_GUILESS_MAIN(CliErrors)
#include "tst_cli_errors.moc"
