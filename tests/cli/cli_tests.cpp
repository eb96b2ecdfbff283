// The command-line front end as scripts use it: exit statuses, the printed JSON, the files it
// writes, and what interruptions and broken outputs leave behind.

#include "support/fake_tools.h"
#include "support/test_movies.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs bitglance-cli with a private temporary folder (so its work folders can be counted), in a
// folder that holds an empty "movie.mp4" for the fake tools. A shell line, when given, runs the
// program as "$0" "$@" (to close or redirect its output).
class Cli {
public:
    Cli() { QFile(movies.filePath(QStringLiteral("film.mp4"))).open(QIODevice::WriteOnly); }

    QProcess *start(const QStringList &arguments, const QString &shell = QString())
    {
        process.reset(new QProcess);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(movies.path());
        if (shell.isEmpty())
            process->start(QStringLiteral(BITGLANCE_CLI), arguments);
        else
            process->start(QStringLiteral("bash"), QStringList{"-c", shell, BITGLANCE_CLI} + arguments);
        return process.get();
    }

    Outcome run(const QStringList &arguments, const QString &shell = QString())
    {
        start(arguments, shell)->waitForFinished(240000);
        return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                process->readAllStandardOutput(), QString::fromUtf8(process->readAllStandardError())};
    }

    QStringList workFolders() const
    {
        return QDir(tmp.path()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QTemporaryDir tmp;
    QTemporaryDir movies;
    std::unique_ptr<QProcess> process;
};

QList<QJsonObject> jsonLines(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    }
    return objects;
}

} // namespace

class CliTests : public QObject {
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

    void helpAndProbe()
    {
        FakeTools tools;
        Cli cli;
        const Outcome help = cli.run({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith("usage: bitglance-cli"));

        // A relative movie with spaces, an umlaut and a leading dash reaches the tool as an absolute path.
        const QString name = QStringLiteral("-Mein Film ä.mp4");
        QFile(cli.movies.filePath(name)).open(QIODevice::WriteOnly);
        const Outcome outcome = cli.run({"probe", "--tools", tools.directory(), "--", name});
        QCOMPARE(outcome.status, 0);
        // One line, keys in a fixed order for scripts that read it as text.
        QCOMPARE(QString::fromUtf8(outcome.out),
                 QStringLiteral(R"({"path":"%1","duration":100,"width":1920,"height":1080,"fps":25,)"
                                R"("codec":"h264","bitrate":8520000})"
                                "\n")
                     .arg(cli.movies.filePath(name)));
        QCOMPARE(tools.calls().constFirst().args.last(), cli.movies.filePath(name));

        // Without a bitrate the key is null, not missing.
        tools.setProbeJson(
            QStringLiteral(R"({"streams":[{"codec_type":"video","width":640,"height":360,"duration":"4.0"}]})"));
        QVERIFY(cli.run({"probe", "--tools", tools.directory(), "--", name}).out.contains("\"bitrate\":null"));
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

    void renderWritesPicturesAndLines()
    {
        FakeTools tools;
        Cli cli;
        const QString out = cli.movies.filePath(QStringLiteral("neu/ordner"));
        const Outcome one = cli.run(
            {"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps", "2", "--out", out});
        QCOMPARE(one.status, 0);
        QCOMPARE(
            QString::fromUtf8(one.out),
            QStringLiteral(R"({"mbps":2,"width":1920,"height":1080,"actualMbps":2.37,"seconds":50,)"
                           R"("sampleSeconds":3,"measurement":"1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s",)"
                           R"("status":"Vergleich bei 00:00:50 · 3.0 s wirklich kodiert","original":"%1/original.png",)"
                           R"("encoded":"%1/encoded.png","ssim":{"frame":0.9026,"clip":0.951},)"
                           R"("psnr":{"frame":30.26,"clip":null}})"
                           "\n")
                .arg(out));
        QCOMPARE(one.err, QString());
        QCOMPARE(QImage(out + "/original.png").pixelColor(0, 0), QColor(200, 40, 40));
        QCOMPARE(QImage(out + "/encoded.png").pixelColor(0, 0), QColor(40, 40, 200));

        // Several bitrates: one probe and one cut, then one encode and one measurement per bitrate
        // in the given order; a bitrate given twice is the same comparison again and runs no tool.
        tools.clearCalls();
        const Outcome several =
            cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds=50", "--mbps", "1,3.3,1",
                     "--max-height", "720", "--out", out, "--clips", "--side-by-side", "Vergleich.png", "--progress"});
        QCOMPARE(several.status, 0);
        QCOMPARE(tools.calls().size(), 1 + 3 + 2 * 5); // the fifth: the composed picture
        for (const QString name : {"neu/ordner/reference.mkv", "neu/ordner/encoded-3.30.mp4", "Vergleich-1.00.png"})
            QVERIFY2(QFileInfo::exists(cli.movies.filePath(name)), qPrintable(name));
        QVERIFY(several.err.startsWith(R"({"step":"cut","frames":0,"totalFrames":75,"remainingSeconds":null})"));
        const QList<QJsonObject> lines = jsonLines(several.out);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1].value("encoded").toString(), out + "/encoded-3.30.png");
        QCOMPARE(lines[1].value("sideBySide").toString(), cli.movies.filePath("Vergleich-3.30.png"));
        QCOMPARE(lines[2].value("encoded").toString(), out + "/encoded-1.00.png");
        QCOMPARE(lines[1].value("measurement").toString(),
                 QStringLiteral("1920 × 1080 · Ziel 3.30 Mbit/s · gemessen 2.37 Mbit/s"));
        QStringList encodes;
        int cuts = 0;
        for (const FakeTools::Call &call : tools.calls(QStringLiteral("ffmpeg"))) {
            if (call.args.contains(QLatin1String("libx265")))
                encodes << call.args.at(call.args.indexOf(QLatin1String("-b:v")) + 1);
            cuts += call.args.contains(QLatin1String("ffv1"));
        }
        QCOMPARE(cuts, 1);
        QCOMPARE(encodes.first(), QStringLiteral("1000000"));
        QCOMPARE(encodes.at(1), QStringLiteral("3300000"));
        QCOMPARE(tools.calls(QStringLiteral("ffprobe")).first().args.last(), cli.movies.filePath("film.mp4"));
        QVERIFY(cli.workFolders().isEmpty());
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

    void realRenderEndToEnd()
    {
        const QString toolsDirectory = TestMovies::systemToolsDirectory();
        if (toolsDirectory.isEmpty())
            QSKIP("no ffmpeg on this machine");
        const QString movie = TestMovies::numberedMovie(640, 360, 25, 4);
        QVERIFY(!movie.isEmpty());
        Cli cli;
        const Outcome outcome = cli.run({"render", "--tools", toolsDirectory, movie, "--seconds", "2", "--mbps",
                                         "0.5,4", "--side-by-side", "v.png"});
        QVERIFY2(outcome.status == 0, qPrintable(outcome.err));
        const QList<QJsonObject> lines = jsonLines(outcome.out);
        QCOMPARE(lines.size(), 2);
        // Scene 2 s: the clip starts at 1 s and the compared frame is the 25th of the clip, frame 50.
        QCOMPARE(lines[0].value("seconds").toDouble(), 2.0);
        for (const char *name : {"original.png", "encoded-0.50.png", "encoded-4.00.png"}) {
            QFile picture(cli.movies.filePath(QLatin1String(name)));
            QVERIFY(picture.open(QIODevice::ReadOnly));
            QCOMPARE(TestMovies::frameNumberOf(picture.readAll()), 50);
        }
        QVERIFY(lines[1].value("actualMbps").toDouble() > 0);
        const auto ssim = [&lines](int i) { return lines[i].value("ssim").toObject().value("clip").toDouble(); };
        QVERIFY2(ssim(0) > 0.5 && ssim(0) < ssim(1) && ssim(1) <= 1, qPrintable(QString::number(ssim(0))));
        QCOMPARE(QImage(cli.movies.filePath("v-0.50.png")).width(), 2 * 640);
        QVERIFY(cli.workFolders().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CliTests)
#include "cli_tests.moc"
