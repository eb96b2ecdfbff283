#pragma once

#include "model/clip_player.h"
#include "model/glance_model.h"
#include "model/settings_observer.h"
#include "support/fake_tools.h"

#include <QLocale>
#include <QStringList>
#include <QTest>

#include <clocale>
#include <memory>

// A model as a main window holds it, on fake tools unless another Tools folder is given, and each
// movie name, status, measurement, quality line and error it showed, in order.
struct ModelWindow {
    // What the model shows on fake tools.
    static inline const QString reading = QStringLiteral("Videodaten werden gelesen …"),
                                updating = QStringLiteral("Vorschau wird aktualisiert …"),
                                shown = QStringLiteral("Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"),
                                measuring = QStringLiteral("Qualität wird gemessen …"),
                                numbers = QStringLiteral(
                                    "Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB");
    static QString measured(const char *target) // the measurement line for a target bitrate
    {
        return QStringLiteral("1920 × 1080 · Ziel %1 Mbit/s · gemessen 2.37 Mbit/s").arg(QLatin1String(target));
    }

    // A user locale with a decimal comma, which must change none of the texts or tool arguments.
    static void useDecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8"); // where the system has it
    }

    FakeTools tools;
    std::unique_ptr<GlanceModel> model;
    std::shared_ptr<QStringList> trace = std::make_shared<QStringList>();
    SettingsObserver *observer;

    explicit ModelWindow(const QString &toolsDirectory = {})
        : model(std::make_unique<GlanceModel>(toolsDirectory.isEmpty() ? tools.directory() : toolsDirectory))
    {
        GlanceModel *m = model.get();
        const auto t = trace;
        observer = new SettingsObserver(m, m);
        QObject::connect(m, &GlanceModel::movieChanged, m,
                         [m, t] { *t << (m->movie() ? m->movie()->url.fileName() : ""); });
        QObject::connect(m, &GlanceModel::statusChanged, m, [m, t] { *t << m->status(); });
        QObject::connect(m, &GlanceModel::measurementChanged, m, [m, t] { *t << m->measurement(); });
        QObject::connect(m, &GlanceModel::qualityChanged, m, [m, t] { *t << m->quality(); });
        QObject::connect(m, &GlanceModel::errorChanged, m, [m, t] { *t << "error " + m->error().value_or(""); });
    }
    GlanceModel *operator->() const { return model.get(); }
    QString movie(const char *name = "film.mp4") const { return tools.directory() + u'/' + QLatin1String(name); }
    void delay(const char *tool, const char *seconds) { tools.setDelay(QLatin1String(tool), QLatin1String(seconds)); }
    // Done with the last request: the comparison shown and measured, and its clips opened (on fake
    // tools they fail to open: the tools write no real clips).
    bool idle(int timeout = 20000) const
    {
        return QTest::qWaitFor(
            [this] {
                const ClipPlayer::State clip = model->player()->state();
                const bool settled = clip == ClipPlayer::State::Ready || clip == ClipPlayer::State::Failed;
                return model->movie() && !model->busy() && model->quality() != measuring
                    && (settled || !model->shownResult());
            },
            timeout);
    }
    bool started(const char *tool) const
    {
        return QTest::qWaitFor([&] { return !tools.calls(QLatin1String(tool)).empty(); }, 20000);
    }
    bool open(const char *name = "film.mp4") { return open(movie(name)); }
    bool open(const QString &path, int timeout = 20000) { return model->openMovie(path), idle(timeout); }
    int ffmpegCalls() const { return int(tools.calls(QStringLiteral("ffmpeg")).size()); }
    QStringList encodes() const { return tools.values(QStringLiteral("-b:v")); } // the target bitrate of each
};
