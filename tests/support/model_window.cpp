#include "support/model_window.h"

#include "model/settings_observer.h"

#include <QTest>

using namespace Qt::StringLiterals;

const QString ModelWindow::reading = u"Videodaten werden gelesen …"_s;
const QString ModelWindow::updating = u"Vorschau wird aktualisiert …"_s;
const QString ModelWindow::shown = u"Vergleich bei 00:00:50 · 3.0 s wirklich kodiert"_s;
const QString ModelWindow::measuring = u"Qualität wird gemessen …"_s;
const QString ModelWindow::numbers = u"Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB"_s;

QString ModelWindow::measured(const char *target)
{
    return u"1920 × 1080 · Ziel %1 Mbit/s · gemessen 2.37 Mbit/s"_s.arg(QLatin1String(target));
}

ModelWindow::ModelWindow(const QString &toolsDirectory)
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

QString ModelWindow::film(const char *name) const
{
    return tools.directory() + u'/' + QLatin1String(name);
}

void ModelWindow::delay(const char *tool, const char *seconds)
{
    tools.setDelay(QLatin1String(tool), QLatin1String(seconds));
}

bool ModelWindow::idle(int timeout) const
{
    return QTest::qWaitFor([this] { return model->movie() && !model->busy() && model->quality() != measuring; },
                           timeout);
}

bool ModelWindow::started(const char *tool) const
{
    return QTest::qWaitFor([&] { return !tools.calls(QLatin1String(tool)).empty(); }, 20000);
}

int ModelWindow::ffmpegCalls() const
{
    return int(tools.calls(u"ffmpeg"_s).size());
}

QStringList ModelWindow::encodes() const
{
    QStringList targets;
    for (const FakeTools::Call &call : tools.calls(u"ffmpeg"_s))
        if (const qsizetype at = call.args.indexOf(u"-b:v"_s); at >= 0)
            targets << call.args.value(at + 1);
    return targets;
}
