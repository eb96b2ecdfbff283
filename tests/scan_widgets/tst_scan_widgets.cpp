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
#include "ui/scan_results_panel.h"
#include "ui/scene_list.h"
#include "ui/scene_strip.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>
#include <algorithm>

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

    // A mark is at least 12 pixels high and fills its slot, up to half way to the marks beside it
    // (at either end as far out as in): a click anywhere in it asks for its scene.
    void clickingAMarkAsksForItsScene()
    {
        SceneRow row;
        row.strip->setScenes({scene(10, 0.97), scene(60, 0.91), scene(80, 0.95)});
        QSignalSpy clicked(row.strip, &SceneStrip::sceneClicked);
        const int y = row.strip->height() / 2;
        const int x10 = row.strip->markX(10), x60 = row.strip->markX(60), x80 = row.strip->markX(80);
        for (const int x : {x60 - (x60 - x10) / 2 + 1, x60 + (x80 - x60) / 2 - 1, x10 - (x60 - x10) / 2 - 2,
                            x80 + (x80 - x60) / 2 - 1})
            QTest::mouseClick(row.strip, Qt::LeftButton, {}, QPoint(x, y));
        QCOMPARE(clicked.size(), 3); // the third click lies beyond the first mark
        QCOMPARE(clicked[0].first().toDouble(), 60.0);
        QCOMPARE(clicked[1].first().toDouble(), 60.0);
        QCOMPARE(clicked[2].first().toDouble(), 80.0);
        for (const QRect &mark : row.strip->markRects())
            QVERIFY(mark.height() >= 12);
    }

    // A screen reader finds the strip as a list named by its title, one item per mark with time,
    // verdict and SSIM, the scene on screen selected.
    void stripForTheScreenReader()
    {
        SceneRow row;
        row.strip->setAccessibleName(u"Szenen bei 2.0 Mbit/s"_qs);
        row.strip->setScenes({scene(10, 0.97), scene(60, 0.91), scene(80, 0.985)});
        row.strip->setCurrentSeconds(60);
        QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(row.strip);
        QCOMPARE(strip->role(), QAccessible::List);
        QCOMPARE(strip->text(QAccessible::Name), u"Szenen bei 2.0 Mbit/s"_qs);
        QStringList items;
        for (int i = 0; i < strip->childCount(); ++i) {
            QAccessibleInterface *mark = strip->child(i);
            QCOMPARE(mark->role(), QAccessible::ListItem);
            QCOMPARE(mark->parent(), strip);
            QCOMPARE(strip->indexOfChild(mark), i);
            QCOMPARE(mark->state().selected, i == 1);
            const QRect onScreen = mark->rect();
            QCOMPARE(strip->childAt(onScreen.center().x(), onScreen.center().y()), mark);
            items.append(mark->text(QAccessible::Name));
        }
        QCOMPARE(items,
                 (QStringList{u"00:00:10 · gut · SSIM 0.9700"_qs, u"00:01:00 · sichtbare Verluste · SSIM 0.9100"_qs,
                              u"00:01:20 · sehr gut · SSIM 0.9850"_qs}));
        row.strip->setScenes({scene(10, 0.97)});
        QCOMPARE(strip->childCount(), 1);
        QCOMPARE(row.strip->currentScene(), -1);
    }
    void colourScale()
    {
        // Green from 0.98 up, yellow midway, red from 0.90 down.
        for (const auto &[ssim, hue] : {std::pair{1.0, 120}, {0.98, 120}, {0.94, 60}, {0.90, 0}, {0.5, 0}})
            QCOMPARE(SceneStrip::ssimColour(ssim).hsvHue(), hue);
    }

    // The scan's scenes at their bitrate and the finder's tries, worst first; each column's header
    // sorts by it (as a number, not as text), each row coloured as its mark.
    void listRanksWorstFirstForKeyboardAndReader()
    {
        SceneList list;
        list.addScene(scene(10, 0.97, std::nullopt), 2);
        list.addScene(scene(70, 0.91), 2);
        list.addScene(scene(40, 0.95), 2);
        list.addScene(scene(70, 0.965), 10.5, true);
        list.resize(700, 300);
        list.show();
        const auto rows = [&] {
            QStringList texts;
            for (int i = -1; i < list.topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = i < 0 ? list.headerItem() : list.topLevelItem(i);
                QStringList cells;
                for (int column = 0; column < list.columnCount(); ++column)
                    cells.append(item->text(column));
                texts.append(cells.join(u'|'));
            }
            return texts;
        };
        QCOMPARE(rows(),
                 (QStringList{u"Zeit|Ziel|SSIM|Schlechtestes Bild|PSNR|Bitrate"_qs,
                              u"00:01:10|2.0 Mbit/s|0.9100|0.8100|36.9 dB|2.37 Mbit/s"_qs,
                              u"00:00:40|2.0 Mbit/s|0.9500|0.8500|36.9 dB|2.37 Mbit/s"_qs,
                              u"00:01:10|10.5 Mbit/s · Suche|0.9650|0.8650|36.9 dB|2.37 Mbit/s"_qs,
                              u"00:00:10|2.0 Mbit/s|0.9700|0.8700|∞|2.37 Mbit/s"_qs}));
        QCOMPARE(list.topLevelItem(0)->background(2).color().hsvHue(), SceneStrip::ssimColour(0.91).hsvHue());
        QCOMPARE(QAccessible::queryAccessibleInterface(&list)->text(QAccessible::Name), u"Szenen"_qs);

        QSignalSpy chosen(&list, &SceneList::sceneChosen);
        list.setCurrentItem(list.topLevelItem(0));
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toDouble(), 40.0);

        const auto column = [&](int index) {
            QStringList cells;
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                cells.append(list.topLevelItem(i)->text(index));
            return cells;
        };
        // By number, in the order the header's indicator shows.
        const auto sortedBy = [&](int index, QStringList ascending) {
            const QHeaderView *header = list.header();
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(index) + header->sectionSize(index) / 2, header->height() / 2));
            QCOMPARE(header->sortIndicatorSection(), index);
            if (header->sortIndicatorOrder() == Qt::DescendingOrder)
                std::reverse(ascending.begin(), ascending.end());
            QCOMPARE(column(index), ascending);
        };
        for (int twice = 0; twice < 2; ++twice) {
            sortedBy(1, {u"2.0 Mbit/s"_qs, u"2.0 Mbit/s"_qs, u"2.0 Mbit/s"_qs, u"10.5 Mbit/s · Suche"_qs});
            sortedBy(4, {u"36.9 dB"_qs, u"36.9 dB"_qs, u"36.9 dB"_qs, u"∞"_qs});
            sortedBy(0, {u"00:00:10"_qs, u"00:00:40"_qs, u"00:01:10"_qs, u"00:01:10"_qs});
        }
    }

    // The finder's outcome in the panel beside the pictures, and what its chart shows.
    void finderOutcome_data()
    {
        const auto row = table<std::optional<double>, QString, QString>("mbps", "outcome", "caption");
        row("found", 3.4, u"Gefunden: 3.4 Mbit/s für SSIM 0.9600 · schlechteste Szene bei 00:01:10: SSIM 0.9612"_qs,
            u"Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie, die gefundene Bitrate "
            "markiert."_qs);
        row("the lowest", 0.3, u"Schon 0.3 Mbit/s erreichen SSIM 0.96."_qs,
            u"Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie, die gefundene Bitrate "
            "markiert."_qs);
        row("none", std::nullopt, u"Auch 20 Mbit/s erreichen SSIM 0.9600 nicht."_qs,
            u"Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie."_qs);
    }

    void finderOutcome()
    {
        QFETCH(std::optional<double>, mbps);
        FakeTools tools;
        GlanceModel model(tools.directory());
        ScanModel scans(&model);
        ScanResultsPanel panel(&scans, nullptr);
        FinderResult found;
        found.targetSsim = 0.96;
        found.mbps = mbps;
        found.worstSsim = 0.9612;
        found.worstSeconds = 70;
        found.curves = {{70, {{2, 0.9412}, {3.4, 0.9612}}}, {40, {{2, 0.9533}, {3.4, 0.9688}}}};
        ScanState state;
        state.finderResult = found;
        scans.setState(state);
        QCOMPARE(panel.findChild<QLabel *>("finderOutcome")->text(),
                 fetched<QString>("outcome") + u"\nGilt für HEVC / x265, Quelle."_qs);
        QCOMPARE(panel.findChild<QLabel *>("chartCaption")->text(), fetched<QString>("caption"));
        QCOMPARE(panel.tabs()->currentIndex(), 1);

        // The axis spans the points and the target, not down from 1; a point's tooltip names it.
        QualityChart *chart = panel.chart();
        chart->resize(420, chart->height());
        const QualityChart::SsimAxis axis = chart->ssimAxis();
        QVERIFY2(axis.bottom <= 0.9412 && axis.bottom > 0.9 && axis.top >= 0.9688 && axis.top < 1,
                 qPrintable(u"%1 to %2"_qs.arg(axis.bottom).arg(axis.top)));
        QCOMPARE(chart->pointText(chart->placeOf({3.4, 0.9612}).toPoint()), u"00:01:10 · 3.4 Mbit/s · SSIM 0.9612"_qs);
        QCOMPARE(chart->pointText(chart->placeOf({10, 0.9612}).toPoint()), QString());
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
            list.addScene(scenes[i], 2);
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

        QStringList titles; // the strip's, as the scan goes on
        const QMetaObject::Connection scenes = connect(scans, &ScanModel::scenesChanged, this, [&] {
            titles << view.findChild<QLabel *>("sceneStripTitle")->text();
        });
        view.findChild<QPushButton *>("scanButton")->click();
        QVERIFY(scans->running());
        model->setSeconds(5); // waits for the scan
        QVERIFY(idle());
        disconnect(scenes);
        QVERIFY2(titles.value(1).startsWith(u"Szenen bei 2.0 Mbit/s · 1 Szene geprüft · bei 00:00:"_qs),
                 qPrintable(titles.join('\n')));
        const QStringList starts =
            tools.values("-ss"); // of every cut: the scan's twelve, then the waiting comparison's
        QCOMPARE(starts.size(), 14);
        QCOMPARE(starts.last(), "4.0");

        auto *strip = view.findChild<SceneStrip *>();
        QCOMPARE(strip->scenes().size(), 12);
        auto *panel = view.findChild<ScanResultsPanel *>();
        const SceneResult worst = panel->list()->scenes().first();
        QCOMPARE(worst.sceneSeconds, 37.5);
        // The comparison's encode and measurement come from the cache. (Playing its clip cuts the
        // reference clip again and decodes the encoded one, whenever the window gets to it.)
        const auto comparisonCalls = [&] {
            const auto all = tools.calls();
            return std::count_if(all.begin(), all.end(), [](const FakeTools::Call &call) {
                const QString line = call.args.join(u' ');
                return line.contains(u"-b:v"_qs) || line.contains(u"stats_file"_qs);
            });
        };
        const auto calls = comparisonCalls();
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->markX(worst.seconds), strip->height() / 2));
        QCOMPARE(model->seconds(), 37.5);
        QVERIFY(idle());
        QCOMPARE(comparisonCalls(), calls);
        QCOMPARE(model->shownResult()->seconds, worst.seconds);

        // Another bitrate: the marks stay, greyed, titled with the scan's bitrate. Another scan
        // replaces them; a change of the height limit meanwhile lets it end at its own, and says so.
        model->setMbps(3);
        const auto *title = view.findChild<QLabel *>("sceneStripTitle");
        QCOMPARE(strip->scenes().size(), 12);
        QVERIFY(strip->greyed());
        QVERIFY(title->text().startsWith(u"Szenen bei 2.0 Mbit/s · 12 Szenen geprüft"_qs));
        QCOMPARE(strip->accessibleName(), u"Szenen bei 2.0 Mbit/s"_qs);
        view.findChild<QPushButton *>("scanButton")->click();
        QVERIFY(strip->scenes().isEmpty() && !strip->greyed());
        model->setMaxHeight(720);
        QCOMPARE(view.findChild<QLabel *>("scanRunNotice")->text(),
                 u"Prüfung läuft bei 3.0 Mbit/s, Quelle zu Ende, danach Vergleich bei 3.0 Mbit/s, max. 720p."_qs);
        QVERIFY(idle());
        QCOMPARE(scans->scenes().size(), 12);
        QVERIFY(!scans->error() && strip->greyed());
        QCOMPARE(strip->accessibleName(), u"Szenen bei 3.0 Mbit/s, Quelle"_qs);
        QCOMPARE(model->comparisonMbps(), 3.0);

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
        // The scan's scenes stay; the list gains the finder's tries; list and chart are shown
        // beside the pictures, in the main window.
        QCOMPARE(strip->scenes().size(), 12);
        QVERIFY(strip->greyed());
        QCOMPARE(panel->list()->topLevelItemCount(), int(12 + scans->finderResult()->tried.size()));
        QVERIFY(panel->isVisible() && panel->window() == view.window());
        QCOMPARE(panel->tabs()->currentWidget(), panel->chart()->parentWidget());
        QCOMPARE(panel->chart()->curves().size(), 4);
        auto *list = view.findChild<QPushButton *>("sceneListButton");
        QVERIFY(list->isChecked());
        list->click();
        QVERIFY(!panel->isVisible());
        list->click();
        QVERIFY(panel->isVisible() && panel->list()->hasFocus());

        // A finder that finds no bitrate keeps the scan's scenes and its tries join the list.
        scans->findBitrate(0.999, 4);
        QVERIFY(idle());
        QCOMPARE(strip->scenes().size(), 12);
        QCOMPARE(view.findChild<QLabel *>("scanOutcome")->text(),
                 u"Auch 20 Mbit/s erreichen SSIM 0.9990 nicht. · Gilt für HEVC / x265, max. 720p."_qs);
        QCOMPARE(panel->list()->topLevelItemCount(), int(12 + scans->finderResult()->tried.size()));
    }
};

QTEST_MAIN(ScanWidgets)
#include "tst_scan_widgets.moc"
