#pragma once

#include "model/glance_model.h"

#include <QFuture>
#include <QString>
#include <functional>

// What the model keeps of the comparison on screen: the composed picture in a file or on the
// clipboard, and the encoded clip. Each save runs on the engine after the work queued before it
// and holds the model until it has ended; a failure shows in the model's error.
struct GlanceModel::Export {
    static QString suggestedPath(const GlanceModel &model, const QString &extension);
    static void saveComparisonPicture(GlanceModel &model, const QString &destination);
    static void copyComparisonPicture(GlanceModel &model);
    static void saveEncodedClip(GlanceModel &model, const QString &destination);

private:
    // The caption below the two frames.
    static QStringList caption(const GlanceModel &model);
    // then() follows the save's success on the GUI thread.
    static void whenSaved(GlanceModel &model, QFuture<void> saved, std::function<void(GlanceModel &)> then = {});
};
