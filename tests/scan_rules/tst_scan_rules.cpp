// The rules of a scan and of the bitrate finder: where the scenes lie, how they are ranked, and
// the search for the lowest bitrate that reaches a target.
#include "analysis/bitrate_search.h"
#include "analysis/scene_plan.h"

#include "support/text_table.h"

#include <QtTest>
#include <cmath>

class ScanRules : public QObject {
    Q_OBJECT
private slots:
    void sceneTimes_data()
    {
        const auto row = table<double, int, QList<double>>("duration", "scenes", "times");
        row("two", 10, 2, {2.5, 7.5}), row("four", 100, 4, {12.5, 37.5, 62.5, 87.5});
        row("one is no scan", 100, 1, {}), row("61 too many", 100, 61, {});
        row("no duration", 0, 12, {}), row("unknown duration", qQNaN(), 12, {});
    }
    void sceneTimes() { QTEST(ScenePlan::sceneTimes(fetched<double>("duration"), fetched<int>("scenes")), "times"); }
    void sixtyIsTheMost() { QCOMPARE(ScenePlan::sceneTimes(60, 60).back(), 59.5); }

    void summaryRanksWorstFirst()
    {
        const auto scene = [](double seconds, double ssim, double mbps) {
            return SceneResult{seconds, 3, mbps, QualityNumbers{ssim, ssim, 40.0, 40.0, {}}};
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
        const auto row = table<double, double, double>("target", "reached", "expected"); // expected 0: no result
        row("between steps", 0.96, 2.26, 2.3), row("just above a step", 0.98, 7.01, 7.1);
        row("below the minimum", 0.96, 0.25, 0.3), row("just below the maximum", 0.94, 19.95, 20);
        row("unreachable", 0.98, 20.5, 0);
    }
    void bitrateSearch()
    {
        QFETCH(double, target);
        const auto ssimAt = [&](double mbps) { return 1 - fetched<double>("reached") * (1 - target) / mbps; };

        BitrateSearch search(target);
        for (int round = 0; round < 20 && search.next(); ++round)
            search.report(*search.next(), ssimAt(*search.next()));
        QVERIFY(search.done());
        QTEST(search.result().value_or(0), "expected");

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
