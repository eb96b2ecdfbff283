#pragma once

#include <QObject>

class GlanceModel;

// The window's answer to real changes of the comparison settings: a new scene time or bitrate
// requests a preview after the pause; a new height limit first resets zoom and pan.
// While the mouse holds a slider, its changes only wait: the request, and with it the pause,
// follows the release. The main view owns one; tests attach one to drive a model exactly as the
// window does.
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
    bool changedWhileHeld_ = false;
};
