#pragma once

#include "engine/playback_clips.h"
#include "engine/quality_numbers.h"
#include "model/frame_pair.h"
#include "model/glance_model.h"

#include <QString>

// The comparison on screen beyond the frame the engine compared: the player of its clips, the
// frame on screen with its time and quality, and the size that playback decodes at.
struct GlanceModel::Clip {
    // Puts the player's pairs on screen and keeps its decoding sizes to the panes and the view.
    static void connect(GlanceModel &model);
    // Another comparison is on screen (or none), at its own frame: the clips of the last one close.
    static void reset(GlanceModel &model);
    // The clips of the comparison on screen are ready: they open on the frame on screen.
    static void open(GlanceModel &model, const PlaybackClips &clips);
    // They could not be made.
    static void failed(GlanceModel &model, const QString &message);
    // The quality line for the frame on screen; the comparison on screen must have been measured.
    static QString qualityLine(const GlanceModel &model);
    // The frame line and, once measured, the quality line for the frame on screen.
    static void updateTexts(GlanceModel &model);
    // The movie time of frame n of the comparison on screen.
    static double frameSeconds(const GlanceModel &model, qint64 n);
    // "Bild 38 von 75": the frame on screen counted from 1; empty while the count is unknown.
    static QString frameNumberText(const GlanceModel &model);

    // The size playback decodes at and whether pairs come with their difference, after a change
    // of the panes, the zoom, the screen or the view.
    static void updateDecoding(GlanceModel &model);

private:
    static void showPair(GlanceModel &model, const FramePair &pair);
    // The numbers with the frame on screen as their frame.
    static QualityNumbers numbersOfFrame(const GlanceModel &model);
};
