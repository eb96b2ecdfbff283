// The main window as a user meets it, driven through its widgets against a model that runs on
// fake tools (no real encodes).
#include "comparison_pane.h"
#include "fake_tools.h"
#include "glance_help_commands.h"
#include "glance_help_view.h"
#include "glance_main_window.h"
#include "glance_model.h"
#include "glance_view.h"
#include "movie_info.h"
#include "preview_engine.h"

#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

// The default film of the fake tools with another length.
QString probeJson(double duration)
{
    return FakeTools::defaultProbeJson().replace(QStringLiteral("100.000000"), QString::number(duration, 'f', 6));
}

// One main window on fake tools, and a film file for it to open.
struct Setup {
    FakeTools tools;
    QTemporaryDir films;
    std::weak_ptr<GlanceModel> weakModel;
    GlanceMainWindow *window = nullptr;

    explicit Setup(GlanceHelpCommands *help = nullptr)
    {
        auto model = GlanceModel::create(tools.directory());
        model->setPreviewPauseMs(0);
        model->setScreenScale([] { return 1.0; });
        weakModel = model;
        window = new GlanceMainWindow(help, std::move(model));
        window->show();
    }
    ~Setup() { delete window; }
    GlanceView *view() const { return window->view(); }
    GlanceModel *model() const { return view()->model(); }
    template<typename T> T *find(const char *name) const
    {
        return view()->findChild<T *>(QLatin1String(name));
    }
    QString film(const QString &name = QStringLiteral("Urlaub 2024.mp4"))
    {
        const QString path = films.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }
    // Opens a film of the given length and waits until its first comparison is shown.
    bool open(double duration)
    {
        tools.setProbeJson(probeJson(duration));
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

QAction *menuItem(QMenu *menu, const QString &text)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class GlanceViewTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void startState();
    void busyWhileProbingAndPreviewing();
    void sceneButtonsKeepWithinTheFilm_data();
    void sceneButtonsKeepWithinTheFilm();
    void slidersAndPresetsWriteTheModel();
    void heightLimitResetsZoomAndPanOnce();
    void sourceLine();
    void longErrorScrollsInItsArea();
    void dragMovesBothPanes_data();
    void dragMovesBothPanes();
    void doubleClickResetsBothPanes();
    void previewSizeFollowsThePane();
    void framesStaySharp();
    void fitWindowNeedsFilmAndWindow();
    void droppedFileIsOpened();
    void oneHelpWindow();
    void helpTextFitsAtMinimumSize();
    void closingTheWindowRemovesTheWorkFolder_data();
    void closingTheWindowRemovesTheWorkFolder();
};

void GlanceViewTest::cleanup()
{
    // Never leave a tool of a failed test running behind the next test.
    PreviewEngine::abortAllRunningTools();
    QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000);
}

void GlanceViewTest::startState()
{
    Setup s;
    QCOMPARE(s.find<QLabel>("subtitle")->text(), QStringLiteral("Bitrate und Bildqualität vergleichen"));
    QVERIFY(!s.find<QWidget>("controls")->isEnabled());
    QVERIFY(!s.find<QWidget>("recomputeButton")->isEnabled());
    QVERIFY(s.find<QWidget>("openButton")->isEnabled());
    QVERIFY(s.find<QWidget>("zoomSlider")->isEnabled());
    QVERIFY(!s.find<QWidget>("sourceLine")->isVisible());
    QCOMPARE(s.find<QLabel>("statusLabel")->text(), GlanceModel::startStatus());
    QVERIFY(!s.find<QWidget>("measurementLabel")->isVisible());
    QVERIFY(!s.find<QWidget>("errorArea")->isVisible());
    QVERIFY(s.model()->original().isNull() && s.model()->encoded().isNull());   // placeholders
    QCOMPARE(s.find<QPushButton>("openButton")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(s.find<QToolButton>("resolutionButton")->text(), QStringLiteral("Quelle"));
    QCOMPARE(s.find<QLabel>("timeLabel")->text(), QStringLiteral("00:01:00"));
    QCOMPARE(s.find<QSlider>("sceneSlider")->maximum(), 1000);   // 1 s while there is no film

    QStringList presets;
    const QList<QPushButton *> buttons = s.view()->findChildren<QPushButton *>(QStringLiteral("preset"));
    for (QPushButton *button : buttons)
        presets += button->text();
    QCOMPARE(presets, QStringList({"1", "2", "3.3", "5", "5.5"}));
}

void GlanceViewTest::busyWhileProbingAndPreviewing()
{
    Setup s;
    s.model()->openMovie(s.film());
    QVERIFY(s.model()->busy() && !s.model()->movie());
    QVERIFY(!s.find<QWidget>("controls")->isEnabled());
    QVERIFY(!s.find<QWidget>("recomputeButton")->isEnabled());
    QVERIFY(s.find<QWidget>("recomputeSpinner")->isVisible());
    QVERIFY(s.find<QWidget>("statusSpinner")->isVisible());
    QVERIFY(s.find<QWidget>("zoomSlider")->isEnabled());

    QTRY_VERIFY(s.model()->movie() && !s.model()->busy());
    QCOMPARE(s.find<QLabel>("subtitle")->text(), QStringLiteral("Urlaub 2024.mp4"));
    QVERIFY(s.find<QWidget>("measurementLabel")->isVisible());
    auto *recompute = s.find<QPushButton>("recomputeButton");
    QVERIFY(recompute->isEnabled());
    const QSize buttonSize = recompute->size();

    recompute->click();
    QVERIFY(s.model()->busy());
    QVERIFY(!recompute->isEnabled());
    QVERIFY(s.find<QWidget>("recomputeSpinner")->isVisible());
    QVERIFY(s.find<QWidget>("statusSpinner")->isVisible());
    QCOMPARE(recompute->size(), buttonSize);
    // The settings stay usable while the comparison is computed.
    QVERIFY(s.find<QWidget>("controls")->isEnabled());
    QVERIFY(s.find<QWidget>("bitrateSlider")->isEnabled());
    QVERIFY(s.idle());
    QVERIFY(recompute->isEnabled());
}

void GlanceViewTest::sceneButtonsKeepWithinTheFilm_data()
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
    QTest::newRow("0.5 s: the slider reaches 1 s, +1 s stops at 0.4") << 0.5 << 0.0 << "forwardButton"
                                                                      << 0.5 - 0.1 << 1000;
}

void GlanceViewTest::sceneButtonsKeepWithinTheFilm()
{
    QFETCH(double, duration);
    QFETCH(double, start);
    QFETCH(QString, button);
    QFETCH(double, expected);
    QFETCH(int, sliderEnd);

    Setup s;
    QVERIFY(s.open(duration));
    QCOMPARE(s.find<QSlider>("sceneSlider")->maximum(), sliderEnd);
    s.model()->setSeconds(start);
    QVERIFY(s.idle());

    QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
    s.view()->findChild<QPushButton *>(button)->click();
    QCOMPARE(s.model()->seconds(), expected);
    // A press that leaves the time as it is asks for nothing.
    QCOMPARE(requests.isEmpty(), expected == start);
    QCOMPARE(s.model()->busy(), expected != start);
}

void GlanceViewTest::slidersAndPresetsWriteTheModel()
{
    Setup s;
    QVERIFY(s.open(100));

    s.find<QSlider>("sceneSlider")->setValue(12345);
    QCOMPARE(s.model()->seconds(), 12.345);
    QCOMPARE(s.find<QLabel>("timeLabel")->text(), QStringLiteral("00:00:12"));
    QVERIFY(s.model()->busy());
    QVERIFY(s.idle());

    const QList<QPushButton *> presets = s.view()->findChildren<QPushButton *>(QStringLiteral("preset"));
    presets.at(2)->click();
    QCOMPARE(s.model()->mbps(), 3.3);
    QCOMPARE(s.find<QLabel>("bitrateLabel")->text(), QStringLiteral("3.3 Mbit/s"));
    QCOMPARE(s.find<QSlider>("bitrateSlider")->value(), 33);
    QVERIFY(s.model()->busy());
    QVERIFY(s.idle());

    // The same value again, from the preset or the slider, requests nothing.
    QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
    presets.at(2)->click();
    s.find<QSlider>("bitrateSlider")->setValue(33);
    QVERIFY(requests.isEmpty());

    // Zoom slider and the model stay in step both ways; zoom never asks for a comparison.
    s.find<QSlider>("zoomSlider")->setValue(400);
    QCOMPARE(s.model()->zoom(), 4.0);
    QCOMPARE(s.find<QLabel>("zoomLabel")->text(), QStringLiteral("4.0×"));
    s.model()->setZoom(1.5);
    QCOMPARE(s.find<QSlider>("zoomSlider")->value(), 150);
    QVERIFY(requests.isEmpty());
}

void GlanceViewTest::heightLimitResetsZoomAndPanOnce()
{
    Setup s;
    QVERIFY(s.open(100));
    auto *menuButton = s.find<QToolButton>("resolutionButton");
    QAction *limit720 = menuItem(menuButton->menu(), QStringLiteral("max. 720p"));
    QVERIFY(limit720);
    QCOMPARE(menuItem(menuButton->menu(), QStringLiteral("Quelle"))->isChecked(), true);

    s.model()->setZoom(4);
    s.model()->setPan(QSizeF(30, -10));
    limit720->trigger();
    QCOMPARE(s.model()->maxHeight(), 720);
    QCOMPARE(menuButton->text(), QStringLiteral("max. 720p"));
    QVERIFY(limit720->isChecked());
    QCOMPARE(s.model()->zoom(), 1.0);
    QCOMPARE(s.model()->pan(), QSizeF(0, 0));
    QVERIFY(s.model()->busy());
    QVERIFY(s.idle());

    // Choosing the checked item again changes nothing at all.
    s.model()->setZoom(3);
    QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
    limit720->trigger();
    QVERIFY(limit720->isChecked());
    QCOMPARE(s.model()->zoom(), 3.0);
    QVERIFY(requests.isEmpty());
}

void GlanceViewTest::sourceLine()
{
    MovieInfo movie;
    movie.codec = QStringLiteral("h264");
    movie.width = 1920;
    movie.height = 1080;
    movie.bitrate = 8520000;
    QCOMPARE(GlanceView::sourceLineText(movie), QStringLiteral("Quelle: H264 · 1920 × 1080 · 8.52 Mbit/s"));
    movie.bitrate.reset();
    QCOMPARE(GlanceView::sourceLineText(movie), QStringLiteral("Quelle: H264 · 1920 × 1080"));
}

void GlanceViewTest::longErrorScrollsInItsArea()
{
    Setup s;
    s.tools.setBody(QStringLiteral("ffprobe"),
                    QStringLiteral("i=0; while [ $i -lt 40 ]; do echo \"Zeile $i: kaputt\" >&2; i=$((i+1)); done; exit 1"));
    s.model()->openMovie(s.film());
    QVERIFY(s.idle());
    auto *area = s.find<QScrollArea>("errorArea");
    auto *label = s.find<QLabel>("errorLabel");
    QTRY_VERIFY(area->isVisible());
    QCOMPARE(label->text(), *s.model()->error());
    QVERIFY(area->height() <= 80);
    QVERIFY(label->height() > area->height());
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
    QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByMouse);
}

void GlanceViewTest::dragMovesBothPanes_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSizeF>("startPan");
    QTest::addColumn<QList<QPointF>>("moves");   // pointer offsets from the press point
    QTest::addColumn<QSizeF>("endPan");

    QTest::newRow("below the threshold") << 1.0 << QSizeF(0, 0) << QList<QPointF>{{5, 0}, {6, 7}} << QSizeF(0, 0);
    QTest::newRow("first change jumps the whole way") << 1.0 << QSizeF(0, 0) << QList<QPointF>{{12, 0}}
                                                     << QSizeF(12, 0);
    QTest::newRow("50 to the right") << 1.0 << QSizeF(0, 0) << QList<QPointF>{{10, 0}, {30, 0}, {50, 0}}
                                     << QSizeF(50, 0);
    QTest::newRow("from an offset, back near the press point")
        << 1.0 << QSizeF(30, -10) << QList<QPointF>{{20, 0}, {5, 5}} << QSizeF(35, -5);
    QTest::newRow("points, not pixels, at zoom 4") << 4.0 << QSizeF(0, 0) << QList<QPointF>{{0, 10}}
                                                  << QSizeF(0, 10);
}

void GlanceViewTest::dragMovesBothPanes()
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
    QCOMPARE(left->dragStart().has_value(), endPan != startPan);
    if (left->dragStart())
        QCOMPARE(*left->dragStart(), startPan);
    QVERIFY(!right->dragStart());   // the partner follows through the shared pan only
    mouse(QEvent::MouseButtonRelease, left, start + moves.constLast());
    QVERIFY(!left->dragStart());
    QCOMPARE(s.model()->pan(), endPan);
    QCOMPARE(s.model()->zoom(), zoom);
}

void GlanceViewTest::doubleClickResetsBothPanes()
{
    Setup s;
    auto *right = s.find<ComparisonPane>("encodedPane");
    s.model()->setZoom(4);
    s.model()->setPan(QSizeF(30, -10));
    QTest::mouseDClick(right, Qt::LeftButton, {}, right->imageArea().center().toPoint());
    QCOMPARE(s.model()->zoom(), 1.0);
    QCOMPARE(s.model()->pan(), QSizeF(0, 0));
    QCOMPARE(s.find<QLabel>("zoomLabel")->text(), QStringLiteral("1.0×"));
}

void GlanceViewTest::previewSizeFollowsThePane()
{
    Setup s;
    auto *left = s.find<ComparisonPane>("originalPane");
    auto *right = s.find<ComparisonPane>("encodedPane");
    QTRY_COMPARE(s.model()->previewSize(), left->imageArea().size());
    QCOMPARE(left->imageArea().size(), right->imageArea().size());

    s.window->resize(s.window->width() + 200, s.window->height() + 100);
    QTRY_COMPARE(s.model()->previewSize(), left->imageArea().size());
    QVERIFY(s.model()->previewSize().width() > 0);
}

void GlanceViewTest::framesStaySharp()
{
    // A checkerboard frame: with nearest-neighbour drawing only black and white can appear,
    // on any device pixel ratio (this test also runs with QT_SCALE_FACTOR=2).
    Setup s;
    QImage board(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QFile::remove(s.tools.directory() + QStringLiteral("/original-frame.png"));
    QVERIFY(board.save(s.tools.directory() + QStringLiteral("/original-frame.png")));
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
        int white = 0;
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            for (int x = inner.left(); x <= inner.right(); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                QVERIFY2(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255),
                         qPrintable(QStringLiteral("blended pixel at zoom %1: %2, %3").arg(zoom).arg(x).arg(y)));
                white += pixel == qRgb(255, 255, 255);
            }
        }
        QVERIFY(white > 0);
    }
}

void GlanceViewTest::fitWindowNeedsFilmAndWindow()
{
    Setup s;
    QTRY_COMPARE(s.view()->hostWindow(), s.window);
    auto *menuButton = s.find<QToolButton>("resolutionButton");
    QAction *fit = menuItem(menuButton->menu(), QStringLiteral("Fenster auf Quelle anpassen"));
    QVERIFY(fit);

    // Without a film nothing changes.
    s.model()->setZoom(4);
    s.view()->fitWindowToSource();
    QCOMPARE(s.model()->zoom(), 4.0);

    QVERIFY(s.open(100));
    s.model()->setMaxHeight(720);
    QVERIFY(s.idle());
    emit menuButton->menu()->aboutToShow();
    QVERIFY(fit->isEnabled());

    // In full screen the item is disabled and the action does nothing.
    s.window->setWindowState(Qt::WindowFullScreen);
    emit menuButton->menu()->aboutToShow();
    QVERIFY(!fit->isEnabled());
    s.model()->setZoom(4);
    s.view()->fitWindowToSource();
    QCOMPARE(s.model()->maxHeight(), 720);
    QCOMPARE(s.model()->zoom(), 4.0);

    s.window->setWindowState(Qt::WindowNoState);
    emit menuButton->menu()->aboutToShow();
    s.model()->setPan(QSizeF(5, 5));
    fit->trigger();
    QCOMPARE(s.model()->maxHeight(), 0);
    QCOMPARE(s.model()->zoom(), 1.0);
    QCOMPARE(s.model()->pan(), QSizeF(0, 0));
    QVERIFY(s.model()->busy());   // back to the source resolution: a new comparison follows
    QVERIFY(s.idle());
}

void GlanceViewTest::droppedFileIsOpened()
{
    Setup s;
    const QString path = s.film(QStringLiteral("Abgelegt.mkv"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = s.view()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.view(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.view(), &drop);
    QTRY_VERIFY(s.model()->movie());
    QCOMPARE(s.model()->movie()->path(), path);
}

void GlanceViewTest::oneHelpWindow()
{
    GlanceHelpCommands help;
    Setup s(&help);
    QVERIFY(help.action()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Question)));

    QVERIFY(!help.window());
    help.action()->trigger();
    QPointer<GlanceHelpView> first = help.window();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), QStringLiteral("Bitglance-Hilfe"));
    QCOMPARE(first->size(), QSize(680, 760));
    help.action()->trigger();
    QCOMPARE(help.window(), first.data());
    int helpWindows = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        helpWindows += qobject_cast<GlanceHelpView *>(window) != nullptr;
    QCOMPARE(helpWindows, 1);

    // Closed, it is made anew on the next request.
    first->close();
    QTRY_VERIFY(!first);
    help.action()->trigger();
    QVERIFY(help.window());
    QVERIFY(help.window()->isVisible());
}

void GlanceViewTest::helpTextFitsAtMinimumSize()
{
    GlanceHelpView help;
    QCOMPARE(help.minimumSize(), QSize(540, 500));
    QCOMPARE(help.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    help.resize(540, 500);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));

    const QList<QLabel *> labels = help.widget()->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 1 + 2 + 2 * 9);   // icon, title, subtitle, nine headings and paragraphs
    QString all;
    for (QLabel *label : labels) {
        if (label->text().isEmpty())
            continue;   // the icon
        all += label->text() + QLatin1Char('\n');
        QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        if (label->wordWrap())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
        QVERIFY(label->geometry().right() <= help.widget()->width());
    }
    QVERIFY(all.contains(QStringLiteral("mit „Film öffnen …“ eine SDR-Videodatei")));
    QVERIFY(all.contains(QStringLiteral("nicht Teil dieses Vergleichs. Der Encoder ist HEVC mit x265.\n")));
}

void GlanceViewTest::closingTheWindowRemovesTheWorkFolder_data()
{
    QTest::addColumn<bool>("jobRunning");
    QTest::newRow("idle") << false;
    QTest::newRow("while an encode runs") << true;
}

void GlanceViewTest::closingTheWindowRemovesTheWorkFolder()
{
    QFETCH(bool, jobRunning);
    Setup s;
    QVERIFY(s.open(100));
    const QString folder = s.model()->workDirectory();
    QVERIFY(QFileInfo(folder).isDir());
    if (jobRunning) {
        const qsizetype before = s.tools.calls().size();
        s.tools.setDelay(QStringLiteral("ffmpeg"), QStringLiteral("1"));
        s.model()->schedulePreview(true);
        QTRY_VERIFY(s.tools.calls().size() > before);   // the slow encode has started
    }

    QPointer<GlanceMainWindow> window = s.window;
    s.window->close();
    QTRY_VERIFY(!window);
    s.window = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(s.weakModel.expired(), 30000);
    QVERIFY(!QFileInfo::exists(folder));

    // A new window gets its own folder.
    Setup next;
    QVERIFY(next.model()->hasEngine());
    QVERIFY(next.model()->workDirectory() != folder);
}

QTEST_MAIN(GlanceViewTest)
#include "tst_glance_view.moc"
