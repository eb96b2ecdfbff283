// The window on its screen, offscreen on the screens of support/screens.json and once more with
// QT_SCALE_FACTOR=2: frame pixels drawn as sharp squares, "100 %" in physical pixels, a window
// that fits its screen, and the arithmetic that fits it to the source.
#include "model/glance_model.h"
#include "support/main_window_setup.h"
#include "ui/comparison_pane.h"
#include "ui/glance_view.h"
#include "ui/window_fit.h"

#include <QMenuBar>
#include <QScreen>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using Setup = MainWindowSetup;

} // namespace

class ScreenTests : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_MAIN(ScreenTests)
#include "tst_screens.moc"
