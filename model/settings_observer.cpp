#include "settings_observer.h"

#include "glance_model.h"

SettingsObserver::SettingsObserver(GlanceModel *model, QObject *parent) : QObject(parent)
{
    // The model emits these signals only when the value really changed.
    connect(model, &GlanceModel::secondsChanged, this, [model] { model->schedulePreview(false); });
    connect(model, &GlanceModel::mbpsChanged, this, [model] { model->schedulePreview(false); });
    connect(model, &GlanceModel::maxHeightChanged, this, [model] {
        model->setZoom(1);
        model->setPan(QSizeF(0, 0));
        model->schedulePreview(false);
    });
}
