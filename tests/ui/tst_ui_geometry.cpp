// The arithmetic behind the desktop program: where a frame pixel lands in a pane, how the window
// is fitted to the source, and the window reader's deliveries.
#include "glance_window_reader.h"
#include "pane_geometry.h"
#include "window_fit.h"

#include <QWidget>
#include <QtTest>

class UiGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void framePlacement_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSizeF>("pan");
        QTest::addColumn<QRectF>("frameRect");
        QTest::addColumn<QRectF>("source"); // the frame pixels drawn
        QTest::addColumn<QRectF>("target"); // and where they go

        // 1920 × 1080 in a 640 × 480 area: fitted to 640 × 360 with 60-point bars.
        QTest::newRow("fitted") << 1.0 << QSizeF(0, 0) << QRectF(0, 60, 640, 360) << QRectF(0, 0, 1920, 1080)
                                << QRectF(0, 60, 640, 360);
        // At zoom 2 the central 960 × 720 pixels fill the area, no bars.
        QTest::newRow("zoom 2 about the centre") << 2.0 << QSizeF(0, 0) << QRectF(-320, -120, 1280, 720)
                                                 << QRectF(480, 180, 960, 720) << QRectF(0, 0, 640, 480);
        QTest::newRow("quarter size") << 0.25 << QSizeF(0, 0) << QRectF(240, 195, 160, 90) << QRectF(0, 0, 1920, 1080)
                                      << QRectF(240, 195, 160, 90);
        // The shift is in points, not multiplied by the zoom; partly covered edge pixels are drawn whole.
        QTest::newRow("zoom 16, half-point pan")
            << 16.0 << QSizeF(2.5, 0) << QRectF(-4797.5, -2640, 10240, 5760) << QRectF(899, 495, 121, 90)
            << QRectF(322.5 - 61 * 16.0 / 3, 0, 121 * 16.0 / 3, 480);
        QTest::newRow("out of view") << 1.0 << QSizeF(700, 0) << QRectF(700, 60, 640, 360) << QRectF() << QRectF();
    }

    void framePlacement()
    {
        QFETCH(double, zoom);
        QFETCH(QSizeF, pan);
        QFETCH(QRectF, source);
        const PaneGeometry geometry{QSizeF(640, 480), QSizeF(1920, 1080), zoom, pan};
        QTEST(geometry.frameRect(), "frameRect");
        // The frame's centre sits at the area's centre plus the pan.
        QCOMPARE(geometry.toArea(QPointF(960, 540)), QPointF(320 + pan.width(), 240 + pan.height()));
        const PaneGeometry::Blit blit = geometry.visiblePart();
        QCOMPARE(blit.source, source);
        QTEST(blit.target, "target");
        if (!source.isEmpty())
            QCOMPARE(blit.target.topLeft(), geometry.toArea(source.topLeft()));
    }

    void windowFit_data()
    {
        QTest::addColumn<QSizeF>("movie");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSizeF>("content");
        QTest::addColumn<QSizeF>("preview");
        QTest::addColumn<QRectF>("visible");
        QTest::addColumn<QSizeF>("wantedContent");
        QTest::addColumn<QRectF>("frame");

        const QRectF large(0, 0, 4000, 3000);
        // The current frame is (100, 100, 1400, 900), centre (800, 550); decorations are none here.
        QTest::newRow("1080p at scale 2") << QSizeF(1920, 1080) << 2.0 << QSizeF(1400, 900) << QSizeF(640, 500) << large
                                          << QSizeF(2040, 940) << QRectF(0, 80, 2040, 940);
        QTest::newRow("360p at scale 1") << QSizeF(640, 360) << 1.0 << QSizeF(1400, 900) << QSizeF(640, 500) << large
                                         << QSizeF(1400, 760) << QRectF(100, 170, 1400, 760);
        QTest::newRow("360p at scale 2, raised to the minimum")
            << QSizeF(640, 360) << 2.0 << QSizeF(1400, 900) << QSizeF(640, 500) << large << QSizeF(1080, 720)
            << QRectF(260, 190, 1080, 720);
        QTest::newRow("no preview size yet: all of it is chrome")
            << QSizeF(640, 360) << 1.0 << QSizeF(1400, 900) << QSizeF(0, 0) << large << QSizeF(2680, 1260)
            << QRectF(0, 0, 2680, 1260);
        QTest::newRow("negative chrome counts as none")
            << QSizeF(1280, 720) << 1.0 << QSizeF(1000, 900) << QSizeF(600, 500) << large << QSizeF(2560, 1120)
            << QRectF(0, 0, 2560, 1120);
        // Cut to the visible area, pushed back inside it: a 1600 × 1000 area starting at (0, 32).
        QTest::newRow("larger than the screen")
            << QSizeF(3840, 2160) << 1.0 << QSizeF(1400, 900) << QSizeF(640, 500) << QRectF(0, 32, 1600, 1000)
            << QSizeF(7800, 2560) << QRectF(0, 32, 1600, 1000);
    }

    void windowFit()
    {
        QFETCH(QSizeF, movie);
        QFETCH(double, scale);
        QFETCH(QSizeF, content);
        QFETCH(QSizeF, preview);
        QFETCH(QRectF, visible);
        const WindowFit fit{.movie = movie,
                            .previewSize = preview,
                            .content = content,
                            .scale = scale,
                            .decorations = QMarginsF(),
                            .visibleArea = visible,
                            .currentFrame = QRectF(100, 100, 1400, 900)};
        QTEST(fit.wantedContent(), "wantedContent");
        QTEST(fit.newFrame(), "frame");
        QVERIFY(visible.contains(fit.newFrame()));
    }

    void windowReaderDeliversInOrder()
    {
        QWidget window;
        auto *view = new QWidget;
        QList<QWidget *> delivered;
        new GlanceWindowReader(view, [&](QWidget *w) { delivered += w; });

        // Put in and taken out before the event loop runs: both reports, in order, none at once.
        view->setParent(&window);
        view->setParent(nullptr);
        QVERIFY(delivered.isEmpty());
        QTRY_COMPARE(delivered, (QList<QWidget *>{&window, nullptr}));

        // Destroyed with its view before a report is delivered: no report.
        view->setParent(&window);
        delete view;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(delivered.size(), 2);
    }
};

QTEST_MAIN(UiGeometryTest)
#include "tst_ui_geometry.moc"
