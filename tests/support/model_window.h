#pragma once

#include "model/glance_model.h"
#include "support/fake_tools.h"

#include <QString>
#include <QStringList>

#include <memory>

class SettingsObserver;

// A model as a main window holds it, on fake tools unless another Tools folder is given, and each
// film name, status, measurement, quality line and error it showed, in order.
struct ModelWindow {
    // What the model shows on fake tools.
    static const QString reading, updating, shown, measuring, numbers;
    static QString measured(const char *target); // the measurement line for a target bitrate

    FakeTools tools;
    std::unique_ptr<GlanceModel> model;
    std::shared_ptr<QStringList> trace = std::make_shared<QStringList>();
    SettingsObserver *observer;

    explicit ModelWindow(const QString &toolsDirectory = {});
    GlanceModel *operator->() const { return model.get(); }
    QString film(const char *name = "film.mp4") const;
    void delay(const char *tool, const char *seconds);
    bool idle(int timeout = 20000) const;
    bool started(const char *tool) const;
    bool open(const char *name = "film.mp4") { return open(film(name)); }
    bool open(const QString &path, int timeout = 20000) { return model->openMovie(path), idle(timeout); }
    int ffmpegCalls() const;
    QStringList encodes() const; // the target bitrate of each
};
