// The rules of a scan and of the bitrate finder: where the scenes lie, how they are ranked, and
// the search for the lowest bitrate that reaches a target.
#include "analysis/bitrate_search.h"
#include "analysis/scene_plan.h"

#include <QtTest>
#include <cmath>
#include <limits>

class ScanRules : public QObject {
    Q_OBJECT
private slots:
    void sceneTimes_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("scenes");
        QTest::addColumn<QList<double>>("times");
        QTest::newRow("two") << 10.0 << 2 << QList<double>{2.5, 7.5};
        QTest::newRow("four") << 100.0 << 4 << QList<double>{12.5, 37.5, 62.5, 87.5};
        QTest::newRow("one is no scan") << 100.0 << 1 << QList<double>{};
        QTest::newRow("61 too many") << 100.0 << 61 << QList<double>{};
        QTest::newRow("no duration") << 0.0 << 12 << QList<double>{};
        QTest::newRow("unknown duration") << std::numeric_limits<double>::quiet_NaN() << 12 << QList<double>{};
    }
    void sceneTimes()
    {
        QFETCH(double, duration);
        QFETCH(int, scenes);
        QFETCH(QList<double>, times);
        QCOMPARE(ScenePlan::sceneTimes(duration, scenes), times);
    }
    void sixtyIsTheMost() { QCOMPARE(ScenePlan::sceneTimes(60, 60).back(), 59.5); }

    void summaryRanksWorstFirst()
    {
        const auto scene = [](double seconds, double ssim, double mbps) {
            return SceneResult{seconds, 3, mbps, QualityNumbers{ssim, ssim, 40.0, 40.0}};
        };
        // Two scenes tie on the worst SSIM: the earlier one is the worst.
        const QList<SceneResult> scenes = {scene(10, 0.97, 2.0), scene(50, 0.91, 2.6), scene(30, 0.91, 2.2),
                                           scene(70, 0.99, 1.2)};
        const auto summary = ScenePlan::summarize(scenes);
        QVERIFY(summary);
        QCOMPARE(summary->worstSeconds, 30.0);
        QCOMPARE(summary->worstSsim, 0.91);
        QCOMPARE(summary->meanSsim, (0.97 + 0.91 + 0.91 + 0.99) / 4);
        QCOMPARE(summary->meanActualMbps, 2.0);
        QList<double> order;
        for (const SceneResult &result : summary->worstFirst)
            order.append(result.seconds);
        QCOMPARE(order, (QList<double>{30, 50, 10, 70}));
        QVERIFY(!ScenePlan::summarize({}));
    }

    // Clip SSIM curves 1 - k / mbps that reach the target at `reached` Mbit/s.
    void bitrateSearch_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("reached");
        QTest::addColumn<double>("expected"); // 0: no result
        QTest::newRow("between steps") << 0.96 << 2.26 << 2.3;
        QTest::newRow("just above a step") << 0.98 << 7.01 << 7.1;
        QTest::newRow("below the minimum") << 0.96 << 0.25 << 0.3;
        QTest::newRow("just below the maximum") << 0.94 << 19.95 << 20.0;
        QTest::newRow("unreachable") << 0.98 << 20.5 << 0.0;
    }
    void bitrateSearch()
    {
        QFETCH(double, target);
        QFETCH(double, reached);
        QFETCH(double, expected);
        const auto ssimAt = [&](double mbps) { return 1 - reached * (1 - target) / mbps; };

        BitrateSearch search(target);
        for (int round = 0; round < 20 && search.next(); ++round)
            search.report(*search.next(), ssimAt(*search.next()));
        QVERIFY(search.done());
        QCOMPARE(search.result().value_or(0), expected);

        QCOMPARE(search.tried().front().mbps, 20.0);
        QVERIFY2(search.tried().size() <= 11, "a bisection in log space needs about ten renders");
        for (const BitrateSearch::Try &tried : search.tried()) {
            QVERIFY2(tried.mbps >= 0.3 && tried.mbps <= 20 && tried.mbps == std::round(tried.mbps * 10) / 10,
                     qPrintable(QString::number(tried.mbps, 'g', 17)));
        }
    }
};

QTEST_GUILESS_MAIN(ScanRules)
#include "tst_scan_rules.moc"
