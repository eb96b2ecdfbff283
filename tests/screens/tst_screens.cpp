// The window on its screen, offscreen on the screens of support/screens.json and once more with
// QT_SCALE_FACTOR=2: frame pixels drawn as sharp squares, "100 %" in physical pixels, a window
// that fits its screen, and the arithmetic that fits it to the source.
#include "support/main_window_setup.h"
#include "support/text_table.h"
#include "ui/comparison_pane.h"
#include "ui/window_fit.h"

#include <QLabel>
#include <QMenuBar>
#include <QtTest>

using namespace Qt::StringLiterals;

class ScreenTests : public QObject {
    Q_OBJECT
private slots:
    // Runs with QT_SCALE_FACTOR=2 as well.
    void pixelsOnTheWindowsScreen()
    {
        // A checkerboard frame: drawn nearest-neighbour, only black and white can appear.
        MainWindowSetup s;
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
        const double screenRatio = qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble();
        // The zoom's tooltip: how large the fitted picture is in video pixels of this screen.
        auto *zoom = s.find<QLabel>("zoomLabel");
        s.model()->setZoom(1);
        QCOMPARE(zoom->toolTip(), u"1.0× = eingepasst · %1 % der Videopixel"_s.arg(qRound64(fit * screenRatio * 100)));
        QTest::keyClick(s.window, Qt::Key_1, Qt::ControlModifier); // "100 %"
        QCOMPARE(s.model()->zoom() * fit * screenRatio, 1.0);
        QVERIFY2(zoom->toolTip().endsWith(u"-mal eingepasst · 100 % der Videopixel"_s), qPrintable(zoom->toolTip()));
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
        QScreen *on = QGuiApplication::screens().value(fetched<int>("screen"));
        if (!on)
            QSKIP("needs the screens of screens.json");
        MainWindowSetup s(nullptr, on);
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

    void windowFit_data()
    {
        const auto row = table<QSizeF, double, QSizeF, QRectF, QRectF>("movie", "scale", "preview", "visible", "frame");
        const QRectF large(0, 0, 4000, 3000);
        // The current content and frame are 1400 × 900 at (100, 100), centre (800, 550).
        row("1080p at scale 2: chrome (120, 400)", {1920, 1080}, 2, {640, 500}, large, {0, 80, 2040, 940});
        row("360p at scale 1", {640, 360}, 1, {640, 500}, large, {100, 170, 1400, 760});
        row("360p at scale 2: the minimum", {640, 360}, 2, {640, 500}, large, {260, 190, 1080, 720});
        row("no preview size yet: all of it is chrome", {640, 360}, 1, {0, 0}, large, {0, 0, 2680, 1260});
        row("negative chrome counts as none", {1280, 720}, 1, {800, 500}, large, {0, 0, 2560, 1120});
        // Cut to the visible area, pushed back inside it: a 1600 × 1000 area starting at (0, 32).
        row("larger than the screen", {3840, 2160}, 1, {640, 500}, {0, 32, 1600, 1000}, {0, 32, 1600, 1000});
    }

    void windowFit()
    {
        const WindowFit fit{fetched<QSizeF>("movie"),
                            fetched<QSizeF>("preview"),
                            QSizeF(1400, 900),
                            fetched<double>("scale"),
                            QMarginsF(),
                            fetched<QRectF>("visible"),
                            QRectF(100, 100, 1400, 900)};
        QTEST(fit.newFrame(), "frame");
    }
};

QTEST_MAIN(ScreenTests)
#include "tst_screens.moc"
