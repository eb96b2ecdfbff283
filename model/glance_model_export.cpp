#include "model/glance_model_export.h"

#include "engine/comparison_texts.h"
#include "engine/error_description.h"
#include "engine/number_text.h"
#include "engine/preview_engine.h"
#include "engine/when_finished.h"
#include "model/glance_model_clip.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

QString GlanceModel::Export::suggestedPath(const GlanceModel &model, const QString &extension, bool frame)
{
    if (!model.shown_ || !model.movie_)
        return {};
    const QFileInfo movie(model.movie_->path());
    const double seconds = frame ? Clip::frameSeconds(model, model.shownFrame_) : model.shown_->seconds;
    QString name = movie.completeBaseName() + u'-' + timeText(seconds).replace(u':', u'-') + u'-'
        + fixedText(model.comparisonMbps_, 1) + QStringLiteral("Mbit");
    if (frame && model.shownFrame_ >= 0)
        //: A part of a file name: the number of the frame on screen.
        name += QCoreApplication::translate("GlanceModel", "-Bild%1").arg(model.shownFrame_ + 1);
    return movie.dir().filePath(name + u'.' + extension);
}

template <typename Done> void GlanceModel::Export::atShownFrame(GlanceModel &model, Done done)
{
    if (!model.shown_ || !model.engine_ || !model.movie_)
        return;
    // The caption below the frames: the comparison's, with the number of the frame.
    const QString movieName = QFileInfo(model.movie_->path()).fileName();
    const auto captioned = [movieName, frame = Clip::frameNumberText(model), done](GlanceModel &owner,
                                                                                   const PreviewResult &result) {
        QStringList caption = comparisonCaption(movieName, result);
        if (!frame.isEmpty())
            caption.insert(2, frame);
        done(owner, result, caption);
    };
    // The comparison's own frame is the result itself; another one the engine extracts first.
    if (model.shownFrame_ == model.shown_->frame || model.shownFrame_ < 0)
        return captioned(model, *model.shown_);
    whenFinished(model.engine_->atFrame(*model.shown_, model.shownFrame_), &model,
                 [&model, captioned](std::optional<PreviewResult> result, const std::exception_ptr &failure) {
                     failure ? report(model, failure, QString()) : captioned(model, *result);
                 });
}

void GlanceModel::Export::saveComparisonPicture(GlanceModel &model, const QString &destination)
{
    atShownFrame(model, [destination](GlanceModel &owner, const PreviewResult &result, const QStringList &caption) {
        whenFinished(owner.engine_->saveComparisonPicture(result, caption, destination), &owner,
                     [&owner, destination](const std::exception_ptr &failure) {
                         report(
                             owner, failure,
                             QCoreApplication::translate("GlanceModel", "Vergleich gespeichert: %1").arg(destination));
                     });
    });
}

void GlanceModel::Export::copyComparisonPicture(GlanceModel &model)
{
    atShownFrame(model, [](GlanceModel &owner, const PreviewResult &result, const QStringList &caption) {
        whenFinished(
            owner.engine_->comparisonPicture(result, caption), &owner,
            [&owner](std::optional<QByteArray> png, const std::exception_ptr &failure) {
                if (failure)
                    return report(owner, failure, QString());
                const QImage picture = QImage::fromData(png.value_or(QByteArray()), "PNG");
                if (picture.isNull())
                    return owner.setError(QCoreApplication::translate(
                        "GlanceModel", "Das Vergleichsbild konnte nicht in die Zwischenablage gelegt werden."));
                QGuiApplication::clipboard()->setImage(picture);
                owner.setNotice(QCoreApplication::translate("GlanceModel", "Vergleich in die Zwischenablage kopiert."));
            });
    });
}

void GlanceModel::Export::saveEncodedClip(GlanceModel &model, const QString &destination)
{
    if (model.shown_ && model.engine_)
        whenFinished(model.engine_->saveClip(*model.shown_, PreviewEngine::ClipKind::Encoded, destination), &model,
                     [&model, destination](const std::exception_ptr &failure) {
                         report(model, failure,
                                QCoreApplication::translate("GlanceModel", "Kodierter Ausschnitt gespeichert: %1")
                                    .arg(destination));
                     });
}

void GlanceModel::Export::report(GlanceModel &model, const std::exception_ptr &failure, const QString &done)
{
    if (!failure)
        return model.setNotice(done);
    if (isCancellation(failure))
        return;
    model.setNotice(QString());
    model.setError(errorDescription(failure));
}
