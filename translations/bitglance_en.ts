<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>BitrateFinder</name>
    <message>
        <source>Auch %1 Mbit/s erreichen SSIM %2 nicht.</source>
        <translation>Even %1 Mbit/s does not reach SSIM %2.</translation>
    </message>
    <message>
        <source>Schon %1 erreichen SSIM %2.</source>
        <translation>Even %1 reaches SSIM %2.</translation>
    </message>
</context>
<context>
    <name>ComparisonTexts</name>
    <message>
        <source>%1 × %2 · Ziel %3 Mbit/s · gemessen %4 Mbit/s</source>
        <translation>%1 × %2 · target %3 Mbit/s · measured %4 Mbit/s</translation>
    </message>
    <message>
        <source>Vergleich bei %1</source>
        <translation>Comparison at %1</translation>
    </message>
    <message>
        <source>%1 · %2 s wirklich kodiert</source>
        <translation>%1 · %2 s actually encoded</translation>
    </message>
    <message>
        <source>Links: Original · rechts: %1-Vorschau</source>
        <translation>Left: original · right: %1 preview</translation>
    </message>
</context>
<context>
    <name>EncoderCatalogue</name>
    <message>
        <source>HEVC (Grafikkarte)</source>
        <translation>HEVC (graphics card)</translation>
    </message>
</context>
<context>
    <name>PreviewError</name>
    <message>
        <source>FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.</source>
        <translation>FFmpeg/ffprobe are missing. Please build Bitglance with build.sh.</translation>
    </message>
    <message>
        <source>Unbekannter FFmpeg-Fehler.</source>
        <translation>Unknown FFmpeg error.</translation>
    </message>
    <message>
        <source>%1 wurde durch Signal %2 beendet.</source>
        <translation>%1 was ended by signal %2.</translation>
    </message>
    <message>
        <source>%1 ist mit Status %2 fehlgeschlagen.</source>
        <translation>%1 failed with status %2.</translation>
    </message>
    <message>
        <source>Kein Platz mehr im temporären Ordner: %1</source>
        <translation>No space left in the temporary folder: %1</translation>
    </message>
    <message>
        <source>Keine Filmdatei: %1</source>
        <translation>Not a film file: %1</translation>
    </message>
    <message>
        <source>Für diese Szene konnten keine Bilder gelesen werden.</source>
        <translation>No frames could be read for this scene.</translation>
    </message>
    <message>
        <source>Videodaten konnten nicht gelesen werden.</source>
        <translation>The video data could not be read.</translation>
    </message>
    <message>
        <source>Keine Videospur gefunden.</source>
        <translation>No video track found.</translation>
    </message>
    <message>
        <source>Diese Datei enthält HDR/Dolby Vision. Diese erste Version vergleicht SDR, damit Tonemapping das Ergebnis nicht verfälscht.</source>
        <translation>This file contains HDR/Dolby Vision. This first version compares SDR only, so that tone mapping does not distort the result.</translation>
    </message>
    <message>
        <source>Interlaced-Video wird in dieser ersten Version noch nicht unterstützt.</source>
        <translation>Interlaced video is not supported yet in this first version.</translation>
    </message>
    <message>
        <source>Die Filmlaufzeit konnte nicht ermittelt werden.</source>
        <translation>The film&apos;s duration could not be determined.</translation>
    </message>
    <message>
        <source>Ungültige Bitrate.</source>
        <translation>Invalid bitrate.</translation>
    </message>
    <message>
        <source>Ungültige Szenenzeit.</source>
        <translation>Invalid scene time.</translation>
    </message>
    <message>
        <source>Referenzausschnitt konnte nicht erstellt werden.</source>
        <translation>The reference clip could not be created.</translation>
    </message>
    <message>
        <source>Vergleichsbild konnte nicht entnommen werden.</source>
        <translation>The comparison frame could not be extracted.</translation>
    </message>
    <message>
        <source>Der Ausschnitt ist nicht mehr vorhanden. Bitte den Vergleich neu berechnen.</source>
        <translation>The clip is no longer there. Please compute the comparison again.</translation>
    </message>
    <message>
        <source>Die Qualität konnte nicht gemessen werden.</source>
        <translation>The quality could not be measured.</translation>
    </message>
    <message>
        <source>Keine lokale Datei: %1</source>
        <translation>Not a local file: %1</translation>
    </message>
    <message>
        <source>Es gibt keine Szenen zu prüfen.</source>
        <translation>There are no scenes to check.</translation>
    </message>
    <message>
        <source>Keine Datei angegeben.</source>
        <translation>No file given.</translation>
    </message>
    <message>
        <source>Kein Platz mehr für die Datei: %1</source>
        <translation>No space left for the file: %1</translation>
    </message>
    <message>
        <source>Die Datei ist eine symbolische Verknüpfung und wird nicht überschrieben: %1</source>
        <translation>The file is a symbolic link and will not be overwritten: %1</translation>
    </message>
</context>
<context>
    <name>QualityTexts</name>
    <message>
        <source>Ausschnitt: %1 · Bild: %2</source>
        <translation>Clip: %1 · Frame: %2</translation>
    </message>
</context>
<context>
    <name>QualityVerdict</name>
    <message>
        <source>sehr gut</source>
        <translation>very good</translation>
    </message>
    <message>
        <source>gut</source>
        <translation>good</translation>
    </message>
    <message>
        <source>ausreichend</source>
        <translation>adequate</translation>
    </message>
    <message>
        <source>sichtbare Verluste</source>
        <translation>visible losses</translation>
    </message>
    <message>
        <source>deutliche Verluste</source>
        <translation>clear losses</translation>
    </message>
</context>
<context>
    <name>SceneTexts</name>
    <message>
        <source>Szene bei %1: %2</source>
        <translation>Scene at %1: %2</translation>
    </message>
</context>
</TS>
