#include "ui/accessible_slider.h"

#include <QAbstractSlider>
#include <QAccessible>

namespace {

constexpr char valueTextProperty[] = "bitglanceValueText";

QAccessibleInterface *sliderWithText(const QString &, QObject *object)
{
    auto *slider = qobject_cast<QAbstractSlider *>(object);
    if (slider && slider->property(valueTextProperty).isValid())
        return new AccessibleSlider(slider);
    return nullptr;
}

} // namespace

AccessibleSlider::AccessibleSlider(QAbstractSlider *slider) : QAccessibleWidget(slider, QAccessible::Slider)
{}

void AccessibleSlider::setValueText(QAbstractSlider *slider, const QString &text)
{
    static const bool installed = (QAccessible::installFactory(sliderWithText), true);
    Q_UNUSED(installed);
    const QVariant old = slider->property(valueTextProperty);
    if (old.isValid() && old.toString() == text)
        return;
    slider->setProperty(valueTextProperty, text);
    // A reader's interface made before (a change of name makes one) goes: the next is this one.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(slider);
        !old.isValid() && !dynamic_cast<AccessibleSlider *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    QAccessibleValueChangeEvent changed(slider, slider->value());
    QAccessible::updateAccessibility(&changed);
}

QAbstractSlider *AccessibleSlider::slider() const
{
    return static_cast<QAbstractSlider *>(widget());
}

void *AccessibleSlider::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleSlider::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return slider()->property(valueTextProperty).toString();
    return QAccessibleWidget::text(t);
}

QVariant AccessibleSlider::currentValue() const
{
    return slider()->value();
}

void AccessibleSlider::setCurrentValue(const QVariant &value)
{
    slider()->setValue(value.toInt());
}

QVariant AccessibleSlider::maximumValue() const
{
    return slider()->maximum();
}

QVariant AccessibleSlider::minimumValue() const
{
    return slider()->minimum();
}

QVariant AccessibleSlider::minimumStepSize() const
{
    return slider()->singleStep();
}
