// The comparison panes: the pointer's drags, clicks and divider, the keys that choose views and
// zoom, the wheel's zoom towards the pointer, and where a frame pixel lands.
#include "support/main_window_setup.h"
#include "support/text_table.h"
#include "ui/comparison_pane.h"
#include "ui/pane_geometry.h"

#include <QtTest>

#include <numbers>

using namespace Qt::StringLiterals;

using View = GlanceModel::ComparisonView;
using Setup = MainWindowSetup;

static void mouse(QEvent::Type type, QWidget *widget, QPointF point)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class PaneTests : public QObject {
    Q_OBJECT
private slots:
    void pointerInThePanes_data()
    {
        // Pointer offsets from a press in the middle; the divider's shift in points; whether the flip view shows
        // the encoded frame.
        const auto row = table<int, double, QSizeF, QList<QPointF>, QSizeF, double, bool>(
            "view", "zoom", "startPan", "moves", "endPan", "dividerShift", "encoded");
        const int sideBySide = int(View::SideBySide), split = int(View::Split), flip = int(View::Flip);
        row("below the threshold", sideBySide, 1, {0, 0}, {{5, 0}, {6, 7}}, {0, 0}, 0, false);
        row("first move: the whole way", sideBySide, 1, {0, 0}, {{12, 0}}, {12, 0}, 0, false);
        row("from an offset", sideBySide, 1, {30, -10}, {{20, 0}, {5, 5}}, {35, -5}, 0, false);
        row("points at zoom 4", sideBySide, 4, {0, 0}, {{0, 10}}, {0, 10}, 0, false);
        row("split: the divider moves, not the picture", split, 1, {0, 0}, {{12, 0}, {100, 0}}, {0, 0}, 100, false);
        row("flip: a click shows the other frame", flip, 1, {0, 0}, {{5, 5}}, {0, 0}, 0, true);
        row("flip: a drag does not", flip, 1, {0, 0}, {{20, 0}}, {20, 0}, 0, false);
    }

    void pointerInThePanes()
    {
        QFETCH(QSizeF, startPan);
        QFETCH(QList<QPointF>, moves);
        QFETCH(QSizeF, endPan);
        Setup s;
        auto *left = s.find<ComparisonPane>("originalPane");
        auto *right = s.find<ComparisonPane>("encodedPane");
        s.model()->setView(View(fetched<int>("view")));
        s.model()->setZoom(fetched<double>("zoom"));
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
        QCOMPARE(left->divider(), 0.5 + fetched<double>("dividerShift") / left->imageArea().width());
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
        // From zoom 2 (or 0.3), pan (30, -10), side by side; whether the flip view shows the encoded frame.
        const auto row = table<QKeySequence, int, double, double, bool>("keys", "view", "zoom", "panScale", "encoded");
        const double r2 = std::numbers::sqrt2;
        row("4: difference", Qt::Key_4, int(View::Difference), 2, 1, false);
        row("3, 1: side by side again", {Qt::Key_3, Qt::Key_1}, int(View::SideBySide), 2, 1, false);
        row("2, Space: the encoded frame", {Qt::Key_2, Qt::Key_Space}, int(View::Flip), 2, 1, true);
        row("+: about the centre", Qt::Key_Plus, 0, 2 * r2, r2, false);
        row("−: not below the limit", Qt::Key_Minus, 0, 0.25, 0.25 / 0.3, false);
        row("Ctrl+0: fitted", Qt::CTRL | Qt::Key_0, 0, 1, 0, false);
    }

    void keysChooseViewsAndZoom()
    {
        Setup s;
        s.model()->setZoom(QByteArray(QTest::currentDataTag()).contains("limit") ? 0.3 : 2.0);
        s.model()->setPan(QSizeF(30, -10));
        QTest::keySequence(static_cast<QWidget *>(nullptr), fetched<QKeySequence>("keys")); // to the focused control
        QTEST(int(s.model()->view()), "view");
        QTEST(s.model()->zoom(), "zoom");
        QCOMPARE(s.model()->pan(), QSizeF(30, -10) * fetched<double>("panScale"));
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
        // The frame pixels drawn, and where they go.
        const auto row = table<double, QSizeF, QRectF, QRectF>("zoom", "pan", "source", "target");
        // 1920 × 1080 in a 640 × 480 area: fitted to 640 × 360 with 60-point bars.
        row("fitted", 1, {0, 0}, {0, 0, 1920, 1080}, {0, 60, 640, 360});
        row("zoom 2: the middle fills the area", 2, {0, 0}, {480, 180, 960, 720}, {0, 0, 640, 480});
        row("quarter size", 0.25, {0, 0}, {0, 0, 1920, 1080}, {240, 195, 160, 90});
        // The shift is in points, not multiplied by the zoom; partly covered edge pixels are drawn whole.
        row("zoom 16, half-point pan", 16, {2.5, 0}, {899, 495, 121, 90},
            {322.5 - 61 * 16.0 / 3, 0, 121 * 16.0 / 3, 480});
        row("out of view", 1, {700, 0}, {}, {});
    }

    void framePlacement()
    {
        QFETCH(QSizeF, pan);
        const PaneGeometry geometry{QSizeF(640, 480), QSizeF(1920, 1080), fetched<double>("zoom"), pan};
        QCOMPARE(geometry.toArea(QPointF(960, 540)), QPointF(320 + pan.width(), 240 + pan.height()));
        QTEST(geometry.visiblePart().source, "source");
        QTEST(geometry.visiblePart().target, "target");
    }
};

QTEST_MAIN(PaneTests)
#include "tst_panes.moc"
