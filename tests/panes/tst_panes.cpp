// The comparison panes: the pointer's drags, clicks and divider, the keys that choose views and
// zoom, the wheel's zoom towards the pointer, and where a frame pixel lands.
#include "model/glance_model.h"
#include "support/main_window_setup.h"
#include "ui/comparison_pane.h"
#include "ui/pane_geometry.h"

#include <QtTest>

#include <numbers>

using namespace Qt::StringLiterals;

namespace {

using View = GlanceModel::ComparisonView;
using Setup = MainWindowSetup;

void mouse(QEvent::Type type, QWidget *widget, QPointF point)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class PaneTests : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_MAIN(PaneTests)
#include "tst_panes.moc"
