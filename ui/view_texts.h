#pragma once

#include "glance_model.h"

#include <QKeySequence>
#include <QString>

// Texts that more than one widget of the window shows, each written here once.
namespace ViewTexts {

// "2.0 Mbit/s" from "2.0": the bitrate unit after a number already formatted.
QString mbit(const QString &number);
// "1.5×": the zoom factor with printf's rounding.
QString zoom(double zoom);

// "Ganzes Bild zeigen (Strg+0)": a tooltip that names the keys, as the menus write them.
QString withKey(const QString &text, const QKeySequence &keys);

// "Nebeneinander", "Wechseln", "Teilung", "Differenz".
QString viewName(GlanceModel::ComparisonView view);

// What a pane's corner calls the frame it shows: "Original", "HEVC · 2.0 Mbit/s" (the bitrate of
// the comparison on screen), "Differenz ×4".
QString originalLabel();
QString encodedLabel(double mbps);
QString differenceLabel();

} // namespace ViewTexts
