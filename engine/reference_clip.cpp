#include "reference_clip.h"

#include "number_text.h"

#include <QFileInfo>

QString ReferenceClip::keyFor(const QString &moviePath, double seconds, qint64 maxHeight)
{
    return moviePath + QLatin1Char('|') + doubleText(seconds) + QLatin1Char('|') + QString::number(maxHeight);
}

bool ReferenceClip::isFor(const QString &otherKey, const WorkFolder &folder) const
{
    return key == otherKey && QFileInfo::exists(folder.file(clipFile())) && QFileInfo::exists(folder.file(frameFile()));
}
