#include "ui/slider_binding.h"

#include "model/glance_model.h"
#include "ui/accessible_slider.h"

#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

SliderBinding::SliderBinding(QSlider *slider, double scale, GlanceModel *model, Read read, Write write, Changed changed)
    : QObject(slider), slider_(slider), scale_(scale), model_(model), read_(read)
{
    connect(slider_, &QSlider::valueChanged, this, [this, write](int value) { (model_->*write)(value / scale_); });
    connect(model_, changed, this, &SliderBinding::show);
    show();
}

int SliderBinding::toSlider(double value) const
{
    return int(std::lround(value * scale_));
}

void SliderBinding::setRange(double minimum, double maximum)
{
    {
        // A value outside the new range is clamped on the slider only.
        const QSignalBlocker blocker(slider_);
        slider_->setRange(toSlider(minimum), toSlider(maximum));
    }
    show();
}

void SliderBinding::setValueText(std::function<QString(double)> text)
{
    valueText_ = std::move(text);
    show();
}

void SliderBinding::show()
{
    const double value = (model_->*read_)();
    {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(toSlider(value));
    }
    if (valueText_)
        AccessibleSlider::setValueText(slider_, valueText_(value));
}
