#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Tells its owner which top-level window a widget lives in. Every time the widget is put into a
// window or taken out of one, the callback is called later from the event loop (never from inside
// the reparenting) with the window, or with nullptr when the widget is on its own. Calls still
// queued when the reader is destroyed are dropped.
class GlanceWindowReader : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(QWidget *window)>;

    // Watches widget; the reader becomes the widget's child.
    GlanceWindowReader(QWidget *widget, Callback callback);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void post();

    QWidget *widget_;
    Callback callback_;
};
