#include "analysis/scene_texts.h"

#include "engine/comparison_texts.h"
#include "engine/quality_texts.h"

#include <QCoreApplication>

QString sceneNumbersText(const SceneResult &scene)
{
    return qualityText(scene.quality.ssimClip, scene.quality.psnrClip) + QStringLiteral(" · ")
        + mbpsText(scene.actualMbps, 2);
}

QString sceneFailureText(double sceneSeconds, const QList<double> &times, const QString &failure)
{
    return QCoreApplication::translate("SceneTexts", "Szene bei %1: %2")
        .arg(sceneTimeText(sceneSeconds, times), failure);
}

QString sceneTimeText(double seconds, const QList<SceneResult> &scenes)
{
    QList<double> times;
    for (const SceneResult &scene : scenes)
        times.append(scene.seconds);
    return sceneTimeText(seconds, times);
}
