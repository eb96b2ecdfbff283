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
    <name>BitrateTargetDialog</name>
    <message>
        <source>Zielqualität</source>
        <translation>Target quality</translation>
    </message>
</context>
<context>
    <name>ClipBar</name>
    <message>
        <source>Bild %1</source>
        <translation>Frame %1</translation>
    </message>
    <message>
        <source>Bilder des Ausschnitts</source>
        <translation>Frames of the clip</translation>
    </message>
    <message>
        <source>Säulenhöhe: SSIM von %1 bis 1.00 · grün ab %2, rot bis %3</source>
        <translation>Bar height: SSIM from %1 to 1.00 · green from %2, red up to %3</translation>
    </message>
</context>
<context>
    <name>ClipPanel</name>
    <message>
        <source>Anhalten</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Abspielen</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Bild zurück</source>
        <translation>Previous frame</translation>
    </message>
    <message>
        <source>Bild vor</source>
        <translation>Next frame</translation>
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
    <name>QualityChart</name>
    <message>
        <source>Qualität über Bitrate</source>
        <translation>Quality over bitrate</translation>
    </message>
    <message>
        <source>Ziel %1</source>
        <translation>Target %1</translation>
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
    <name>ScanPanel</name>
    <message>
        <source>Szenen prüfen</source>
        <translation>Check scenes</translation>
    </message>
    <message>
        <source>Bitrate finden …</source>
        <translation>Find bitrate…</translation>
    </message>
    <message>
        <source>Bitrate finden</source>
        <translation>Find bitrate</translation>
    </message>
    <message>
        <source>Szene %1 von %2</source>
        <translation>Scene %1 of %2</translation>
    </message>
    <message>
        <source>Runde %1 · %2</source>
        <translation>Round %1 · %2</translation>
    </message>
    <message>
        <source>Szenen über den ganzen Film verteilt bei dieser Bitrate vergleichen und messen; die schlechtesten zeigt der Streifen unter dem Regler rot</source>
        <translation>Compare and measure scenes spread over the whole film at this bitrate; the strip under the slider shows the worst in red</translation>
    </message>
    <message>
        <source>Die niedrigste Bitrate suchen, bei der auch die schlechtesten Szenen eine Zielqualität erreichen</source>
        <translation>Search for the lowest bitrate at which even the worst scenes reach a target quality</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Szenenliste</source>
        <translation>Scene list</translation>
    </message>
    <message>
        <source>Die geprüften Szenen als Liste und das Diagramm der Bitratensuche neben den Bildern zeigen oder ausblenden</source>
        <translation>Show or hide the checked scenes as a list and the bitrate finder&apos;s chart beside the pictures</translation>
    </message>
    <message>
        <source>Szenen bei %1</source>
        <translation>Scenes at %1</translation>
    </message>
    <message>
        <source>Prüfung läuft bei %1 zu Ende, danach Vergleich bei %2.</source>
        <translation>The scan finishes at %1, then the comparison follows at %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n Szenen geprüft · schlechteste bei %1: SSIM %2</source>
        <translation>
            <numerusform>%n scene checked · worst at %1: SSIM %2</numerusform>
            <numerusform>%n scenes checked · worst at %1: SSIM %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScanResultsPanel</name>
    <message>
        <source>Geprüfte Szenen</source>
        <translation>Checked scenes</translation>
    </message>
    <message>
        <source>Szenen</source>
        <translation>Scenes</translation>
    </message>
    <message>
        <source>Bitratensuche</source>
        <translation>Bitrate finder</translation>
    </message>
    <message>
        <source>Die schlechteste Szene zuerst; ein Klick auf eine Spalte sortiert nach ihr. Eingabetaste oder Doppelklick zeigt den Vergleich der Szene.</source>
        <translation>Worst scene first; click a column to sort by it. Enter or a double-click shows the scene&apos;s comparison.</translation>
    </message>
    <message>
        <source>Gefunden: %1 für SSIM %2 · schlechteste Szene bei %3: SSIM %4</source>
        <translation>Found: %1 for SSIM %2 · worst scene at %3: SSIM %4</translation>
    </message>
    <message>
        <source>Gilt für %1, %2.</source>
        <translation>Applies to %1, %2.</translation>
    </message>
    <message>
        <source>Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie, die gefundene Bitrate markiert.</source>
        <translation>Clip SSIM of the worst scenes over bitrate, with the target as a line and the bitrate found marked.</translation>
    </message>
    <message>
        <source>Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie.</source>
        <translation>Clip SSIM of the worst scenes over bitrate, with the target as a line.</translation>
    </message>
</context>
<context>
    <name>SceneList</name>
    <message>
        <source>Szenen</source>
        <translation>Scenes</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>%1 · Suche</source>
        <translation>%1 · finder</translation>
    </message>
    <message>
        <source>Bitratensuche: die schlechteste Szene bei dieser Bitrate</source>
        <translation>Bitrate finder: the worst scene at this bitrate</translation>
    </message>
</context>
<context>
    <name>SceneTexts</name>
    <message>
        <source>Szene bei %1: %2</source>
        <translation>Scene at %1: %2</translation>
    </message>
</context>
<context>
    <name>VerdictLabel</name>
    <message>
        <source>Urteil: %1</source>
        <translation>Verdict: %1</translation>
    </message>
    <message>
        <source>schlechtestes Bild: SSIM %1</source>
        <translation>worst frame: SSIM %1</translation>
    </message>
    <message>
        <source>nach SSIM %1 des Ausschnitts</source>
        <translation>by the clip&apos;s SSIM %1</translation>
    </message>
    <message>
        <source>ab SSIM %1</source>
        <translation>from SSIM %1</translation>
    </message>
    <message>
        <source>darunter</source>
        <translation>below</translation>
    </message>
    <message>
        <source>Das Urteil gilt dem ganzen Ausschnitt: seiner SSIM %1, auf derselben Skala wie die Farben der Szenenleiste und der Bildleiste.</source>
        <translation>The verdict is for the whole clip: its SSIM %1, on the same scale as the colors of the scene strip and the frame bar.</translation>
    </message>
    <message>
        <source>Das schlechteste Bild (Bild %1 von %2) zieht den Ausschnitt am stärksten herunter; „%3“ (W) zeigt es.</source>
        <translation>The worst frame (frame %1 of %2) pulls the clip down the most; “%3” (W) shows it.</translation>
    </message>
</context>
</TS>
