#pragma once

#include <QObject>
#include <QString>

#include <functional>

class GlanceModel;
class QSlider;

// Keeps a slider and one of the model's values in step, both ways: moving the slider writes the
// value, and a change of the value moves the slider without writing it back. Sliders count in
// whole numbers, so the slider holds the value times the scale (a scale of 10 gives tenths).
class SliderBinding : public QObject {
    Q_OBJECT
public:
    using Read = double (GlanceModel::*)() const;
    using Write = void (GlanceModel::*)(double);
    using Changed = void (GlanceModel::*)();

    // Becomes the slider's child and moves the slider to the model's value.
    SliderBinding(QSlider *slider, double scale, GlanceModel *model, Read read, Write write, Changed changed);

    // The slider's range, in the value's own unit. The model's value stays as it is.
    void setRange(double minimum, double maximum);
    // What a screen reader says for a value: the text the window shows beside the slider.
    void setValueText(std::function<QString(double)> text);

private:
    int toSlider(double value) const;
    void show();

    QSlider *slider_;
    double scale_;
    GlanceModel *model_;
    Read read_;
    std::function<QString(double)> valueText_;
};
