#include "ui/glance_window_reader.h"

#include <QEvent>
#include <QWidget>

GlanceWindowReader::GlanceWindowReader(QWidget *widget, Callback callback)
    : QObject(widget), widget_(widget), callback_(std::move(callback))
{
    widget_->installEventFilter(this);
    if (widget_->parentWidget())
        post();
}

bool GlanceWindowReader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget_ && event->type() == QEvent::ParentChange)
        post();
    return QObject::eventFilter(watched, event);
}

void GlanceWindowReader::post()
{
    // The window as it is now; a widget without a parent is in no window of its own making.
    QWidget *top = widget_->window();
    const QPointer<QWidget> window = top == widget_ ? nullptr : top;
    QMetaObject::invokeMethod(
        this,
        [this, window] {
            if (callback_)
                callback_(window.data());
        },
        Qt::QueuedConnection);
}
