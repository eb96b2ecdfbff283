#include "analysis/scene_texts.h"

#include "engine/quality_texts.h"

QString sceneNumbersText(const SceneResult &scene)
{
    return qualityText(scene.quality.ssimClip, scene.quality.psnrClip) + QStringLiteral(" · ")
        + mbpsText(scene.actualMbps, 2);
}
