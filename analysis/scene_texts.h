#pragma once

#include "analysis/scene_result.h"

#include <QString>

// A scene's clip numbers: "SSIM 0.9581 · PSNR 36.9 dB · 2.37 Mbit/s"
QString sceneNumbersText(const SceneResult &scene);
// A scene's failure: "Szene bei 00:01:03: " and the failure's text.
QString sceneFailureText(double sceneSeconds, const QString &failure);
