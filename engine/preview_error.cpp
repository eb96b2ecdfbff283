#include "engine/preview_error.h"

QString PreviewError::toolsMissing()
{
    return QStringLiteral("FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.");
}

QString PreviewError::unknownToolFailure()
{
    return QStringLiteral("Unbekannter FFmpeg-Fehler.");
}

QString PreviewError::toolKilled(const QString &tool, int signal)
{
    return QStringLiteral("%1 wurde durch Signal %2 beendet.").arg(tool).arg(signal);
}

QString PreviewError::toolFailed(const QString &tool, int status)
{
    return QStringLiteral("%1 ist mit Status %2 fehlgeschlagen.").arg(tool).arg(status);
}

QString PreviewError::noSpace(const QString &folder)
{
    return QStringLiteral("Kein Platz mehr im temporären Ordner: ") + folder;
}

QString PreviewError::notAFilm(const QString &fileName)
{
    return QStringLiteral("Keine Filmdatei: ") + fileName;
}

QString PreviewError::noFramesRead()
{
    return QStringLiteral("Für diese Szene konnten keine Bilder gelesen werden.");
}

QString PreviewError::unreadableMovieData()
{
    return QStringLiteral("Videodaten konnten nicht gelesen werden.");
}

QString PreviewError::noVideoStream()
{
    return QStringLiteral("Keine Videospur gefunden.");
}

QString PreviewError::hdrNotSupported()
{
    return QStringLiteral("Diese Datei enthält HDR/Dolby Vision. Diese erste Version vergleicht SDR, "
                          "damit Tonemapping das Ergebnis nicht verfälscht.");
}

QString PreviewError::interlacedNotSupported()
{
    return QStringLiteral("Interlaced-Video wird in dieser ersten Version noch nicht unterstützt.");
}

QString PreviewError::unknownDuration()
{
    return QStringLiteral("Die Filmlaufzeit konnte nicht ermittelt werden.");
}

QString PreviewError::invalidBitrate()
{
    return QStringLiteral("Ungültige Bitrate.");
}

QString PreviewError::invalidSceneTime()
{
    return QStringLiteral("Ungültige Szenenzeit.");
}

QString PreviewError::referenceNotCreated()
{
    return QStringLiteral("Referenzausschnitt konnte nicht erstellt werden.");
}

QString PreviewError::frameNotExtracted()
{
    return QStringLiteral("Vergleichsbild konnte nicht entnommen werden.");
}

QString PreviewError::resultGone()
{
    return QStringLiteral("Der Ausschnitt ist nicht mehr vorhanden. Bitte den Vergleich neu berechnen.");
}

QString PreviewError::qualityNotMeasured()
{
    return QStringLiteral("Die Qualität konnte nicht gemessen werden.");
}

QString PreviewError::noSpaceFor(const QString &file)
{
    return QStringLiteral("Kein Platz mehr für die Datei: ") + file;
}

QString PreviewError::linkRefused(const QString &file)
{
    return QStringLiteral("Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: ") + file;
}
