// The desktop program as a user meets it, driven through its widgets against a model on fake tools,
// and the arithmetic behind it: where a frame pixel lands, how the window is fitted to the source.
#include "engine/movie_path.h"
#include "engine/preview_engine.h"
#include "model/glance_model.h"
#include "support/fake_tools.h"
#include "ui/comparison_pane.h"
#include "ui/glance_help_commands.h"
#include "ui/glance_view.h"
#include "ui/glance_window_reader.h"
#include "ui/main_window.h"
#include "ui/pane_geometry.h"
#include "ui/view_texts.h"
#include "ui/window_fit.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <fcntl.h>
#include <numbers>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kStart = u"Film öffnen und eine Szene auswählen."_s;
using View = GlanceModel::ComparisonView;

// One main window on fake tools, and a movie file for it to open.
struct Setup {
    FakeTools tools;
    QPointer<GlanceModel> weakModel;
    QPointer<MainWindow> window;
    bool active = false;
    QString movie = tools.directory() + u"/Urlaub 2024.mp4"_s;

    // On the given screen of the test's screens (screens.json), the primary one without.
    explicit Setup(GlanceHelpCommands *help = nullptr, QScreen *screen = nullptr)
    {
        QFile(movie).open(QIODevice::WriteOnly);
        auto *model = new GlanceModel(tools.directory());
        model->setComparisonPauseMs(0);
        weakModel = model;
        window = new MainWindow(help, model);
        if (screen)
            window->move(screen->geometry().topLeft());
        window->show();
        window->activateWindow(); // its shortcuts need it active
        active = QTest::qWaitForWindowActive(window);
    }
    ~Setup() { delete window; }
    GlanceModel *model() const { return window->view()->model(); }
    template <typename T = QWidget> T *find(const char *name) const { return window->findChild<T *>(name); }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return !model()->busy(); }, 20000);
    }
    // Opens a movie of the given length and waits until its first comparison is shown.
    bool open(double duration = 100)
    {
        tools.setProbeJson(FakeTools::defaultProbeJson().replace("100.000000", QString::number(duration, 'f', 6)));
        model()->openMovie(movie);
        return idle() && model()->movie();
    }
};

void mouse(QEvent::Type type, QWidget *widget, QPointF point)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class UiTests : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowTheModel()
    {
        Setup s;
        s.tools.setProbeJson(FakeTools::defaultProbeJson().replace(u"8520000"_s, u"1125000"_s));
        auto *recompute = s.find("recomputeButton");
        QVERIFY(s.active && !s.find("controls")->isEnabled() && s.find("zoomSlider")->isEnabled());
        QVERIFY(!s.find("sourceLine")->isVisible() && !s.find("measurementLabel")->isVisible()
                && !s.find("errorArea")->isVisible());
        QCOMPARE(s.find<QLabel>("statusLabel")->text(), kStart);
        for (const bool choose : {false, true}) { // the file dialog cancelled, then a movie chosen
            QTimer::singleShot(0, s.window, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->nameFilters().contains(u"Matroska (*.mkv)"_s));
                dialog->selectFile(s.movie);
                choose ? static_cast<QDialog *>(dialog)->accept() : dialog->reject();
            });
            // Ctrl+O has one owner, shared by the File menu and the header button.
            choose ? s.find<QPushButton>("openButton")->click()
                   : QTest::keyClick(s.window, Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(s.model()->status(), choose ? u"Videodaten werden gelesen …"_s : kStart);
        }
        // While it is read: both spinners, the controls still disabled.
        QVERIFY(!s.find("controls")->isEnabled() && !recompute->isEnabled());
        QVERIFY(s.find("recomputeSpinner")->isVisible() && s.find("statusSpinner")->isVisible());
        QVERIFY(s.idle() && recompute->isEnabled() && s.find("measurementLabel")->isVisible());
        QCOMPARE(s.find<QLabel>("sourceLine")->text(),
                 u"Quelle: H264 · 1920 × 1080 · 1.12 Mbit/s"_s); // as printf rounds

        s.find<QSlider>("sceneSlider")->setValue(12345);
        QCOMPARE(s.model()->seconds(), 12.345);
        QCOMPARE(s.find<QLabel>("timeLabel")->text(), u"00:00:12"_s);
        QVERIFY(s.model()->busy() && !recompute->isEnabled() && s.find("bitrateSlider")->isEnabled() && s.idle());
        const QList<QPushButton *> presets = s.window->findChildren<QPushButton *>(u"preset"_s);
        presets.at(2)->click();
        QVERIFY(s.model()->mbps() == 3.3 && s.find<QSlider>("bitrateSlider")->value() == 33);
        QCOMPARE(s.find<QLabel>("bitrateLabel")->text(), u"3.3 Mbit/s"_s);
        QVERIFY(s.idle());
        // A height limit labels the menu button and resets zoom and pan.
        auto *menuButton = s.find<QToolButton>("resolutionButton");
        QAction *limit720 = menuButton->menu()->actions().at(2);
        s.model()->setZoom(4);
        s.model()->setPan(QSizeF(30, -10));
        limit720->trigger();
        QVERIFY(s.model()->maxHeight() == 720 && s.model()->zoom() == 1.0 && s.model()->pan().isNull());
        QCOMPARE(menuButton->text(), u"max. 720p"_s);
        QVERIFY(s.idle());
        // The zoom slider and the same values again request nothing; the checked item stays checked.
        QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
        s.find<QSlider>("zoomSlider")->setValue(25);
        QCOMPARE(s.find<QLabel>("zoomLabel")->text(), u"0.2×"_s);
        presets.at(2)->click();
        s.find<QSlider>("bitrateSlider")->setValue(33);
        limit720->trigger();
        QVERIFY(s.model()->zoom() == 0.25 && limit720->isChecked() && requests.isEmpty());
        // While the mouse holds a slider its changes request nothing; the release does, unless the
        // drag ended where it began.
        auto *bitrate = s.find<QSlider>("bitrateSlider");
        for (const int end : {33, 45}) {
            bitrate->setSliderDown(true);
            bitrate->setValue(20);
            bitrate->setValue(end);
            QVERIFY(requests.isEmpty());
            bitrate->setSliderDown(false);
        }
        QVERIFY(requests.size() == 1 && s.model()->mbps() == 4.5 && s.idle());
        const QString folder = s.model()->workDirectory();
        s.window->close(); // and with it the view, the model and the work folder
        QTRY_VERIFY(!s.window && !s.weakModel && !QFileInfo::exists(folder));
    }

    void whileAComparisonIsComputed()
    {
        Setup s;
        QVERIFY(s.open());
        // The next encode reports 30 frames done and then runs until it is ended.
        s.tools.setPrelude(u"ffmpeg"_s,
                           u"case \"$*\" in *libx265*) printf 'frame=30\\nprogress=continue\\n'; sleep 30 ;; esac"_s);
        s.model()->setMbps(3);
        auto *bar = s.find<QProgressBar>("progressBar");
        QTRY_VERIFY(bar->isVisible() && bar->value() == 30);
        QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), u"Fortschritt"_s);
        QVERIFY(s.find<QLabel>("remainingLabel")->text().startsWith(u"noch ca. "_s));
        auto *encoded = s.find<ComparisonPane>("encodedPane");
        QCOMPARE(encoded->title(), u"HEVC · Vorschau · 2.0 Mbit/s (alt)"_s); // the last comparison, marked
        s.model()->setMbps(2); // back to what is shown: ends that encode, and the cache answers
        QCOMPARE(encoded->title(), u"HEVC · Vorschau"_s);
        QVERIFY(s.idle() && !bar->isVisible() && !s.find("remainingLabel")->isVisible());
        QTRY_COMPARE(s.find<QLabel>("qualityLabel")->text(),
                     u"Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB"_s);
    }

    // A movie dropped on the window as a URL whose name is not valid UTF-8 opens as its bytes stand.
    void droppedMovieWithAName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("UTF-8") << QByteArray("Urlaub \xc3\xa4.mp4");
        QTest::newRow("Latin-1, not UTF-8") << QByteArray("Urlaub \xe4.mp4");
    }

    void droppedMovieWithAName()
    {
        QFETCH(QByteArray, name);
        Setup s;
        const QByteArray path = QFile::encodeName(s.tools.directory()) + '/' + name;
        const int file = ::open(path.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(file >= 0);
        ::close(file);
        QMimeData data;
        data.setUrls({QUrl::fromEncoded("file://" + path.toPercentEncoding("/"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window->view(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window->view(), &drop);
        const bool opened = s.idle() && s.model()->movie();
        const QString problem = s.model()->status() + u' ' + s.model()->error().value_or(QString());
        ::unlink(path.constData()); // which QTemporaryDir cannot name
        QVERIFY2(opened, qPrintable(problem));
        QCOMPARE(movieBytes(s.model()->movie()->url), path);
    }

    void keepingTheComparison()
    {
        Setup s;
        const QList<QAction *> actions = s.window->view()->exportActions(); // save, copy, save the clip
        QVERIFY(std::ranges::none_of(actions, &QAction::isEnabled));        // nothing to keep yet
        // ffmpeg "composes" the picture from the reference frame alone here.
        s.tools.setPrelude(u"ffmpeg"_s,
                           u"case \"$*\" in *hstack*) cp \"$DIR/original-frame.png\" \"$LAST\"; exit 0 ;; esac"_s);
        QVERIFY(s.open() && std::ranges::all_of(actions, &QAction::isEnabled));
        // The dialogs suggest a name beside the movie.
        for (const auto &[action, name] : {std::pair(actions.at(0), u"Urlaub 2024-00-00-50-2.0Mbit.png"_s),
                                           {actions.at(2), u"Urlaub 2024-00-00-50-2.0Mbit.mp4"_s}}) {
            const QString path = s.tools.directory() + u'/' + name;
            QTimer::singleShot(0, s.window, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->selectedFiles() == QStringList{path});
                static_cast<QDialog *>(dialog)->accept();
            });
            action == actions.at(0) ? QTest::keyClick(s.window, Qt::Key_S, Qt::ControlModifier) : action->trigger();
            QTRY_VERIFY(QFileInfo::exists(path));
        }
        s.window->activateWindow(); // again, after the dialogs
        QVERIFY(QTest::qWaitForWindowActive(s.window));
        QTest::keyClick(s.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QImage frame(s.tools.directory() + u"/original-frame.png"_s);
        QTRY_COMPARE(QGuiApplication::clipboard()->image().convertToFormat(frame.format()), frame);
        s.model()->saveEncodedClip(s.tools.directory() + u"/kein Ordner/a.mp4"_s);
        QTRY_VERIFY(s.find("errorArea")->isVisible()); // a failure shows
    }

    void remainingTime()
    {
        for (const auto &[seconds, text] : {std::pair(3.2, u"noch ca. 4 s"_s),
                                            {0.1, u"noch ca. 1 s"_s},
                                            {59.5, u"noch ca. 1 min"_s},
                                            {150.0, u"noch ca. 3 min"_s}})
            QCOMPARE(ViewTexts::remaining(seconds), text);
    }

    void sceneButtonsKeepWithinTheMovie_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("sliderEnd");
        QTest::newRow("30 s: +1 s near the end") << 30.0 << 29.5 << "forwardButton" << 29.9 << 29900;
        QTest::newRow("30 s: +1 s at the end") << 30.0 << 29.9 << "forwardButton" << 29.9 << 29900;
        QTest::newRow("30 s: −1 s near the start") << 30.0 << 0.4 << "backButton" << 0.0 << 29900;
        QTest::newRow("30 s: −1 s at 0") << 30.0 << 0.0 << "backButton" << 0.0 << 29900;
        QTest::newRow("0.5 s: slider to 1 s, +1 s stops at 0.4") << 0.5 << 0.0 << "forwardButton" << 0.4 << 1000;
    }

    void sceneButtonsKeepWithinTheMovie()
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
        s.window->findChild<QPushButton *>(button)->click();
        QCOMPARE(s.model()->seconds(), expected);
        QCOMPARE(requests.isEmpty(), expected == start); // a press that leaves the time as it is asks for nothing
    }

    void pointerInThePanes_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSizeF>("startPan");
        QTest::addColumn<QList<QPointF>>("moves"); // pointer offsets from a press in the middle
        QTest::addColumn<QSizeF>("endPan");
        QTest::addColumn<double>("dividerShift"); // points
        QTest::addColumn<bool>("encoded");        // shown in the flip view
        const int sideBySide = int(View::SideBySide);
        QTest::newRow("below the threshold")
            << sideBySide << 1.0 << QSizeF(0, 0) << QList<QPointF>{{5, 0}, {6, 7}} << QSizeF(0, 0) << 0.0 << false;
        QTest::newRow("first move: the whole way")
            << sideBySide << 1.0 << QSizeF(0, 0) << QList<QPointF>{{12, 0}} << QSizeF(12, 0) << 0.0 << false;
        QTest::newRow("from an offset") << sideBySide << 1.0 << QSizeF(30, -10) << QList<QPointF>{{20, 0}, {5, 5}}
                                        << QSizeF(35, -5) << 0.0 << false;
        QTest::newRow("points at zoom 4")
            << sideBySide << 4.0 << QSizeF(0, 0) << QList<QPointF>{{0, 10}} << QSizeF(0, 10) << 0.0 << false;
        QTest::newRow("split: the divider moves, not the picture")
            << int(View::Split) << 1.0 << QSizeF(0, 0) << QList<QPointF>{{12, 0}, {100, 0}} << QSizeF(0, 0) << 100.0
            << false;
        QTest::newRow("flip: a click shows the other frame")
            << int(View::Flip) << 1.0 << QSizeF(0, 0) << QList<QPointF>{{5, 5}} << QSizeF(0, 0) << 0.0 << true;
        QTest::newRow("flip: a drag does not")
            << int(View::Flip) << 1.0 << QSizeF(0, 0) << QList<QPointF>{{20, 0}} << QSizeF(20, 0) << 0.0 << false;
    }

    void pointerInThePanes()
    {
        QFETCH(int, view);
        QFETCH(double, zoom);
        QFETCH(QSizeF, startPan);
        QFETCH(QList<QPointF>, moves);
        QFETCH(QSizeF, endPan);
        QFETCH(double, dividerShift);
        Setup s;
        auto *left = s.find<ComparisonPane>("originalPane");
        auto *right = s.find<ComparisonPane>("encodedPane");
        s.model()->setView(View(view));
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
        QCOMPARE(left->divider(), 0.5 + dividerShift / left->imageArea().width());
        QTEST(left->showsEncoded(), "encoded");
        // A double-click fits every pane and leaves the flip view's frame as it was.
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                QEvent::MouseButtonRelease})
            mouse(type, left, start);
        QVERIFY(s.model()->zoom() == 1.0 && s.model()->pan().isNull());
        QTEST(left->showsEncoded(), "encoded");
    }

    // Runs with QT_SCALE_FACTOR=2 as well.
    void pixelsOnTheWindowsScreen()
    {
        // A checkerboard frame: drawn nearest-neighbour, only black and white can appear.
        Setup s;
        QImage board(16, 8, QImage::Format_RGB32);
        for (int i = 0; i < 16 * 8; ++i)
            board.setPixel(i % 16, i / 16, (i % 16 + i / 16) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        QVERIFY(board.save(s.tools.directory() + u"/original-frame.png"_s) && s.open());
        auto *pane = s.find<ComparisonPane>("originalPane");
        for (const double zoom : {1.0, 3.7, 16.0}) {
            s.model()->setZoom(zoom);
            s.model()->setPan(QSizeF(3.3, 1.7));
            const QImage shot = pane->grab().toImage();
            const qreal ratio = shot.devicePixelRatio();
            const QRectF area = pane->imageArea().adjusted(0, 0, 0, -12); // without the rounded corners
            QSet<QRgb> colours;
            for (int y = int(area.top() * ratio); y < int(area.bottom() * ratio); ++y)
                for (int x = int(area.left() * ratio); x < int(area.right() * ratio); ++x)
                    colours.insert(shot.pixel(x, y));
            QCOMPARE(colours, QSet<QRgb>({qRgb(0, 0, 0), qRgb(255, 255, 255)}));
        }
        // "100 %": one frame pixel on one physical pixel of this screen.
        const QSizeF frame = s.model()->pixelSize();
        const double fit = frame.scaled(s.model()->previewSize(), Qt::KeepAspectRatio).width() / frame.width();
        QTest::keyClick(s.window, Qt::Key_1, Qt::ControlModifier); // "100 %"
        const double screenRatio = qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble();
        QCOMPARE(s.model()->zoom() * fit * screenRatio, 1.0);
    }

    void everyControlHasAName()
    {
        Setup s;
        QVERIFY(s.open());
        const QList<QWidget *> widgets = s.window->findChildren<QWidget *>();
        for (QWidget *control : widgets) {
            if (!control->isVisibleTo(s.window)
                || (!qobject_cast<QAbstractSlider *>(control) && !qobject_cast<QAbstractButton *>(control)))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), control->metaObject()->className());
        }
        for (const auto &[pane, name] : {std::pair("originalPane", u"Original"_s), {"encodedPane", u"HEVC-Vorschau"_s}})
            QCOMPARE(QAccessible::queryAccessibleInterface(s.find(pane))->text(QAccessible::Name), name);
    }

    void keysChooseViewsAndZoom_data()
    {
        QTest::addColumn<QKeySequence>("keys"); // from zoom 2 (or 0.3), pan (30, -10), side by side
        QTest::addColumn<int>("view");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("panScale");
        QTest::addColumn<bool>("encoded"); // shown in the flip view
        const double r2 = std::numbers::sqrt2;
        QTest::newRow("4: difference") << QKeySequence(Qt::Key_4) << int(View::Difference) << 2.0 << 1.0 << false;
        QTest::newRow("3, 1: side by side again")
            << QKeySequence(Qt::Key_3, Qt::Key_1) << int(View::SideBySide) << 2.0 << 1.0 << false;
        QTest::newRow("2, Space: the encoded frame")
            << QKeySequence(Qt::Key_2, Qt::Key_Space) << int(View::Flip) << 2.0 << 1.0 << true;
        QTest::newRow("+: about the centre") << QKeySequence(Qt::Key_Plus) << 0 << 2 * r2 << r2 << false;
        QTest::newRow("−: not below the limit") << QKeySequence(Qt::Key_Minus) << 0 << 0.25 << 0.25 / 0.3 << false;
        QTest::newRow("Ctrl+0: fitted") << QKeySequence(Qt::CTRL | Qt::Key_0) << 0 << 1.0 << 0.0 << false;
    }

    void keysChooseViewsAndZoom()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(double, panScale);
        Setup s;
        s.model()->setZoom(QByteArray(QTest::currentDataTag()).contains("limit") ? 0.3 : 2.0);
        s.model()->setPan(QSizeF(30, -10));
        QTest::keySequence(static_cast<QWidget *>(nullptr), keys); // to the focused control
        QTEST(int(s.model()->view()), "view");
        QTEST(s.model()->zoom(), "zoom");
        QCOMPARE(s.model()->pan(), QSizeF(30, -10) * panScale);
        QTEST(s.find<ComparisonPane>("originalPane")->showsEncoded(), "encoded");
        QCOMPARE(s.find("encodedPane")->isVisible(), s.model()->view() == View::SideBySide);
    }

    void wheelZoomsTowardsThePointer()
    {
        Setup s;
        QVERIFY(s.open());
        auto *pane = s.find<ComparisonPane>("originalPane");
        s.model()->setZoom(2);
        s.model()->setPan(QSizeF(30, -10));
        const QRectF area = pane->imageArea();
        const auto placed = [&] { // where a frame pixel lands now
            const PaneGeometry geometry{area.size(), s.model()->pixelSize(), s.model()->zoom(), s.model()->pan()};
            return area.topLeft() + geometry.toArea(QPointF(500, 300));
        };
        const QPointF at = placed();
        QWheelEvent wheel(at, pane->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane, &wheel);
        QCOMPARE(s.model()->zoom(), 2 * std::numbers::sqrt2);
        QCOMPARE(placed(), at);
    }

    // Offscreen, on the screens of screens.json; once more with QT_SCALE_FACTOR=2.
    void windowFitsItsScreen_data()
    {
        QTest::addColumn<int>("screen");
        QTest::newRow("1920 × 1200") << 0;
        QTest::newRow("1366 × 768") << 1;
    }

    void windowFitsItsScreen()
    {
        QFETCH(int, screen);
        QScreen *on = QGuiApplication::screens().value(screen);
        if (!on)
            QSKIP("needs the screens of screens.json");
        Setup s(nullptr, on);
        const QRect usable = on->availableGeometry();
        const QSize frame = s.window->frameGeometry().size() - s.window->size();
        QTRY_VERIFY(usable.contains(s.window->frameGeometry()));
        // 1400 × 900 below the menu bar where the screen has room; every control within reach.
        const QSize room = usable.size() - frame - QSize(0, s.window->menuBar()->height());
        QCOMPARE(s.window->centralWidget()->size(), QSize(1400, 900).boundedTo(room));
        QVERIFY(s.window->view()->width() >= 1080 && s.window->view()->height() >= 720);
        QVERIFY(s.open());
        s.window->view()->fitWindowToSource(); // a 1920 × 1080 movie: more than either screen has
        QVERIFY(usable.contains(s.window->frameGeometry()));
    }

    void oneHelpWindow()
    {
        GlanceHelpCommands help;
        Setup s(&help);
        help.action()->trigger();
        help.action()->trigger();
        QPointer<GlanceHelpView> first = help.window();
        const auto isHelp = [](QWidget *window) { return qobject_cast<GlanceHelpView *>(window) != nullptr; };
        QVERIFY(first && first->isVisible() && std::ranges::count_if(QApplication::topLevelWidgets(), isHelp) == 1);
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::keyClick(first, Qt::Key_Escape); // closed, it is made anew on the next request
        QTRY_VERIFY(!first);
        help.action()->trigger();
        QVERIFY(help.window() && help.window()->isVisible() && QTest::qWaitForWindowActive(help.window()));
        QTest::keyClick(help.window(), Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!help.window());
    }

    void framePlacement_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSizeF>("pan");
        QTest::addColumn<QRectF>("source"); // the frame pixels drawn
        QTest::addColumn<QRectF>("target"); // and where they go
        // 1920 × 1080 in a 640 × 480 area: fitted to 640 × 360 with 60-point bars.
        QTest::newRow("fitted") << 1.0 << QSizeF(0, 0) << QRectF(0, 0, 1920, 1080) << QRectF(0, 60, 640, 360);
        QTest::newRow("zoom 2: the middle fills the area")
            << 2.0 << QSizeF(0, 0) << QRectF(480, 180, 960, 720) << QRectF(0, 0, 640, 480);
        QTest::newRow("quarter size") << 0.25 << QSizeF(0, 0) << QRectF(0, 0, 1920, 1080) << QRectF(240, 195, 160, 90);
        // The shift is in points, not multiplied by the zoom; partly covered edge pixels are drawn whole.
        QTest::newRow("zoom 16, half-point pan") << 16.0 << QSizeF(2.5, 0) << QRectF(899, 495, 121, 90)
                                                 << QRectF(322.5 - 61 * 16.0 / 3, 0, 121 * 16.0 / 3, 480);
        QTest::newRow("out of view") << 1.0 << QSizeF(700, 0) << QRectF() << QRectF();
    }

    void framePlacement()
    {
        QFETCH(double, zoom);
        QFETCH(QSizeF, pan);
        const PaneGeometry geometry{QSizeF(640, 480), QSizeF(1920, 1080), zoom, pan};
        QCOMPARE(geometry.toArea(QPointF(960, 540)), QPointF(320 + pan.width(), 240 + pan.height()));
        QTEST(geometry.visiblePart().source, "source");
        QTEST(geometry.visiblePart().target, "target");
    }

    void windowFit_data()
    {
        QTest::addColumn<QSizeF>("movie");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSizeF>("preview");
        QTest::addColumn<QRectF>("visible");
        QTest::addColumn<QRectF>("frame");
        const QRectF large(0, 0, 4000, 3000);
        // The current content and frame are 1400 × 900 at (100, 100), centre (800, 550).
        QTest::newRow("1080p at scale 2: chrome (120, 400)")
            << QSizeF(1920, 1080) << 2.0 << QSizeF(640, 500) << large << QRectF(0, 80, 2040, 940);
        QTest::newRow("360p at scale 1") << QSizeF(640, 360) << 1.0 << QSizeF(640, 500) << large
                                         << QRectF(100, 170, 1400, 760);
        QTest::newRow("360p at scale 2: the minimum")
            << QSizeF(640, 360) << 2.0 << QSizeF(640, 500) << large << QRectF(260, 190, 1080, 720);
        QTest::newRow("no preview size yet: all of it is chrome")
            << QSizeF(640, 360) << 1.0 << QSizeF(0, 0) << large << QRectF(0, 0, 2680, 1260);
        QTest::newRow("negative chrome counts as none")
            << QSizeF(1280, 720) << 1.0 << QSizeF(800, 500) << large << QRectF(0, 0, 2560, 1120);
        // Cut to the visible area, pushed back inside it: a 1600 × 1000 area starting at (0, 32).
        QTest::newRow("larger than the screen")
            << QSizeF(3840, 2160) << 1.0 << QSizeF(640, 500) << QRectF(0, 32, 1600, 1000) << QRectF(0, 32, 1600, 1000);
    }

    void windowFit()
    {
        QFETCH(QSizeF, movie);
        QFETCH(double, scale);
        QFETCH(QSizeF, preview);
        QFETCH(QRectF, visible);
        const WindowFit fit{movie,       preview, QSizeF(1400, 900),          scale,
                            QMarginsF(), visible, QRectF(100, 100, 1400, 900)};
        QTEST(fit.newFrame(), "frame");
    }

    void windowReaderReportsLater()
    {
        QWidget window;
        auto *view = new QWidget;
        QList<QWidget *> reported;
        new GlanceWindowReader(view, [&](QWidget *w) { reported += w; });
        view->setParent(&window); // put in and taken out: both reports, in order, none at once
        view->setParent(nullptr);
        QVERIFY(reported.isEmpty());
        QTRY_COMPARE(reported, (QList<QWidget *>{&window, nullptr}));
        view->setParent(&window);
        delete view; // destroyed before its report is delivered: no report
        QCoreApplication::processEvents();
        QCOMPARE(reported.size(), 2);
    }
};

QTEST_MAIN(UiTests)
#include "ui_tests.moc"
