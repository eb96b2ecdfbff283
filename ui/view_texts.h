#pragma once

#include "model/glance_model.h"

#include <QKeySequence>
#include <QString>

// Texts that more than one widget of the window shows, each written here once.
namespace ViewTexts {

// "2.0 Mbit/s" from "2.0": the bitrate unit after a number already formatted.
QString mbit(const QString &number);
// "1.5×": the zoom factor with printf's rounding.
QString zoom(double zoom);

// "noch ca. 4 s", "noch ca. 2 min": the estimated time a step still needs.
QString remaining(double seconds);

// "Ganzes Bild zeigen (Strg+0)": a tooltip that names the keys, as the menus write them.
QString withKey(const QString &text, const QKeySequence &keys);

// "Nebeneinander", "Wechseln", "Teilung", "Differenz".
QString viewName(GlanceModel::ComparisonView view);

// What the single pane of a view shows, after the view's name in its title.
QString viewHint(GlanceModel::ComparisonView view);

// What a pane's corner calls the frame it shows: "Original", "HEVC · 2.0 Mbit/s" (the bitrate of
// the comparison on screen), "Differenz ×4".
QString originalLabel();
QString encodedLabel(double mbps);
QString differenceLabel();
// "Quelle", "max. 720p", "max. 1080p": a height limit as the resolution menu names it.
QString heightLimit(qint64 maxHeight);
// "Schlechtestes Bild": the clip's frame with the lowest SSIM (a button, a column of the scene list).
QString worstFrame();
// "2.0 Mbit/s": the bitrate of an encoded comparison.
QString encodedBitrate(double mbps);
// "HEVC · 2.0 Mbit/s (alt)": a label of a comparison made for other settings than the current ones.
QString stale(const QString &label);
// A text of the encoded side ("HEVC · Vorschau") with the format the shown comparison was encoded
// to in place of "HEVC" ("AV1 · Vorschau").
QString inFormat(const QString &text, const GlanceModel &model);

} // namespace ViewTexts
