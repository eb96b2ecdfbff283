// The command-line front end as scripts use it: exit statuses, the printed JSON, the files it
// writes, and what an interruption leaves behind.

#include "fake_tools.h"
#include "test_films.h"

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

class Cli {
public:
    Cli() { QVERIFY(tmp_.isValid()); }

    // The child sees a private temporary folder, so its work folders can be counted.
    QProcess *start(const QStringList &arguments, const QString &workingDirectory = QString())
    {
        process_.reset(new QProcess);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp_.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        process_->setProcessEnvironment(environment);
        if (!workingDirectory.isEmpty())
            process_->setWorkingDirectory(workingDirectory);
        process_->start(QStringLiteral(BITGLANCE_CLI), arguments);
        return process_.get();
    }

    Outcome run(const QStringList &arguments, const QString &workingDirectory = QString())
    {
        QProcess *process = start(arguments, workingDirectory);
        process->waitForFinished(240000);
        return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                process->readAllStandardOutput(), QString::fromUtf8(process->readAllStandardError())};
    }

    QStringList workFolders() const
    {
        return QDir(tmp_.path()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir tmp_;
    std::unique_ptr<QProcess> process_;
};

QList<QJsonObject> jsonLines(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (!document.isObject())
            qWarning() << "not a JSON object:" << line << error.errorString();
        objects << document.object();
    }
    return objects;
}

QString argumentAfter(const QStringList &arguments, const QString &name)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

} // namespace

class CliTests : public QObject {
    Q_OBJECT

private slots:
    void usageErrors_data();
    void usageErrors();
    void probePrintsOneObject();
    void failuresExitOne_data();
    void failuresExitOne();
    void renderOneBitrate();
    void renderSeveralBitratesCutsOnce();
    void interruptionLeavesNoWorkFolder_data();
    void interruptionLeavesNoWorkFolder();
    void realRenderEndToEnd();
};

void CliTests::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"encode", "film.mp4"};
    QTest::newRow("no film") << QStringList{"probe"};
    QTest::newRow("render without seconds") << QStringList{"render", "a.mp4", "--mbps", "2"};
    QTest::newRow("comma seconds") << QStringList{"render", "a.mp4", "--seconds", "2,5", "--mbps", "2"};
    QTest::newRow("bad mbps list") << QStringList{"render", "a.mp4", "--seconds", "2", "--mbps", "2,x"};
    QTest::newRow("odd height") << QStringList{"render", "a.mp4", "--seconds",    "2",
                                               "--mbps", "2",     "--max-height", "480"};
    QTest::newRow("render option on probe") << QStringList{"probe", "a.mp4", "--seconds", "2"};
    QTest::newRow("unknown option") << QStringList{"probe", "--fast", "a.mp4"};
}

void CliTests::usageErrors()
{
    QFETCH(QStringList, arguments);
    Cli cli;
    const Outcome outcome = cli.run(arguments);
    QCOMPARE(outcome.status, 2);
    QVERIFY(outcome.out.isEmpty());
    QVERIFY2(outcome.err.contains(QLatin1String("usage: bitglance-cli")), qPrintable(outcome.err));
    QVERIFY(cli.workFolders().isEmpty());
}

void CliTests::probePrintsOneObject()
{
    FakeTools tools;
    QTemporaryDir films;
    // A relative film with spaces, an umlaut and a leading dash reaches the tool as an absolute path.
    const QString name = QStringLiteral("-Mein Film ä.mp4");
    QFile(films.filePath(name)).open(QIODevice::WriteOnly);
    Cli cli;
    const Outcome outcome = cli.run({"probe", "--tools", tools.directory(), "--", name}, films.path());
    QCOMPARE(outcome.status, 0);
    // One line, keys in a fixed order for scripts that read it as text.
    QCOMPARE(QString::fromUtf8(outcome.out),
             QStringLiteral(R"({"path":"%1","duration":100,"width":1920,"height":1080,"fps":25,)"
                            R"("codec":"h264","bitrate":8520000})"
                            "\n")
                 .arg(films.filePath(name)));

    const QList<FakeTools::Call> calls = tools.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().args.last(), films.filePath(name));

    // Without a bitrate the key is null, not missing.
    tools.setProbeJson(
        QStringLiteral(R"({"streams":[{"codec_type":"video","width":640,"height":360,"duration":"4.0"}]})"));
    const Outcome second = cli.run({"probe", "--tools", tools.directory(), films.filePath(name)});
    QCOMPARE(second.status, 0);
    QVERIFY(second.out.contains("\"bitrate\":null"));
    QVERIFY(cli.workFolders().isEmpty());
}

void CliTests::failuresExitOne_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("ffmpegBody"); // empty: the well-behaved fake
    QTest::addColumn<QString>("probeJson");  // empty: the default film
    QTest::addColumn<bool>("withoutFfprobe");
    QTest::addColumn<QString>("expectedError");
    QTest::addColumn<int>("linesBefore"); // lines of the bitrates that did succeed

    const QStringList render{"render", "film.mp4", "--seconds", "5", "--mbps"};
    QTest::newRow("no video") << QStringList{"probe", "film.m4a"} << QString()
                              << R"({"streams":[{"codec_type":"audio"}],"format":{"duration":"3.0"}})" << false
                              << "Keine Videospur gefunden.\n"
                              << 0;
    QTest::newRow("tools missing") << QStringList{"probe", "film.mp4"} << QString() << QString() << true
                                   << "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.\n"
                                   << 0;
    // The engine rejects the second bitrate before any tool runs; the first one's line stays.
    QTest::newRow("bitrate out of range")
        << render + QStringList{"2,31"} << QString() << QString() << false << "Ungültige Bitrate.\n"
        << 1;
    QTest::newRow("tool failure") << render + QStringList{"2"} << "echo 'Fehler beim Kodieren' >&2\nexit 1\n"
                                  << QString() << false << "Fehler beim Kodieren\n\n"
                                  << 0;
}

void CliTests::failuresExitOne()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, ffmpegBody);
    QFETCH(QString, probeJson);
    QFETCH(bool, withoutFfprobe);
    QFETCH(QString, expectedError);
    QFETCH(int, linesBefore);
    FakeTools tools;
    if (!ffmpegBody.isEmpty())
        tools.setBody(QStringLiteral("ffmpeg"), ffmpegBody);
    if (!probeJson.isEmpty())
        tools.setProbeJson(probeJson);
    if (withoutFfprobe)
        tools.removeTool(QStringLiteral("ffprobe"));
    QTemporaryDir out;
    Cli cli;
    const Outcome outcome =
        cli.run(arguments + QStringList{"--tools", tools.directory()}
                + (arguments.first() == "render" ? QStringList{"--out", out.path()} : QStringList{}));
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.err, expectedError);
    QCOMPARE(jsonLines(outcome.out).size(), linesBefore);
    QVERIFY(cli.workFolders().isEmpty());
}

void CliTests::renderOneBitrate()
{
    FakeTools tools;
    QTemporaryDir out;
    Cli cli;
    const Outcome outcome = cli.run(
        {"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps", "2", "--out", out.path()});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(
        QString::fromUtf8(outcome.out),
        QStringLiteral(R"({"mbps":2,"width":1920,"height":1080,"actualMbps":2.37,"seconds":50,)"
                       R"("sampleSeconds":3,"measurement":"1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s",)"
                       R"("status":"Vergleich bei 00:00:50 · 3.0 s wirklich kodiert","original":"%1",)"
                       R"("encoded":"%2"})"
                       "\n")
            .arg(out.filePath("original.png"), out.filePath("encoded.png")));
    QCOMPARE(QImage(out.filePath("original.png")).pixelColor(0, 0), QColor(200, 40, 40));
    QCOMPARE(QImage(out.filePath("encoded.png")).pixelColor(0, 0), QColor(40, 40, 200));
    QVERIFY(cli.workFolders().isEmpty());
}

void CliTests::renderSeveralBitratesCutsOnce()
{
    FakeTools tools;
    QTemporaryDir out;
    Cli cli;
    const Outcome outcome = cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds=50", "--mbps",
                                     "1,3.3,20", "--max-height", "720", "--out", out.path()});
    QCOMPARE(outcome.status, 0);
    const QList<QJsonObject> lines = jsonLines(outcome.out);
    QCOMPARE(lines.size(), 3);
    const QStringList expected{"encoded-1.00.png", "encoded-3.30.png", "encoded-20.00.png"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(lines[i].value("encoded").toString(), out.filePath(expected[i]));
        QVERIFY(QFileInfo::exists(out.filePath(expected[i])));
    }
    QCOMPARE(lines[1].value("measurement").toString(),
             QStringLiteral("1920 × 1080 · Ziel 3.30 Mbit/s · gemessen 2.37 Mbit/s"));
    QVERIFY(!QFileInfo::exists(out.filePath("encoded.png")));

    // One probe of the film, one reference cut, then one encode per bitrate in the given order.
    QStringList encodes;
    int cuts = 0;
    for (const FakeTools::Call &call : tools.calls(QStringLiteral("ffmpeg"))) {
        if (call.args.contains(QLatin1String("libx265")))
            encodes << argumentAfter(call.args, "-b:v");
        if (call.args.contains(QLatin1String("ffv1"))) {
            ++cuts;
            QCOMPARE(argumentAfter(call.args, "-vf"), QStringLiteral("scale=-2:min(ih\\,720),setsar=1,format=yuv420p"));
        }
    }
    QCOMPARE(cuts, 1);
    QCOMPARE(encodes, (QStringList{"1000000", "3300000", "20000000"}));
}

void CliTests::interruptionLeavesNoWorkFolder_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

void CliTests::interruptionLeavesNoWorkFolder()
{
    QFETCH(int, signal);
    FakeTools tools;
    // A reference cut that would take a minute: the signal has to end it.
    tools.setBody(QStringLiteral("ffmpeg"), QStringLiteral("touch \"$DIR/started\"\nsleep 60\n"));
    QTemporaryDir out;
    Cli cli;
    QProcess *process = cli.start(
        {"render", "--tools", tools.directory(), "film.mp4", "--seconds", "5", "--mbps", "2", "--out", out.path()});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(tools.directory() + "/started"), 30000);
    QCOMPARE(cli.workFolders().size(), 1);
    ::kill(pid_t(process->processId()), signal);
    QVERIFY(process->waitForFinished(30000));
    QCOMPARE(process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(process->exitCode(), 128 + signal);
    QVERIFY(cli.workFolders().isEmpty());
}

void CliTests::realRenderEndToEnd()
{
    const QString toolsDirectory = TestFilms::systemToolsDirectory();
    if (toolsDirectory.isEmpty())
        QSKIP("no ffmpeg on this machine");
    const QString film = TestFilms::numberedFilm(640, 360, 25, 4);
    QVERIFY(!film.isEmpty());
    QTemporaryDir out;
    Cli cli;
    const Outcome outcome =
        cli.run({"render", "--tools", toolsDirectory, film, "--seconds", "2", "--mbps", "0.5,4", "--out", out.path()});
    QVERIFY2(outcome.status == 0, qPrintable(outcome.err));
    const QList<QJsonObject> lines = jsonLines(outcome.out);
    QCOMPARE(lines.size(), 2);
    // Scene 2 s: the clip starts at 1 s and the compared frame is the 25th of the clip, frame 50.
    QCOMPARE(lines[0].value("seconds").toDouble(), 2.0);
    QFile original(out.filePath("original.png"));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(TestFilms::frameNumberOf(original.readAll()), 50);
    for (const auto &name : {QStringLiteral("encoded-0.50.png"), QStringLiteral("encoded-4.00.png")}) {
        QFile encoded(out.filePath(name));
        QVERIFY(encoded.open(QIODevice::ReadOnly));
        QCOMPARE(TestFilms::frameNumberOf(encoded.readAll()), 50);
    }
    QVERIFY(lines[1].value("actualMbps").toDouble() > 0);
    QVERIFY(cli.workFolders().isEmpty());
}

QTEST_GUILESS_MAIN(CliTests)
#include "cli_tests.moc"
