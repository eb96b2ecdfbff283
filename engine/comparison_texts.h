#pragma once

#include "engine/preview_result.h"

#include <QList>
#include <QString>
#include <QStringList>

// Texts built from numbers, always with a decimal point whatever the user's locale.

// Seconds as "%02d:%02d:%02d", rounded half away from zero, negative shown as zero.
QString timeText(double seconds);
// The time of one of several scenes at `times`: as timeText, but with tenths ("00:00:02.5",
// rounded half away from zero) when two of the times lie less than a second apart, which whole
// seconds might not tell apart.
QString sceneTimeText(double seconds, const QList<double> &times);
// "1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s"
QString measurementText(double targetMbps, const PreviewResult &result);
// "Vergleich bei 00:01:00 · 3.0 s wirklich kodiert"
QString comparisonStatusText(const PreviewResult &result);
// The caption below a saved comparison picture: the movie's file name, "Vergleich bei 00:01:00",
// the measurement text, the quality line when the result has been measured, and which side shows
// which frame.
QStringList comparisonCaption(const QString &movieName, const PreviewResult &result);
