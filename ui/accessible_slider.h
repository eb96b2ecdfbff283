#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class QAbstractSlider;

// What a screen reader says of a slider whose value the window writes beside it: that text
// ("00:00:21", "0.3 Mbit/s", "1.0×"), not the whole number the slider counts in.
class AccessibleSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSlider(QAbstractSlider *slider);

    // The slider's value as the reader says it; set anew on every change.
    static void setValueText(QAbstractSlider *slider, const QString &text);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QAbstractSlider *slider() const;
};
