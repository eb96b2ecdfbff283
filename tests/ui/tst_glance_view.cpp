// The main window as a user meets it, driven through its widgets against a model that runs on
// fake tools (no real encodes).
#include "comparison_pane.h"
#include "fake_tools.h"
#include "glance_help_commands.h"
#include "glance_help_view.h"
#include "glance_main_window.h"
#include "glance_model.h"
#include "glance_view.h"
#include "preview_engine.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

// One main window on fake tools, and a film file for it to open.
struct Setup {
    FakeTools tools;
    std::weak_ptr<GlanceModel> weakModel;
    GlanceMainWindow *window = nullptr;

    explicit Setup(GlanceHelpCommands *help = nullptr)
    {
        auto model = GlanceModel::create(tools.directory());
        model->setPreviewPauseMs(0);
        weakModel = model;
        window = new GlanceMainWindow(help, std::move(model));
        window->show();
    }
    ~Setup() { delete window; }
    GlanceView *view() const { return window->view(); }
    GlanceModel *model() const { return view()->model(); }
    template <typename T = QWidget> T *find(const char *name) const { return view()->findChild<T *>(name); }
    QString film() const
    {
        QFile file(tools.directory() + QStringLiteral("/Urlaub 2024.mp4"));
        return file.open(QIODevice::WriteOnly) ? file.fileName() : QString();
    }
    // Opens a film of the given length and waits until its first comparison is shown.
    bool open(double duration)
    {
        tools.setProbeJson(FakeTools::defaultProbeJson().replace("100.000000", QString::number(duration, 'f', 6)));
        model()->openMovie(film());
        return QTest::qWaitFor([this] { return model()->movie() && !model()->busy(); }, 20000);
    }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return !model()->busy(); }, 20000);
    }
};

void mouse(QEvent::Type type, QWidget *widget, QPointF point)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class GlanceViewTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        // Never leave a tool of a failed test running behind the next test.
        PreviewEngine::abortAllRunningTools();
        QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000);
    }

    void enabledWhileStartingAndBusy()
    {
        Setup s;
        QVERIFY(!s.find("controls")->isEnabled() && !s.find("recomputeButton")->isEnabled());
        QVERIFY(s.find("openButton")->isEnabled() && s.find("zoomSlider")->isEnabled());
        QVERIFY(!s.find("sourceLine")->isVisible() && !s.find("measurementLabel")->isVisible()
                && !s.find("errorArea")->isVisible());
        QCOMPARE(s.find<QLabel>("statusLabel")->text(), QStringLiteral("Film öffnen und eine Szene auswählen."));
        QCOMPARE(s.find<QToolButton>("resolutionButton")->text(), QStringLiteral("Quelle"));

        s.model()->openMovie(s.film());
        QVERIFY(s.model()->busy() && !s.model()->movie());
        QVERIFY(!s.find("controls")->isEnabled() && !s.find("recomputeButton")->isEnabled());
        QVERIFY(s.find("recomputeSpinner")->isVisible() && s.find("statusSpinner")->isVisible());
        QVERIFY(s.find("zoomSlider")->isEnabled());
        QVERIFY(s.idle() && s.model()->movie());
        auto *recompute = s.find<QPushButton>("recomputeButton");
        QVERIFY(recompute->isEnabled());

        recompute->click();
        QVERIFY(s.model()->busy() && !recompute->isEnabled());
        // The settings stay usable while the comparison is computed.
        QVERIFY(s.find("controls")->isEnabled() && s.find("bitrateSlider")->isEnabled());
        QVERIFY(s.idle() && recompute->isEnabled());
    }

    void sceneButtonsKeepWithinTheFilm_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("sliderEnd");

        QTest::newRow("30 s: +1 s near the end") << 30.0 << 29.5 << "forwardButton" << 30 - 0.1 << 29900;
        QTest::newRow("30 s: +1 s at the end") << 30.0 << 30 - 0.1 << "forwardButton" << 30 - 0.1 << 29900;
        QTest::newRow("30 s: −1 s near the start") << 30.0 << 0.4 << "backButton" << 0.0 << 29900;
        QTest::newRow("30 s: −1 s at 0") << 30.0 << 0.0 << "backButton" << 0.0 << 29900;
        QTest::newRow("0.5 s: slider to 1 s, +1 s stops at 0.4") << 0.5 << 0.0 << "forwardButton" << 0.5 - 0.1 << 1000;
    }

    void sceneButtonsKeepWithinTheFilm()
    {
        QFETCH(double, duration);
        QFETCH(double, start);
        QFETCH(QString, button);
        QFETCH(double, expected);
        Setup s;
        QVERIFY(s.open(duration));
        QTEST(s.find<QSlider>("sceneSlider")->maximum(), "sliderEnd");
        s.model()->setSeconds(start);
        QVERIFY(s.idle());

        QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
        s.view()->findChild<QPushButton *>(button)->click();
        QCOMPARE(s.model()->seconds(), expected);
        QCOMPARE(requests.isEmpty(), expected == start); // a press that leaves the time as it is asks for nothing
    }

    void settingsWriteTheModelOnce()
    {
        Setup s;
        QVERIFY(s.open(100));
        s.find<QSlider>("sceneSlider")->setValue(12345);
        QCOMPARE(s.model()->seconds(), 12.345);
        QCOMPARE(s.find<QLabel>("timeLabel")->text(), QStringLiteral("00:00:12"));
        QVERIFY(s.model()->busy() && s.idle());

        const QList<QPushButton *> presets = s.view()->findChildren<QPushButton *>(QStringLiteral("preset"));
        presets.at(2)->click();
        QCOMPARE(s.model()->mbps(), 3.3);
        QCOMPARE(s.find<QLabel>("bitrateLabel")->text(), QStringLiteral("3.3 Mbit/s"));
        QCOMPARE(s.find<QSlider>("bitrateSlider")->value(), 33);
        QVERIFY(s.model()->busy() && s.idle());

        // A height limit labels the menu button and resets zoom and pan.
        auto *menuButton = s.find<QToolButton>("resolutionButton");
        const QList<QAction *> items = menuButton->menu()->actions();
        QAction *limit720 = *std::find_if(items.begin(), items.end(),
                                          [](QAction *a) { return a->text() == QStringLiteral("max. 720p"); });
        s.model()->setZoom(4);
        s.model()->setPan(QSizeF(30, -10));
        limit720->trigger();
        QCOMPARE(s.model()->maxHeight(), 720);
        QCOMPARE(menuButton->text(), QStringLiteral("max. 720p"));
        QVERIFY(s.model()->zoom() == 1.0 && s.model()->pan().isNull());
        QVERIFY(s.model()->busy() && s.idle());

        // The zoom slider and the same values again (preset, slider, checked menu item) request
        // nothing, and the repeated menu item leaves the zoom alone.
        QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
        s.find<QSlider>("zoomSlider")->setValue(300);
        QCOMPARE(s.model()->zoom(), 3.0);
        presets.at(2)->click();
        s.find<QSlider>("bitrateSlider")->setValue(33);
        limit720->trigger();
        QCOMPARE(s.model()->zoom(), 3.0);
        QVERIFY(requests.isEmpty());
    }

    void dragAndDoubleClickMoveBothPanes_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSizeF>("startPan");
        QTest::addColumn<QList<QPointF>>("moves"); // pointer offsets from the press point
        QTest::addColumn<QSizeF>("endPan");

        QTest::newRow("below the threshold") << 1.0 << QSizeF(0, 0) << QList<QPointF>{{5, 0}, {6, 7}} << QSizeF(0, 0);
        QTest::newRow("first move: the whole way") << 1.0 << QSizeF(0, 0) << QList<QPointF>{{12, 0}} << QSizeF(12, 0);
        QTest::newRow("from an offset") << 1.0 << QSizeF(30, -10) << QList<QPointF>{{20, 0}, {5, 5}} << QSizeF(35, -5);
        QTest::newRow("points at zoom 4") << 4.0 << QSizeF(0, 0) << QList<QPointF>{{0, 10}} << QSizeF(0, 10);
    }

    void dragAndDoubleClickMoveBothPanes()
    {
        QFETCH(double, zoom);
        QFETCH(QSizeF, startPan);
        QFETCH(QList<QPointF>, moves);
        QFETCH(QSizeF, endPan);
        Setup s;
        auto *left = s.find<ComparisonPane>("originalPane");
        auto *right = s.find<ComparisonPane>("encodedPane");
        s.model()->setZoom(zoom);
        s.model()->setPan(startPan);

        const QPointF start = left->imageArea().center();
        mouse(QEvent::MouseButtonPress, left, start);
        for (const QPointF &move : moves)
            mouse(QEvent::MouseMove, left, start + move);
        QCOMPARE(s.model()->pan(), endPan);
        QCOMPARE(left->dragStart(), endPan != startPan ? std::optional(startPan) : std::nullopt);
        QVERIFY(!right->dragStart()); // the partner follows through the shared pan only
        mouse(QEvent::MouseButtonRelease, left, start + moves.constLast());
        QVERIFY(!left->dragStart() && s.model()->pan() == endPan);

        // A double-click in the other pane resets both.
        QTest::mouseDClick(right, Qt::LeftButton, {}, right->imageArea().center().toPoint());
        QVERIFY(s.model()->zoom() == 1.0 && s.model()->pan().isNull());
    }

    void framesStaySharp()
    {
        // A checkerboard frame: with nearest-neighbour drawing only black and white can appear,
        // on any device pixel ratio (this test also runs with QT_SCALE_FACTOR=2).
        Setup s;
        QImage board(16, 8, QImage::Format_RGB32);
        for (int i = 0; i < 16 * 8; ++i)
            board.setPixel(i % 16, i / 16, (i % 16 + i / 16) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        const QString frameFile = s.tools.directory() + QStringLiteral("/original-frame.png");
        QFile::remove(frameFile);
        QVERIFY(board.save(frameFile));
        QVERIFY(s.open(100));
        QCOMPARE(s.model()->original().size(), board.size());

        auto *pane = s.find<ComparisonPane>("originalPane");
        for (const double zoom : {1.0, 3.7, 16.0}) {
            s.model()->setZoom(zoom);
            s.model()->setPan(QSizeF(3.3, 1.7));
            const QImage shot = pane->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            const QRectF area = pane->imageArea();
            // Leave out the rounded corners at the bottom.
            const QRect inner(QPoint(int(area.left() * ratio), int(area.top() * ratio)),
                              QPoint(int(area.right() * ratio) - 1, int((area.bottom() - 12) * ratio)));
            QSet<QRgb> colours;
            for (int y = inner.top(); y <= inner.bottom(); ++y)
                for (int x = inner.left(); x <= inner.right(); ++x)
                    colours.insert(shot.pixel(x, y));
            QCOMPARE(colours, QSet<QRgb>({qRgb(0, 0, 0), qRgb(255, 255, 255)}));
        }
    }

    void oneHelpWindow()
    {
        GlanceHelpCommands help;
        Setup s(&help);
        help.action()->trigger();
        help.action()->trigger();
        QPointer<GlanceHelpView> first = help.window();
        QVERIFY(first && first->isVisible());
        const auto isHelp = [](QWidget *window) { return qobject_cast<GlanceHelpView *>(window) != nullptr; };
        QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), isHelp), 1);

        // Closed, it is made anew on the next request.
        first->close();
        QTRY_VERIFY(!first);
        help.action()->trigger();
        QVERIFY(help.window() && help.window()->isVisible());
    }

    void closingTheWindowRemovesTheWorkFolder_data()
    {
        QTest::addColumn<bool>("jobRunning");
        QTest::newRow("idle") << false;
        QTest::newRow("while an encode runs") << true;
    }

    void closingTheWindowRemovesTheWorkFolder()
    {
        QFETCH(bool, jobRunning);
        Setup s;
        QVERIFY(s.open(100));
        const QString folder = s.model()->workDirectory();
        if (jobRunning) {
            const qsizetype before = s.tools.calls().size();
            s.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("1"));
            s.model()->schedulePreview(true);
            QTRY_VERIFY(s.tools.calls().size() > before); // the slow encode has started
        }

        QPointer<GlanceMainWindow> window = s.window;
        s.window->close();
        QTRY_VERIFY(!window);
        s.window = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(s.weakModel.expired(), 30000);
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(GlanceViewTest)
#include "tst_glance_view.moc"
