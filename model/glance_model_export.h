#pragma once

#include "model/glance_model.h"

#include <QString>
#include <exception>

// What the model keeps of the comparison on screen: the composed picture of the frame on screen in
// a file or on the clipboard, and the encoded clip. Each save runs on the engine after the work
// queued before it; a failure shows in the model's error, unless the model is gone by then.
struct GlanceModel::Export {
    static QString suggestedPath(const GlanceModel &model, const QString &extension, bool frame);
    static void saveComparisonPicture(GlanceModel &model, const QString &destination);
    static void copyComparisonPicture(GlanceModel &model);
    static void saveEncodedClip(GlanceModel &model, const QString &destination);

private:
    // The comparison at the frame on screen as the engine gives it, with the caption below its
    // frames (the comparison's, and the frame's number), to done(model, result, caption).
    template <typename Done> static void atShownFrame(GlanceModel &model, Done done);
    // Shows a failure (other than a cancellation) in the model's error, or what was done (when not
    // empty) in its notice.
    static void report(GlanceModel &model, const std::exception_ptr &failure, const QString &done);
};
