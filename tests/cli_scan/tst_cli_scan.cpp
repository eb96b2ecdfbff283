// The scene scan and the bitrate finder through bitglance-cli: the ranking on a real movie whose
// middle third is hard, the finder's search on fake tools whose quality follows the bitrate, the
// command line's limits, and an interrupted scan.
#include "support/cli_run.h"
#include "support/fake_scene_quality.h"
#include "support/fake_tools.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QtTest>

#include <cerrno>
#include <csignal>

class ScanCli : public QObject {
    Q_OBJECT
private slots:
    void usageErrors_data()
    {
        QTest::addColumn<QString>("arguments");
        for (const char *arguments :
             {"scan F --mbps 2 --scenes 1", "scan F --mbps 2 --scenes 61", "scan F --mbps 2 --scenes 2.5",
              "scan F --mbps 2 --jobs 0", "scan F --mbps 0.2", "scan F --mbps 31", "scan F", "scan F --mbps 2,3",
              "scan F --mbps 2 --ssim 0.9", "advise F --ssim 0", "advise F --ssim 1.01", "advise F",
              "advise F --ssim 0.9 --jobs 2", "advise F --ssim 0.9 --mbps 2"})
            QTest::newRow(arguments) << QString(arguments);
    }
    void usageErrors()
    {
        const CliRun::Outcome run = CliRun().run(fetched<QString>("arguments").split(' '));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith("bitglance-cli: "), qPrintable(run.err));
    }

    // Flat grey, fine noise from 6 to 12 s, flat again: the scenes at 7.5 and 10.5 s lie in the
    // noise, the one at 4.5 s reaches into it. Two engines share the scenes.
    void scanRanksTheHardMiddleWorst()
    {
        const QString movie = TestMovies::movie("thirds.mp4",
                                                {"-f", "lavfi", "-i", "color=gray:s=320x180:r=10:d=18", "-vf",
                                                 "noise=alls=60:allf=t+u:enable='between(t,6,12)',format=yuv420p",
                                                 "-c:v", "libx264", "-qp", "0"});
        QVERIFY(!movie.isEmpty());
        const CliRun::Outcome run = CliRun().run({"scan", "--tools", TestMovies::systemToolsDirectory(), movie,
                                                  "--mbps", "0.3", "--scenes", "6", "--jobs", "2"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QList<QJsonObject> lines = CliRun::jsonLines(run.out);
        QCOMPARE(lines.size(), 7);
        QList<double> times;
        bool infinitePsnr = false; // a flat scene encodes without loss
        for (const QJsonObject &scene : lines.mid(0, 6)) {
            QCOMPARE(scene.keys(),
                     (QStringList{"actualMbps", "encoder", "psnr", "sampleSeconds", "seconds", "ssim", "worstFrameSsim"}));
            times << scene["seconds"].toDouble();
            QVERIFY(scene["worstFrameSsim"].toDouble() <= scene["ssim"]["clip"].toDouble());
            infinitePsnr = infinitePsnr || scene["psnr"]["clip"].isNull();
        }
        std::sort(times.begin(), times.end());
        QCOMPARE(times, (QList<double>{1.5, 4.5, 7.5, 10.5, 13.5, 16.5}));
        QVERIFY(infinitePsnr);
        QCOMPARE(lines.last()["scenes"].toInt(), 6);
        const double worst = lines.last()["worstSeconds"].toDouble();
        QVERIFY2(worst > 6 && worst < 12, qPrintable(QString::number(worst)));
    }

    // On fake tools whose quality follows the scene and the bitrate. Four scenes, the middle two
    // with clip SSIM 1 - 0.213 / Mbit/s (0.95 from 4.26, 0.98 from 10.65 Mbit/s). Twelve scenes, the
    // three worst at 2 Mbit/s reaching 0.98 at 5.0, 4.5 and 4.0 Mbit/s, the fifth-worst (0.97 at
    // 2 Mbit/s) with a flat curve, 1 - 0.0369 / (Mbit/s)^0.3: it falls short at 5.0 Mbit/s and
    // reaches 0.98 only at 7.8.
    void adviseReachesTheTargetInEveryScene_data()
    {
        const auto row = table<QString, int, double, double, double, int, int>("tools", "scenes", "target", "mbps",
                                                                               "worst", "rounds", "encodes");
        const QString thirds = fakeSceneQuality(100.0 / 3, 200.0 / 3);
        const QString flat = fakeSceneQuality(
            {{35, 40, 0.1}, {51, 56, 0.09}, {68, 73, 0.08}, {10, 14, 0.07}, {85, 90, 0.03 * std::pow(2, 0.3), 0.3}});
        row("gut", thirds, 4, 0.95, 4.3, 37.5, 4, 12);
        row("sehr gut", thirds, 4, 0.98, 10.7, 37.5, 4, 12);
        row("unreachable", thirds, 4, 0.99, 0, 0, 0, 0);
        row("flat fifth-worst scene", flat, 12, 0.98, 7.8, 87.5, 7, 34);
    }
    void adviseReachesTheTargetInEveryScene()
    {
        QFETCH(double, target);
        QFETCH(double, mbps); // 0: even 20 Mbit/s falls short
        FakeTools tools;
        tools.setPrelude("ffmpeg", fetched<QString>("tools"));
        const CliRun::Outcome run =
            CliRun().run({"advise", "--tools", tools.directory(), "film.mp4", "--ssim", QString::number(target),
                          "--scenes", QString::number(fetched<int>("scenes"))});
        if (mbps == 0) {
            QCOMPARE(run.status, 1);
            QCOMPARE(run.err, "Auch 20 Mbit/s erreichen SSIM 0.9900 nicht.\n");
            return;
        }
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QJsonObject found = CliRun::jsonLines(run.out).value(0);
        QCOMPARE(found["mbps"].toDouble(), mbps);
        QVERIFY(found["worstSsim"].toDouble() >= target);
        QVERIFY(std::abs(found["worstSeconds"].toDouble() - fetched<double>("worst")) < 2);
        QCOMPARE(found["scenesChecked"].toInt(), fetched<int>("scenes"));
        QVERIFY2(found["rounds"].toInt() <= fetched<int>("rounds"),
                 qPrintable(QString::number(found["rounds"].toInt())));
        // Every encode, the scan's among them.
        const qsizetype encodes = tools.values("-b:v").size();

        QVERIFY2(encodes <= fetched<int>("encodes"), qPrintable(QString::number(encodes)));
        // The scan first; every scene reaches the target at the bitrate found, one falls short 0.1 below.
        QMap<double, double> worstAt;
        for (const QJsonValue tried : found["tried"].toArray())
            worstAt.insert(tried["mbps"].toDouble(), tried["worstSsim"].toDouble());
        QCOMPARE(found["tried"][0]["mbps"].toDouble(), 2.0);
        QCOMPARE(worstAt.value(mbps), found["worstSsim"].toDouble());
        QVERIFY(worstAt.value(std::round(mbps * 10 - 1) / 10, 1) < target);
    }

    // More jobs than cores run as many engines as there are cores, which standard error says.
    void jobsCappedAtCores()
    {
        FakeTools tools;
        const int cores = std::min(QThread::idealThreadCount(), 59);
        const CliRun::Outcome run = CliRun().run({"scan", "--tools", tools.directory(), "film.mp4", "--mbps", "2",
                                                  "--scenes", QString::number(cores + 1), "--jobs", "60"});
        QCOMPARE(run.status, 0);
        QSet<QString> folders;
        static const QRegularExpression folder("Bitglance-[-0-9A-F]{36}");
        for (const FakeTools::Call &call : tools.calls("ffmpeg"))
            folders << folder.match(call.args.join(' ')).captured();
        QCOMPARE(folders.size(), cores);
        QVERIFY2(run.err.contains(QString("--jobs 60 is more than the %1 cores").arg(cores)), qPrintable(run.err));
    }

    // A scene that fails is named: here the data of the movie end before the third of four scenes,
    // or before the eighth of twelve on six seconds, where whole seconds would name two scenes.
    void failedSceneNamed_data()
    {
        const auto row = table<QString, QString, QString, QString>("duration", "scenes", "cut", "named");
        row("four on 100 s", "100.000000", "4", "61.5", "00:01:03");
        row("twelve on 6 s", "6.000000", "12", "2.75", "00:00:03.8");
    }
    void failedSceneNamed()
    {
        QFETCH(QString, duration);
        QFETCH(QString, scenes);
        QFETCH(QString, cut);
        QFETCH(QString, named);
        FakeTools tools;
        tools.setProbeJson(FakeTools::defaultProbeJson().replace("100.000000", duration));
        tools.setPrelude(
            "ffmpeg", QString(R"(case "$*" in *"-ss %1 "*) echo 'Daten enden vorher' >&2; exit 1 ;; esac)").arg(cut));
        const CliRun::Outcome run =
            CliRun().run({"scan", "--tools", tools.directory(), "film.mp4", "--mbps", "2", "--scenes", scenes});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, "Szene bei " + named + ": Daten enden vorher\n\n");
    }

    // Two engines each in an encode that would take half a minute.
    void interruptedScanEndsItsToolsAndLeavesNothing()
    {
        FakeTools tools;
        tools.setPrelude("ffmpeg", R"(case " $* " in *" -b:v "*) echo $$ >> "$DIR/pids"; exec sleep 30 ;; esac)");
        CliRun cli;
        QProcess *process = cli.start(
            {"scan", "--tools", tools.directory(), "film.mp4", "--mbps", "2", "--scenes", "4", "--jobs", "2"});
        const auto pids = [&] {
            QFile file(tools.directory() + "/pids");
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(pids().count('\n'), 2, 60000);
        ::kill(pid_t(process->processId()), SIGTERM);
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 128 + SIGTERM);
        QVERIFY(process->readAllStandardOutput().isEmpty());
        for (const QByteArray &pid : pids().split('\n'))
            QVERIFY2(pid.isEmpty() || (::kill(pid.toInt(), 0) == -1 && errno == ESRCH), pid.constData());
        QCOMPARE(QDir(cli.tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(ScanCli)
#include "tst_cli_scan.moc"
