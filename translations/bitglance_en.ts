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
    <name>ClipDecoder</name>
    <message>
        <source>Die Einzelbilder des Ausschnitts lassen sich nicht lesen.</source>
        <translation>The clip&apos;s frames cannot be read.</translation>
    </message>
</context>
<context>
    <name>ComparisonExportActions</name>
    <message>
        <source>Vergleich speichern …</source>
        <translation>Save comparison…</translation>
    </message>
    <message>
        <source>PNG-Bild (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Vergleich kopieren</source>
        <translation>Copy comparison</translation>
    </message>
    <message>
        <source>Kodierten Ausschnitt speichern …</source>
        <translation>Save encoded clip…</translation>
    </message>
    <message>
        <source>MP4-Video (*.mp4)</source>
        <translation>MP4 video (*.mp4)</translation>
    </message>
</context>
<context>
    <name>ComparisonPane</name>
    <message>
        <source>HEVC-Vorschau</source>
        <translation>HEVC preview</translation>
    </message>
    <message>
        <source>Noch keine Vorschau</source>
        <translation>No preview yet</translation>
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
    <name>EncoderRow</name>
    <message>
        <source>%1 bit</source>
        <translation>%1-bit</translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>Womit der Ausschnitt kodiert wird; am besten das, womit der Film später kodiert wird</source>
        <translation>What the clip is encoded with; best the one the film will be encoded with later</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Langsamere Presets erreichen dieselbe Qualität mit weniger Bitrate</source>
        <translation>Slower presets reach the same quality with less bitrate</translation>
    </message>
    <message>
        <source>Bittiefe</source>
        <translation>Bit depth</translation>
    </message>
    <message>
        <source>10 bit vermeidet Stufen in Verläufen wie Himmel und dunklen Szenen</source>
        <translation>10-bit avoids banding in gradients such as skies and dark scenes</translation>
    </message>
    <message>
        <source>Standard der Karte</source>
        <translation>Card&apos;s default</translation>
    </message>
</context>
<context>
    <name>FilmOutlook</name>
    <message>
        <source>ca. %1 GB</source>
        <translation>about %1 GB</translation>
    </message>
    <message>
        <source>ca. %1 MB</source>
        <translation>about %1 MB</translation>
    </message>
    <message>
        <source>Ziel liegt über der Bitrate der Quelle (%1).</source>
        <translation>The target is above the source&apos;s bitrate (%1).</translation>
    </message>
    <message>
        <source>Kurzer Ausschnitt: %1 hat %2× das Ziel gebraucht.</source>
        <translation>Short clip: %1 needed %2× the target.</translation>
    </message>
    <message>
        <source>Aus der gemessenen Bitrate des Ausschnitts (%1) und der Länge des Films (%2).</source>
        <translation>From the clip&apos;s measured bitrate (%1) and the film&apos;s length (%2).</translation>
    </message>
    <message>
        <source>Aus dem Mittel der gemessenen Bitraten von %1 geprüften Szenen (%2) und der Länge des Films (%3).</source>
        <translation>From the mean measured bitrate of %1 checked scenes (%2) and the film&apos;s length (%3).</translation>
    </message>
    <message>
        <source>Ganzer Film: %1 (Video) + Ton</source>
        <translation>Whole film: %1 (video) + audio</translation>
    </message>
</context>
<context>
    <name>GlanceModel</name>
    <message>
        <source>Film öffnen und eine Szene auswählen.</source>
        <translation>Open a film and choose a scene.</translation>
    </message>
    <message>
        <source>Videodaten werden gelesen …</source>
        <translation>Reading the video data…</translation>
    </message>
    <message>
        <source>Vorschau wird aktualisiert …</source>
        <translation>Updating the preview…</translation>
    </message>
    <message>
        <source>Bild %1 von %2</source>
        <translation>Frame %1 of %2</translation>
    </message>
    <message>
        <source>-Bild%1</source>
        <extracomment>A part of a file name: the number of the frame on screen.</extracomment>
        <translation>-frame%1</translation>
    </message>
    <message>
        <source>Vergleich gespeichert: %1</source>
        <translation>Comparison saved: %1</translation>
    </message>
    <message>
        <source>Das Vergleichsbild konnte nicht in die Zwischenablage gelegt werden.</source>
        <translation>The comparison picture could not be put on the clipboard.</translation>
    </message>
    <message>
        <source>Vergleich in die Zwischenablage kopiert.</source>
        <translation>Comparison copied to the clipboard.</translation>
    </message>
    <message>
        <source>Kodierter Ausschnitt gespeichert: %1</source>
        <translation>Encoded clip saved: %1</translation>
    </message>
    <message>
        <source>Datei konnte nicht geöffnet werden.</source>
        <translation>The file could not be opened.</translation>
    </message>
    <message>
        <source>Vorschau fehlgeschlagen.</source>
        <translation>The preview failed.</translation>
    </message>
    <message>
        <source>Die Grafikkarte konnte den Ausschnitt nicht kodieren; Bitglance vergleicht stattdessen mit HEVC (x265).</source>
        <translation>The graphics card could not encode the clip; Bitglance compares with HEVC (x265) instead.</translation>
    </message>
    <message>
        <source>Qualität wird gemessen …</source>
        <translation>Measuring the quality…</translation>
    </message>
</context>
<context>
    <name>GlanceView</name>
    <message>
        <source>Hinweise zur Bitrate</source>
        <translation>Bitrate hints</translation>
    </message>
    <message>
        <source>Kodierbefehl kopieren</source>
        <translation>Copy encoding command</translation>
    </message>
    <message>
        <source>Den ffmpeg-Befehl kopieren, der den ganzen Film so kodiert wie den Ausschnitt: Encoder, Preset, Bittiefe, Bitrate und Auflösung; Ton und Untertitel unverändert</source>
        <translation>Copy the ffmpeg command that encodes the whole film the way the clip was encoded: encoder, preset, bit depth, bitrate and resolution; audio and subtitles unchanged</translation>
    </message>
    <message>
        <source>Kodierbefehl in die Zwischenablage kopiert.</source>
        <translation>Encoding command copied to the clipboard.</translation>
    </message>
    <message>
        <source>Original · auf Vergleichsauflösung skaliert</source>
        <translation>Original · scaled to the comparison resolution</translation>
    </message>
    <message>
        <source>HEVC · Vorschau</source>
        <extracomment>&quot;HEVC&quot; stands for the format of the comparison on screen and is replaced by it (&quot;AV1&quot;).</extracomment>
        <translation>HEVC · preview</translation>
    </message>
    <message>
        <source>Nach einer Slideränderung wird automatisch neu kodiert. Währenddessen bleibt der letzte Vergleich sichtbar. Kurze Ausschnitte können die Zielbitrate überschreiten; mehrere dunkle, bewegte und detailreiche Szenen prüfen.</source>
        <translation>Changing a slider encodes the clip again automatically. Meanwhile the last comparison stays visible. Short clips can exceed the target bitrate; check several dark, moving and detailed scenes.</translation>
    </message>
    <message>
        <source>Bitglance-Logo</source>
        <translation>Bitglance logo</translation>
    </message>
    <message>
        <source>Bitrate und Bildqualität vergleichen</source>
        <translation>Compare bitrate and picture quality</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Fensterinhalt waagrecht verschieben</source>
        <translation>Scroll the window content horizontally</translation>
    </message>
    <message>
        <source>Fensterinhalt senkrecht verschieben</source>
        <translation>Scroll the window content vertically</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>MovieFileDialog</name>
    <message>
        <source>Videodateien (%1)</source>
        <translation>Video files (%1)</translation>
    </message>
    <message>
        <source>Alle Dateien (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Film öffnen …</source>
        <translation>Open film…</translation>
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
    <name>RecentFilmsMenu</name>
    <message>
        <source>&amp;Zuletzt geöffnet</source>
        <translation>&amp;Recent films</translation>
    </message>
    <message>
        <source>Nicht mehr vorhanden: %1</source>
        <translation>No longer there: %1</translation>
    </message>
    <message>
        <source>Liste leeren</source>
        <translation>Clear list</translation>
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
    <name>SettingsPanel</name>
    <message>
        <source>Auflösung</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>Quelle: %1 · %2 × %3</source>
        <translation>Source: %1 · %2 × %3</translation>
    </message>
    <message>
        <source>Szene</source>
        <translation>Scene</translation>
    </message>
    <message>
        <source>Eine Sekunde früher</source>
        <translation>One second earlier</translation>
    </message>
    <message>
        <source>Eine Sekunde später</source>
        <translation>One second later</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>Fenster auf Quelle anpassen</source>
        <translation>Fit window to source</translation>
    </message>
    <message>
        <source>Neu berechnen</source>
        <translation>Recalculate</translation>
    </message>
    <message>
        <source>Den Vergleich sofort berechnen</source>
        <translation>Calculate the comparison now</translation>
    </message>
</context>
<context>
    <name>StatusArea</name>
    <message>
        <source>Fehlertext verschieben</source>
        <translation>Scroll the error text</translation>
    </message>
    <message>
        <source>Fortschritt</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>SDR · %1 · ohne Ton</source>
        <translation>SDR · %1 · no audio</translation>
    </message>
</context>
<context>
    <name>ViewTexts</name>
    <message>
        <source>noch ca. %1 s</source>
        <translation>about %1 s left</translation>
    </message>
    <message>
        <source>noch ca. %1 min</source>
        <translation>about %1 min left</translation>
    </message>
    <message>
        <source>Nebeneinander</source>
        <translation>Side by side</translation>
    </message>
    <message>
        <source>Wechseln</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>Teilung</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>Differenz</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Leertaste oder Klick: anderes Bild</source>
        <translation>Space or click: the other frame</translation>
    </message>
    <message>
        <source>links Original, rechts HEVC · Trennlinie am Griff ziehen</source>
        <extracomment>&quot;HEVC&quot; stands for the format of the comparison on screen and is replaced by it (&quot;AV1&quot;).</extracomment>
        <translation>original on the left, HEVC on the right · drag the divider by its handle</translation>
    </message>
    <message>
        <source>Helligkeitsunterschied: je heller, desto größer</source>
        <translation>brightness difference: the brighter, the greater</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>max. %1p</source>
        <translation>max. %1p</translation>
    </message>
    <message>
        <source>%1 (alt)</source>
        <translation>%1 (old)</translation>
    </message>
    <message>
        <source>Schlechtestes Bild</source>
        <translation>Worst frame</translation>
    </message>
</context>
<context>
    <name>ZoomBar</name>
    <message>
        <source>Original und HEVC-Vorschau nebeneinander</source>
        <translation>Original and HEVC preview side by side</translation>
    </message>
    <message>
        <source>Original und HEVC-Vorschau an derselben Stelle im Wechsel (Leertaste)</source>
        <translation>Original and HEVC preview in turn in the same place (Space)</translation>
    </message>
    <message>
        <source>Links vom Trennstrich das Original, rechts die HEVC-Vorschau</source>
        <translation>The original left of the divider, the HEVC preview right of it</translation>
    </message>
    <message>
        <source>Helligkeitsunterschied beider Bilder, vierfach verstärkt</source>
        <translation>Brightness difference of the two frames, amplified four times</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Einpassen</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>Ganzes Bild zeigen</source>
        <translation>Show the whole picture</translation>
    </message>
    <message>
        <source>Ein Videopixel pro Bildschirmpixel</source>
        <translation>One video pixel per screen pixel</translation>
    </message>
    <message>
        <source>Bild ziehen: beide Ansichten verschieben · Doppelklick: einpassen</source>
        <translation>Drag the picture: move both views · Double-click: fit</translation>
    </message>
    <message>
        <source>eingepasst</source>
        <translation>fitted</translation>
    </message>
    <message>
        <source>%1-mal eingepasst</source>
        <translation>%1 times the fitted size</translation>
    </message>
    <message>
        <source> · %1 % der Videopixel</source>
        <translation> · video pixels at %1 %</translation>
    </message>
</context>
</TS>
