#include "engine/preview_error.h"

#include <QCoreApplication>

PreviewError PreviewError::withDetail(const QString &lines) const
{
    return lines.isEmpty() ? *this : PreviewError(message_ + QLatin1Char('\n') + lines, kind_);
}

PreviewError PreviewError::toolsMissing()
{
    return PreviewError(
        QCoreApplication::translate("PreviewError", "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen."));
}

PreviewError PreviewError::unknownToolFailure()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Unbekannter FFmpeg-Fehler."));
}

PreviewError PreviewError::toolKilled(const QString &tool, int signal)
{
    return PreviewError(QCoreApplication::translate("PreviewError", "%1 wurde durch Signal %2 beendet.")
                            .arg(tool, QString::number(signal)));
}

PreviewError PreviewError::toolFailed(const QString &tool, int status)
{
    return PreviewError(QCoreApplication::translate("PreviewError", "%1 ist mit Status %2 fehlgeschlagen.")
                            .arg(tool, QString::number(status)));
}

PreviewError PreviewError::noSpace(const QString &folder)
{
    return PreviewError(
        QCoreApplication::translate("PreviewError", "Kein Platz mehr im temporären Ordner: %1").arg(folder));
}

PreviewError PreviewError::notAMovie(const QString &fileName)
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Keine Filmdatei: %1").arg(fileName));
}

PreviewError PreviewError::noFramesRead()
{
    return PreviewError(
        QCoreApplication::translate("PreviewError", "Für diese Szene konnten keine Bilder gelesen werden."));
}

PreviewError PreviewError::unreadableMovieData()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Videodaten konnten nicht gelesen werden."));
}

PreviewError PreviewError::noVideoStream()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Keine Videospur gefunden."));
}

PreviewError PreviewError::hdrNotSupported()
{
    return PreviewError(
        QCoreApplication::translate("PreviewError",
                                    "Diese Datei enthält HDR/Dolby Vision. Diese erste Version vergleicht SDR, "
                                    "damit Tonemapping das Ergebnis nicht verfälscht."));
}

PreviewError PreviewError::interlacedNotSupported()
{
    return PreviewError(QCoreApplication::translate(
        "PreviewError", "Interlaced-Video wird in dieser ersten Version noch nicht unterstützt."));
}

PreviewError PreviewError::unknownDuration()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Die Filmlaufzeit konnte nicht ermittelt werden."));
}

PreviewError PreviewError::invalidBitrate()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Ungültige Bitrate."));
}

PreviewError PreviewError::invalidSceneTime()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Ungültige Szenenzeit."));
}

PreviewError PreviewError::referenceNotCreated()
{
    return PreviewError(
        QCoreApplication::translate("PreviewError", "Referenzausschnitt konnte nicht erstellt werden."));
}

PreviewError PreviewError::frameNotExtracted()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Vergleichsbild konnte nicht entnommen werden."));
}

PreviewError PreviewError::resultGone()
{
    return PreviewError(QCoreApplication::translate(
        "PreviewError", "Der Ausschnitt ist nicht mehr vorhanden. Bitte den Vergleich neu berechnen."));
}

PreviewError PreviewError::qualityNotMeasured()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Die Qualität konnte nicht gemessen werden."));
}

PreviewError PreviewError::notALocalFile(const QString &url)
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Keine lokale Datei: %1").arg(url));
}

PreviewError PreviewError::noScenes()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Es gibt keine Szenen zu prüfen."));
}

PreviewError PreviewError::noFileGiven()
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Keine Datei angegeben."));
}

PreviewError PreviewError::noSpaceFor(const QString &file)
{
    return PreviewError(QCoreApplication::translate("PreviewError", "Kein Platz mehr für die Datei: %1").arg(file));
}

PreviewError PreviewError::linkRefused(const QString &file)
{
    return PreviewError(
        QCoreApplication::translate("PreviewError",
                                    "Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: %1")
            .arg(file));
}
