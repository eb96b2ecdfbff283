#include "engine/preview_error.h"

PreviewError PreviewError::withDetail(const QString &lines) const
{
    return lines.isEmpty() ? *this : PreviewError(message_ + QLatin1Char('\n') + lines, kind_);
}

PreviewError PreviewError::toolsMissing()
{
    return PreviewError(QStringLiteral("FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen."));
}

PreviewError PreviewError::unknownToolFailure()
{
    return PreviewError(QStringLiteral("Unbekannter FFmpeg-Fehler."));
}

PreviewError PreviewError::toolKilled(const QString &tool, int signal)
{
    return PreviewError(QStringLiteral("%1 wurde durch Signal %2 beendet.").arg(tool).arg(signal));
}

PreviewError PreviewError::toolFailed(const QString &tool, int status)
{
    return PreviewError(QStringLiteral("%1 ist mit Status %2 fehlgeschlagen.").arg(tool).arg(status));
}

PreviewError PreviewError::noSpace(const QString &folder)
{
    return PreviewError(QStringLiteral("Kein Platz mehr im temporären Ordner: ") + folder);
}

PreviewError PreviewError::notAMovie(const QString &fileName)
{
    return PreviewError(QStringLiteral("Keine Filmdatei: ") + fileName);
}

PreviewError PreviewError::noFramesRead()
{
    return PreviewError(QStringLiteral("Für diese Szene konnten keine Bilder gelesen werden."));
}

PreviewError PreviewError::unreadableMovieData()
{
    return PreviewError(QStringLiteral("Videodaten konnten nicht gelesen werden."));
}

PreviewError PreviewError::noVideoStream()
{
    return PreviewError(QStringLiteral("Keine Videospur gefunden."));
}

PreviewError PreviewError::hdrNotSupported()
{
    return PreviewError(QStringLiteral("Diese Datei enthält HDR/Dolby Vision. Diese erste Version vergleicht SDR, "
                                       "damit Tonemapping das Ergebnis nicht verfälscht."));
}

PreviewError PreviewError::interlacedNotSupported()
{
    return PreviewError(QStringLiteral("Interlaced-Video wird in dieser ersten Version noch nicht unterstützt."));
}

PreviewError PreviewError::unknownDuration()
{
    return PreviewError(QStringLiteral("Die Filmlaufzeit konnte nicht ermittelt werden."));
}

PreviewError PreviewError::invalidBitrate()
{
    return PreviewError(QStringLiteral("Ungültige Bitrate."));
}

PreviewError PreviewError::invalidSceneTime()
{
    return PreviewError(QStringLiteral("Ungültige Szenenzeit."));
}

PreviewError PreviewError::referenceNotCreated()
{
    return PreviewError(QStringLiteral("Referenzausschnitt konnte nicht erstellt werden."));
}

PreviewError PreviewError::frameNotExtracted()
{
    return PreviewError(QStringLiteral("Vergleichsbild konnte nicht entnommen werden."));
}

PreviewError PreviewError::resultGone()
{
    return PreviewError(QStringLiteral("Der Ausschnitt ist nicht mehr vorhanden. Bitte den Vergleich neu berechnen."));
}

PreviewError PreviewError::qualityNotMeasured()
{
    return PreviewError(QStringLiteral("Die Qualität konnte nicht gemessen werden."));
}

PreviewError PreviewError::notALocalFile(const QString &url)
{
    return PreviewError(QStringLiteral("Keine lokale Datei: ") + url);
}

PreviewError PreviewError::noScenes()
{
    return PreviewError(QStringLiteral("Es gibt keine Szenen zu prüfen."));
}

PreviewError PreviewError::noFileGiven()
{
    return PreviewError(QStringLiteral("Keine Datei angegeben."));
}

PreviewError PreviewError::noSpaceFor(const QString &file)
{
    return PreviewError(QStringLiteral("Kein Platz mehr für die Datei: ") + file);
}

PreviewError PreviewError::linkRefused(const QString &file)
{
    return PreviewError(QStringLiteral("Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: ")
                        + file);
}
