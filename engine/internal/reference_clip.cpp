#include "engine/internal/reference_clip.h"

#include "engine/number_text.h"

QString ReferenceClip::keyFor(const QString &moviePath, double seconds, qint64 maxHeight)
{
    return moviePath + QLatin1Char('|') + doubleText(seconds) + QLatin1Char('|') + QString::number(maxHeight);
}
