// The widgets that show a scan and the bitrate finder: marks that line up with the scene slider,
// their colours and clicks, the ranked scene list and the choice of target; then both at work in
// the window on fake tools whose quality follows the scene and the bitrate.
#include "model/glance_model.h"
#include "model/scan_model.h"
#include "support/fake_scene_quality.h"
#include "support/fake_tools.h"
#include "support/text_table.h"
#include "ui/bitrate_target_dialog.h"
#include "ui/glance_view.h"
#include "ui/quality_chart.h"
#include "ui/scan_panel.h"
#include "ui/scan_results_window.h"
#include "ui/scene_list.h"
#include "ui/scene_strip.h"

#include <QAccessible>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QToolTip>
#include <QtTest>

static SceneResult scene(double seconds, double ssim, std::optional<double> psnr = 36.9)
{
    return {seconds, 3, 2.37, QualityNumbers{ssim, ssim, psnr, psnr, {{ssim, psnr}, {ssim - 0.1, psnr}}}};
}

// A scene row as the window has it, a label beside the slider, and the strip under the row.
struct SceneRow {
    QWidget window;
    QSlider *slider = new QSlider(Qt::Horizontal);
    SceneStrip *strip = new SceneStrip(slider, 1000);

    SceneRow()
    {
        auto *column = new QVBoxLayout(&window);
        auto *row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Szene")));
        row->addWidget(slider, 1);
        row->addWidget(new QLabel(QStringLiteral("00:00:00")));
        column->addLayout(row);
        column->addWidget(strip);
        slider->setRange(0, 99'900);
        window.resize(640, 80);
        window.show();
    }
};

class ScanWidgets : public QObject {
    Q_OBJECT
private slots:
    // The slider's own absolute-set click puts the handle's centre under the pointer: clicking it
    // at a mark's x must give the mark's time, to within the time one pixel stands for.
    void marksLineUpWithTheHandle()
    {
        SceneRow row;
        const int button = row.slider->style()->styleHint(QStyle::SH_Slider_AbsoluteSetButtons);
        QVERIFY(button != 0);
        const double secondsPerPixel = 99.9 / row.slider->width();
        for (const double seconds : {0.0, 4.2, 50.0, 87.5, 99.9}) {
            const QPoint onStrip(row.strip->markX(seconds), row.strip->height() / 2);
            const QPoint onSlider = row.slider->mapFrom(&row.window, row.strip->mapTo(&row.window, onStrip));
            QTest::mouseClick(row.slider, Qt::MouseButton(button), {}, QPoint(onSlider.x(), row.slider->height() / 2));
            QVERIFY2(std::abs(row.slider->value() / 1000.0 - seconds) <= secondsPerPixel,
                     qPrintable(QStringLiteral("%1 s ends at %2 s").arg(seconds).arg(row.slider->value() / 1000.0)));
        }
    }

    void clickingAMarkAsksForItsScene()
    {
        SceneRow row;
        row.strip->setScenes({scene(10, 0.97), scene(60, 0.91)});
        QSignalSpy clicked(row.strip, &SceneStrip::sceneClicked);
        const int y = row.strip->height() / 2;
        QTest::mouseClick(row.strip, Qt::LeftButton, {}, QPoint(row.strip->markX(60) + 2, y));
        QTest::mouseClick(row.strip, Qt::LeftButton, {}, QPoint(row.strip->markX(35), y));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toDouble(), 60.0);
    }

    void colourScale()
    {
        // Green from 0.98 up, yellow midway, red from 0.90 down.
        for (const auto &[ssim, hue] : {std::pair{1.0, 120}, {0.98, 120}, {0.94, 60}, {0.90, 0}, {0.5, 0}})
            QCOMPARE(SceneStrip::ssimColour(ssim).hsvHue(), hue);
    }

    void listRanksWorstFirstForKeyboardAndReader()
    {
        SceneList list;
        list.addScene(scene(10, 0.97, std::nullopt));
        list.addScene(scene(70, 0.91));
        list.addScene(scene(40, 0.95));
        list.show();
        QStringList rows;
        for (const QTreeWidgetItem *item :
             {list.headerItem(), list.topLevelItem(0), list.topLevelItem(1), list.topLevelItem(2)})
            rows.append(
                QStringList{item->text(0), item->text(1), item->text(2), item->text(3), item->text(4)}.join(u'|'));
        QCOMPARE(rows,
                 (QStringList{
                     u"Zeit|SSIM|Schlechtestes Bild|PSNR|Bitrate"_qs, u"00:01:10|0.9100|0.8100|36.9 dB|2.37 Mbit/s"_qs,
                     u"00:00:40|0.9500|0.8500|36.9 dB|2.37 Mbit/s"_qs, u"00:00:10|0.9700|0.8700|∞|2.37 Mbit/s"_qs}));
        QCOMPARE(QAccessible::queryAccessibleInterface(&list)->text(QAccessible::Name), u"Szenen"_qs);

        QSignalSpy chosen(&list, &SceneList::sceneChosen);
        list.setCurrentItem(list.topLevelItem(0));
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toDouble(), 40.0);
    }

    // Scenes less than a second apart (twelve on a six-second movie) show tenths, in the list and
    // in the marks' tooltips; whole seconds otherwise.
    void sceneTimes_data()
    {
        const auto row = table<QList<double>, QStringList>("seconds", "texts"); // of the scenes, worst first
        row("a second apart", {10, 11.2}, {"00:00:10", "00:00:11"});
        row("half a second apart", {0.25, 0.75, 1.24}, {"00:00:00.3", "00:00:00.8", "00:00:01.2"});
        row("into the next minute", {59.96, 60.5}, {"00:01:00.0", "00:01:00.5"});
    }

    void sceneTimes()
    {
        QFETCH(QList<double>, seconds);
        QFETCH(QStringList, texts);
        SceneList list;
        SceneRow row;
        row.slider->setRange(0, 70'000);
        QList<SceneResult> scenes;
        for (qsizetype i = 0; i < seconds.size(); ++i)
            scenes.append(scene(seconds[i], 0.9 + 0.01 * double(i)));
        for (qsizetype i = scenes.size(); i-- > 0;) // the best first: each later one goes above
            list.addScene(scenes[i]);
        row.strip->setScenes(scenes);
        for (qsizetype i = 0; i < seconds.size(); ++i) {
            QCOMPARE(list.topLevelItem(int(i))->text(0), texts[i]);
            const QPoint mark(row.strip->markX(seconds[i]), row.strip->height() / 2);
            QHelpEvent help(QEvent::ToolTip, mark, row.strip->mapToGlobal(mark));
            QApplication::sendEvent(row.strip, &help);
            QCOMPARE(QToolTip::text().section(u'\n', 0, 0), texts[i]);
        }
    }

    void targetDefaultsToGood()
    {
        BitrateTargetDialog dialog(u"Bitrate finden"_qs);
        QCOMPARE(dialog.targetSsim(), 0.96);
        const auto choices = dialog.findChildren<QRadioButton *>();
        QCOMPARE(choices.front()->text(), u"sehr gut (SSIM 0.98)"_qs);
        choices.front()->click();
        QCOMPARE(dialog.targetSsim(), 0.98);
    }

    // The middle third of the 100 s movie is hard; the scenes there are at 37.5 to 62.5 s. Of four
    // scenes, the one at 12.5 s (clip SSIM 0.94 at 2 Mbit/s) reaches 0.95 at 2.4 Mbit/s, the hard
    // ones at 4.3, the one at 87.5 s (0.945) with a flat curve only at 5.2: it joins the search.
    void scanAndFinderInTheWindow()
    {
        FakeTools tools;
        tools.setPrelude(
            "ffmpeg",
            fakeSceneQuality({{100.0 / 3, 200.0 / 3, 0.213}, {10, 14, 0.12}, {85, 90, 0.055 * std::pow(2, 0.1), 0.1}}));
        QFile(tools.directory() + "/film.mp4").open(QIODevice::WriteOnly);
        auto *model = new GlanceModel(tools.directory());
        model->setComparisonPauseMs(0);
        GlanceView view(model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto *scans = view.findChild<ScanPanel *>()->scanModel();
        const auto done = [&] { return !scans->running() && !model->busy() && model->shownResult()->quality; };
        const auto idle = [&] { return QTest::qWaitFor(done, 60000); }; // and the comparison measured
        model->openMovie(tools.directory() + "/film.mp4");
        QVERIFY(idle() && model->movie());

        view.findChild<QPushButton *>("scanButton")->click();
        QVERIFY(scans->running());
        model->setSeconds(5); // waits for the scan
        QVERIFY(idle());
        const QStringList starts =
            tools.values("-ss"); // of every cut: the scan's twelve, then the waiting comparison's
        QCOMPARE(starts.size(), 14);
        QCOMPARE(starts.last(), "4.0");

        auto *strip = view.findChild<SceneStrip *>();
        QCOMPARE(strip->scenes().size(), 12);
        const SceneResult worst = view.findChild<ScanResultsWindow *>()->list()->scenes().first();
        QCOMPARE(worst.sceneSeconds, 37.5);
        // Playing the clip may decode the encoded clip once more, whenever the window gets to it;
        // the comparison itself (cut, encode, measurement) comes from the cache.
        const auto comparisonCalls = [&] {
            const auto all = tools.calls();
            return std::count_if(all.begin(), all.end(), [](const FakeTools::Call &call) {
                return !call.args.constLast().endsWith(u"/playback-encoded.mkv"_qs);
            });
        };
        const auto calls = comparisonCalls();
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->markX(worst.seconds), strip->height() / 2));
        QCOMPARE(model->seconds(), 37.5);
        QVERIFY(idle());
        QCOMPARE(comparisonCalls(), calls);
        QCOMPARE(model->shownResult()->seconds, worst.seconds);

        model->setMbps(3); // another bitrate: the marks go
        QVERIFY(strip->scenes().isEmpty() && scans->scenes().isEmpty());
        view.findChild<QPushButton *>("scanButton")->click();
        model->setMaxHeight(720); // cancels
        QVERIFY(idle());
        QVERIFY(scans->scenes().isEmpty() && !scans->error());

        // On two engines, as on four cores, each in a work folder of its own.
        scans->setEngineCount(2);
        tools.clearCalls();
        QStringList progress;
        const auto *caption = view.findChild<QLabel *>("scanProgressLabel");
        connect(scans, &ScanModel::progressChanged, this, [&] { progress.append(caption->text()); });
        scans->findBitrate(0.95, 4);
        QVERIFY(idle());
        QCOMPARE(model->mbps(), 5.2);
        QCOMPARE(model->comparisonMbps(), 5.2);
        QCOMPARE(model->seconds(), scans->finderResult()->worstSceneSeconds);
        QCOMPARE(model->seconds(), 87.5);
        QSet<QString> folders;
        static const QRegularExpression folder("Bitglance-[-0-9A-F]{36}");
        for (const FakeTools::Call &call : tools.calls("ffmpeg"))
            folders << folder.match(call.args.join(' ')).captured();
        QCOMPARE(folders.size(), 2);
        // The scan's scenes, then the rounds': the searched three, every scene at the candidate 4.3,
        // then the four searched.
        for (const QString &text : {u"Szene 1 von 4"_qs, u"Runde 1 · Szene 1 von 3"_qs, u"Runde 4 · Szene 4 von 4"_qs,
                                    u"Runde 5 · Szene 1 von 4"_qs}) {
            QVERIFY2(
                std::any_of(progress.cbegin(), progress.cend(), [&](const QString &t) { return t.startsWith(text); }),
                qPrintable(progress.join(u'\n')));
        }
        auto *chart = view.findChild<QualityChart *>();
        QCOMPARE(chart->isVisibleTo(view.findChild<ScanResultsWindow *>()), true);
        QCOMPARE(chart->curves().size(), 4);
    }
};

QTEST_MAIN(ScanWidgets)
#include "tst_scan_widgets.moc"
