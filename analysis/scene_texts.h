#pragma once

#include "analysis/scene_result.h"

#include <QList>
#include <QString>

// A scene's clip numbers: "SSIM 0.9581 · PSNR 36.9 dB · 2.37 Mbit/s"
QString sceneNumbersText(const SceneResult &scene);
// A scene's failure among the scenes at those times: "Szene bei 00:01:03: " (with tenths where two
// of them lie less than a second apart) and the failure's text.
QString sceneFailureText(double sceneSeconds, const QList<double> &times, const QString &failure);
// The time of a scene (its compared frame's) among the scenes, with tenths where two of them lie
// less than a second apart.
QString sceneTimeText(double seconds, const QList<SceneResult> &scenes);
