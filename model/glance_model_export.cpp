#include "model/glance_model_export.h"

#include "engine/comparison_texts.h"
#include "engine/error_description.h"
#include "engine/number_text.h"
#include "engine/preview_engine.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QUuid>

QString GlanceModel::Export::suggestedPath(const GlanceModel &model, const QString &extension)
{
    if (!model.shown_ || !model.movie_)
        return {};
    const QFileInfo film(model.movie_->path());
    const QString name = film.completeBaseName() + u'-' + timeText(model.shown_->seconds).replace(u':', u'-') + u'-'
        + fixedText(model.comparisonMbps_, 1) + QStringLiteral("Mbit.") + extension;
    return film.dir().filePath(name);
}

QStringList GlanceModel::Export::caption(const GlanceModel &model)
{
    return comparisonCaption(QFileInfo(model.movie_->path()).fileName(), *model.shown_);
}

void GlanceModel::Export::saveComparisonPicture(GlanceModel &model, const QString &destination)
{
    if (model.shown_ && model.engine_ && model.movie_)
        whenSaved(model, model.engine_->saveComparisonPicture(*model.shown_, caption(model), destination));
}

void GlanceModel::Export::copyComparisonPicture(GlanceModel &model)
{
    if (!model.shown_ || !model.engine_ || !model.movie_)
        return;
    // ffmpeg composes the picture into the work folder; the clipboard takes it from there.
    const QString file =
        QDir(model.engine_->directory())
            .filePath(QStringLiteral("clipboard-%1.png").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    whenSaved(model, model.engine_->saveComparisonPicture(*model.shown_, caption(model), file),
              [file](GlanceModel &owner) {
                  const QImage picture(file);
                  QFile::remove(file);
                  if (picture.isNull())
                      return owner.setError(
                          QStringLiteral("Das Vergleichsbild konnte nicht in die Zwischenablage gelegt werden."));
                  QGuiApplication::clipboard()->setImage(picture);
              });
}

void GlanceModel::Export::saveEncodedClip(GlanceModel &model, const QString &destination)
{
    if (model.shown_ && model.engine_)
        whenSaved(model, model.engine_->saveClip(*model.shown_, PreviewEngine::ClipKind::Encoded, destination));
}

void GlanceModel::Export::whenSaved(GlanceModel &model, QFuture<void> saved, std::function<void(GlanceModel &)> then)
{
    saved.then(&model, [owner = model.shared_from_this(), then = std::move(then)](QFuture<void> finished) {
        try {
            finished.waitForFinished(); // throws the operation's failure
        } catch (...) {
            if (!isCancellation(std::current_exception()))
                owner->setError(errorDescription(std::current_exception()));
            return;
        }
        if (then)
            then(*owner);
    });
}
