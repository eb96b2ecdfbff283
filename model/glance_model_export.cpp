#include "model/glance_model_export.h"

#include "engine/comparison_texts.h"
#include "engine/error_description.h"
#include "engine/number_text.h"
#include "engine/preview_engine.h"
#include "engine/when_finished.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

QString GlanceModel::Export::suggestedPath(const GlanceModel &model, const QString &extension)
{
    if (!model.shown_ || !model.movie_)
        return {};
    const QFileInfo movie(model.movie_->path());
    const QString name = movie.completeBaseName() + u'-' + timeText(model.shown_->seconds).replace(u':', u'-') + u'-'
        + fixedText(model.comparisonMbps_, 1) + QStringLiteral("Mbit.") + extension;
    return movie.dir().filePath(name);
}

QStringList GlanceModel::Export::caption(const GlanceModel &model)
{
    return comparisonCaption(QFileInfo(model.movie_->path()).fileName(), *model.shown_);
}

void GlanceModel::Export::saveComparisonPicture(GlanceModel &model, const QString &destination)
{
    if (model.shown_ && model.engine_ && model.movie_)
        whenFinished(model.engine_->saveComparisonPicture(*model.shown_, caption(model), destination), &model,
                     [&model](const std::exception_ptr &failure) { report(model, failure); });
}

void GlanceModel::Export::copyComparisonPicture(GlanceModel &model)
{
    if (!model.shown_ || !model.engine_ || !model.movie_)
        return;
    whenFinished(model.engine_->comparisonPicture(*model.shown_, caption(model)), &model,
                 [&model](std::optional<QByteArray> png, const std::exception_ptr &failure) {
                     if (failure)
                         return report(model, failure);
                     const QImage picture = QImage::fromData(png.value_or(QByteArray()), "PNG");
                     if (picture.isNull())
                         return model.setError(
                             QStringLiteral("Das Vergleichsbild konnte nicht in die Zwischenablage gelegt werden."));
                     QGuiApplication::clipboard()->setImage(picture);
                 });
}

void GlanceModel::Export::saveEncodedClip(GlanceModel &model, const QString &destination)
{
    if (model.shown_ && model.engine_)
        whenFinished(model.engine_->saveClip(*model.shown_, PreviewEngine::ClipKind::Encoded, destination), &model,
                     [&model](const std::exception_ptr &failure) { report(model, failure); });
}

void GlanceModel::Export::report(GlanceModel &model, const std::exception_ptr &failure)
{
    if (failure && !isCancellation(failure))
        model.setError(errorDescription(failure));
}
