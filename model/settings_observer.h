#pragma once

#include <QObject>
#include <utility>

class GlanceModel;

// The window's answer to real changes of the comparison settings: a new scene time or bitrate
// requests a comparison after the pause; a new height limit first resets zoom and pan.
// While the mouse holds a slider, its changes only wait: the request, and with it the pause,
// follows the release, when the drag has left the scene time or the bitrate changed. The main view owns one; tests
// attach one to drive a model exactly as the window does.
class SettingsObserver : public QObject {
    Q_OBJECT
public:
    explicit SettingsObserver(GlanceModel *model, QObject *parent = nullptr);

    // Pressed (true) and released (false) by the mouse on the scene or bitrate slider.
    void setHeld(bool held);

private:
    void changed();

    GlanceModel *model_;
    bool held_ = false;
    std::pair<double, double> heldFrom_; // scene time and bitrate when the slider was taken
};
