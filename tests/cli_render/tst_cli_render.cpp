// The command-line front end's probe and render as scripts use them: the printed JSON and the
// files it writes, on fake tools and once on the system's ffmpeg.

#include "support/cli_run.h"
#include "support/fake_tools.h"
#include "support/test_movies.h"

#include <QImage>
#include <QtTest>

namespace {

using Cli = CliRun;
using Outcome = CliRun::Outcome;
const auto jsonLines = CliRun::jsonLines;

} // namespace

class CliRender : public QObject {
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(CliRender)
#include "tst_cli_render.moc"
