// The command-line front end's probe and render as scripts use them: the printed JSON and the
// files it writes, on fake tools.

#include "support/cli_run.h"
#include "support/fake_tools.h"

#include <QImage>
#include <QtTest>

class CliRender : public QObject {
    Q_OBJECT

private slots:
    void helpAndProbe()
    {
        FakeTools tools;
        CliRun cli;
        const CliRun::Outcome help = cli.run({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith("usage: bitglance-cli"));

        // A relative movie with spaces, an umlaut and a leading dash reaches the tool as an absolute path.
        const QString name = QStringLiteral("-Mein Film ä.mp4");
        QFile(cli.movies.filePath(name)).open(QIODevice::WriteOnly);
        const CliRun::Outcome outcome = cli.run({"probe", "--tools", tools.directory(), "--", name});
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
        CliRun cli;
        const QString out = cli.movies.filePath(QStringLiteral("neu/ordner"));
        const CliRun::Outcome one = cli.run(
            {"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps", "2", "--out", out});
        QCOMPARE(one.status, 0);
        QCOMPARE(
            QString::fromUtf8(one.out),
            QStringLiteral(
                R"({"mbps":2,"width":1920,"height":1080,"actualMbps":2.37,"seconds":50,)"
                R"("sampleSeconds":3,"measurement":"1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s",)"
                R"("status":"Vergleich bei 00:00:50 · 3.0 s wirklich kodiert","frame":25,"original":"%1/original.png",)"
                R"("encoded":"%1/encoded.png","filmMegabytes":29.6,"ssim":{"frame":0.9026,"clip":0.951},)"
                R"("psnr":{"frame":30.26,"clip":null},"encoder":{"name":"x265","preset":"veryfast","depth":8}})"
                "\n")
                .arg(out));
        QCOMPARE(one.err, QString());
        QCOMPARE(QImage(out + "/original.png").pixelColor(0, 0), QColor(200, 40, 40));
        QCOMPARE(QImage(out + "/encoded.png").pixelColor(0, 0), QColor(40, 40, 200));

        // Several bitrates: one probe and one cut, then one encode and one measurement per bitrate
        // in the given order; a bitrate given twice is the same comparison again and runs no tool.
        tools.clearCalls();
        const CliRun::Outcome several =
            cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds=50", "--mbps", "1,3.3,1",
                     "--max-height", "720", "--out", out, "--clips", "--side-by-side", "Vergleich.png", "--progress"});
        QCOMPARE(several.status, 0);
        QCOMPARE(tools.calls().size(), 1 + 3 + 2 * 5); // the fifth: the composed picture
        for (const QString name : {"neu/ordner/reference.mkv", "neu/ordner/encoded-3.30.mp4", "Vergleich-1.00.png"})
            QVERIFY2(QFileInfo::exists(cli.movies.filePath(name)), qPrintable(name));
        QVERIFY(several.err.startsWith(R"({"step":"cut","frames":0,"totalFrames":75,"remainingSeconds":null})"));
        const QList<QJsonObject> lines = CliRun::jsonLines(several.out);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1].value("encoded").toString(), out + "/encoded-3.30.png");
        QCOMPARE(lines[1].value("sideBySide").toString(), cli.movies.filePath("Vergleich-3.30.png"));
        QCOMPARE(lines[2].value("encoded").toString(), out + "/encoded-1.00.png");
        QCOMPARE(lines[1].value("measurement").toString(),
                 QStringLiteral("1920 × 1080 · Ziel 3.30 Mbit/s · gemessen 2.37 Mbit/s"));
        QCOMPARE(tools.values("-c:v").count("utvideo"), 1); // one cut
        QCOMPARE(tools.values("-b:v"), QStringList({"1000000", "3300000"}));
        QCOMPARE(tools.calls(QStringLiteral("ffprobe")).first().args.last(), cli.movies.filePath("film.mp4"));
        QVERIFY(cli.workFolders().isEmpty());

        // Every frame's values, and the pictures of the worst frame (the first: SSIM 0.9001).
        const QJsonObject worst =
            CliRun::jsonLines(cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps",
                                       "2", "--out", out, "--per-frame", "--frame", "worst"})
                                  .out)
                .value(0);
        QCOMPARE(worst.value("frames").toArray().size(), 200);
        QCOMPARE(worst.value("frames").toArray().at(1).toObject(), QJsonObject({{"ssim", 0.9002}, {"psnr", 30.2}}));
        QCOMPARE(worst.value("worstFrame").toObject(),
                 QJsonObject({{"index", 0}, {"seconds", 49}, {"ssim", 0.9001}, {"psnr", 30.1}}));
        QCOMPARE(worst.value("frame").toInt(), 0);
        QCOMPARE(worst.value("seconds").toDouble(), 49.0);
        QCOMPARE(worst.value("ssim").toObject().value("frame").toDouble(), 0.9001);
    }
};

QTEST_GUILESS_MAIN(CliRender)
#include "tst_cli_render.moc"
