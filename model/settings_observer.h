#pragma once

#include <QObject>

class GlanceModel;

// The window's answer to real changes of the comparison settings: a new scene time or bitrate
// requests a preview after the pause; a new height limit first resets zoom and pan.
// The main view owns one; tests attach one to drive a model exactly as the window does.
class SettingsObserver : public QObject {
    Q_OBJECT
public:
    explicit SettingsObserver(GlanceModel *model, QObject *parent = nullptr);
};
