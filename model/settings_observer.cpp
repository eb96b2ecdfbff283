#include "model/settings_observer.h"

#include "model/glance_model.h"

SettingsObserver::SettingsObserver(GlanceModel *model, QObject *parent) : QObject(parent), model_(model)
{
    // The model emits these signals only when the value really changed.
    connect(model, &GlanceModel::secondsChanged, this, &SettingsObserver::changed);
    connect(model, &GlanceModel::mbpsChanged, this, &SettingsObserver::changed);
    connect(model, &GlanceModel::encoderChanged, this, &SettingsObserver::changed);
    connect(model, &GlanceModel::maxHeightChanged, this, [model] {
        model->setZoom(1);
        model->setPan(QSizeF(0, 0));
        model->schedulePreview(false);
    });
}

void SettingsObserver::changed()
{
    if (!held_)
        model_->schedulePreview(false);
}

void SettingsObserver::setHeld(bool held)
{
    if (held == held_)
        return;
    held_ = held;
    const std::pair values(model_->seconds(), model_->mbps());
    if (held)
        heldFrom_ = values;
    else if (values != heldFrom_)
        model_->schedulePreview(false);
}
