#include "model/film_outlook.h"

#include "analysis/scene_result.h"
#include "engine/comparison_texts.h"
#include "engine/encoder_catalogue.h"
#include "engine/film_command.h"
#include "engine/number_text.h"
#include "engine/quality_texts.h"
#include "model/glance_model.h"
#include "model/scan_model.h"

#include <cmath>

namespace {

// Above this share of its target a short clip's bitrate says little about the film's.
constexpr double clipOverTarget = 1.5;

} // namespace

FilmOutlook::FilmOutlook(GlanceModel *model, ScanModel *scan, QObject *parent)
    : QObject(parent), model_(model), scan_(scan)
{
    for (const auto signal :
         {&GlanceModel::movieChanged, &GlanceModel::mbpsChanged, &GlanceModel::measurementChanged,
          &GlanceModel::encoderChanged, &GlanceModel::maxHeightChanged, &GlanceModel::originalChanged})
        connect(model_, signal, this, &FilmOutlook::update);
    if (scan_)
        connect(scan_, &ScanModel::scenesChanged, this, &FilmOutlook::update);
    update();
}

QString FilmOutlook::sizeWords(double megabytes)
{
    if (megabytes >= 1000)
        return tr("ca. %1 GB").arg(fixedText(megabytes / 1000, 1));
    return tr("ca. %1 MB").arg(std::max<qint64>(1, std::llround(megabytes)));
}

QString FilmOutlook::command() const
{
    return model_->movie() ? FilmCommand::shellText(*model_->movie(), model_->settings()) : QString();
}

void FilmOutlook::update()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    const std::optional<PreviewResult> &shown = model_->shownResult();
    QStringList hints;
    if (movie && movie->bitrate && model_->mbps() * 1e6 >= *movie->bitrate)
        hints << tr("Ziel liegt über der Bitrate der Quelle (%1).").arg(mbpsText(*movie->bitrate / 1e6, 2));
    QString size;
    QString basis;
    if (movie && shown && shown->actualMbps > 0) {
        if (shown->actualMbps > clipOverTarget * shown->targetMbps)
            hints << tr("Kurzer Ausschnitt: %1 hat %2× das Ziel gebraucht.")
                         .arg(EncoderCatalogue::shortName(shown->encoder),
                              fixedText(shown->actualMbps / shown->targetMbps, 1));
        double mbps = shown->actualMbps;
        basis = tr("Aus der gemessenen Bitrate des Ausschnitts (%1) und der Länge des Films (%2).")
                    .arg(mbpsText(mbps, 2), timeText(movie->duration));
        // The scan's scenes count when they were made with what the shown clip was made with.
        const QList<SceneResult> scenes = scan_ ? scan_->scenes() : QList<SceneResult>();
        const std::optional<ComparisonSettings> &made = model_->shownSettings();
        if (!scenes.isEmpty() && made && scan_->state().scenesMbps == made->mbps
            && scan_->state().scenesMaxHeight == made->maxHeight && scan_->state().scenesEncoder == made->encoder) {
            double sum = 0;
            for (const SceneResult &scene : scenes)
                sum += scene.actualMbps;
            mbps = sum / double(scenes.size());
            basis = tr("Aus dem Mittel der gemessenen Bitraten von %1 geprüften Szenen (%2) und der Länge "
                       "des Films (%3).")
                        .arg(scenes.size())
                        .arg(mbpsText(mbps, 2), timeText(movie->duration));
        }
        size = tr("Ganzer Film: %1 (Video) + Ton").arg(sizeWords(FilmCommand::videoMegabytes(mbps, movie->duration)));
    }
    if (size == sizeText_ && basis == sizeBasis_ && hints == hints_)
        return;
    sizeText_ = size;
    sizeBasis_ = basis;
    hints_ = hints;
    emit changed();
}
