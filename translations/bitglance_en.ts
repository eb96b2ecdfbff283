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
    <name>ClipDecoder</name>
    <message>
        <source>Die Einzelbilder des Ausschnitts lassen sich nicht lesen.</source>
        <translation>The clip&apos;s frames cannot be read.</translation>
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
    <name>GlanceHelpView</name>
    <message>
        <source>1. Film und Szene auswählen</source>
        <translation>1. Choose a film and a scene</translation>
    </message>
    <message>
        <source>Öffne mit „Film öffnen …“ eine SDR-Videodatei. Wähle über den Regler „Szene“ eine Stelle aus. Mit „−1 s“ und „+1 s“ kannst du die Position genauer festlegen.</source>
        <translation>Open an SDR video file with “Open film…”. Choose a point in it with the “Scene” slider. “−1 s” and “+1 s” set the position more precisely.</translation>
    </message>
    <message>
        <source>2. Bitrate verändern</source>
        <translation>2. Change the bitrate</translation>
    </message>
    <message>
        <source>Verschiebe den Bitratenregler zwischen 0,3 und 20 Mbit/s. Nach einer kurzen Pause wird automatisch eine neue HEVC-Vorschau berechnet. Die Schnelltasten wählen 1 / 2 / 3,3 / 5 / 5,5 Mbit/s. „Neu berechnen“ startet die Berechnung direkt. Während der Berechnung dreht sich dort eine Ladeanzeige; der Button ist bis zum Abschluss gesperrt.</source>
        <translation>Move the bitrate slider between 0.3 and 20 Mbit/s. After a short pause, a new HEVC preview is computed automatically. The quick buttons choose 1 / 2 / 3.3 / 5 / 5.5 Mbit/s. “Recalculate” starts the computation at once. While it runs, a spinner turns on that button, and the button stays disabled until it has finished.</translation>
    </message>
    <message>
        <source>3. Bilder vergleichen</source>
        <translation>3. Compare the pictures</translation>
    </message>
    <message>
        <source>Links steht die Referenz, rechts die neu kodierte HEVC-Vorschau. Bitglance kodiert einen drei Sekunden langen Filmausschnitt und entnimmt daraus dasselbe Bild wie aus der Referenz. So werden auch die Nachbarbilder bei der Videokompression berücksichtigt.</source>
        <translation>The reference is on the left, the newly encoded HEVC preview on the right. Bitglance encodes a three-second clip of the film and takes the same frame from it as from the reference. That way the video compression takes the neighbouring frames into account as well.</translation>
    </message>
    <message>
        <source>4. Zoomen und verschieben</source>
        <translation>4. Zoom and pan</translation>
    </message>
    <message>
        <source>Der Zoomregler vergrößert beide Bilder gemeinsam. Ziehe eines der Bilder mit der Maus, um beide Ausschnitte synchron zu verschieben. „Einpassen“ oder ein Doppelklick setzt den Ausschnitt zurück. „100 %“ zeigt einen Videopixel pro Bildschirmpixel.</source>
        <translation>The zoom slider enlarges both pictures together. Drag either picture with the mouse to pan both in step. “Fit” or a double-click shows the whole picture again. “100 %” shows one video pixel per screen pixel.</translation>
    </message>
    <message>
        <source>5. Auflösung einstellen</source>
        <translation>5. Set the resolution</translation>
    </message>
    <message>
        <source>„Quelle“ behält die ursprüngliche Auflösung bei. „max. 720p“ und „max. 1080p“ begrenzen die Ausgabehöhe. Kleinere Videos werden nicht hochskaliert. Beide Vergleichsbilder verwenden dieselbe Auflösung, damit du den Einfluss der Bitrate beurteilen kannst. „Fenster auf Quelle anpassen“ stellt auf Quellauflösung um, setzt den Zoom zurück und passt das Fenster an beide Quellbilder an. Dabei wird der verfügbare Bildschirmplatz berücksichtigt. Im Vollbildmodus ist diese Fensteraktion nicht verfügbar.</source>
        <translation>“Source” keeps the original resolution. “max. 720p” and “max. 1080p” limit the output height. Smaller videos are not scaled up. Both pictures of the comparison use the same resolution, so that you can judge what the bitrate does. “Fit window to source” switches to the source resolution, resets the zoom and sizes the window to both source pictures, within the space the screen has. This window action is not available in full-screen mode.</translation>
    </message>
    <message>
        <source>6. Encoder wählen</source>
        <translation>6. Choose the encoder</translation>
    </message>
    <message>
        <source>In der Zeile „Encoder“ wählst du, womit der Ausschnitt kodiert wird: „HEVC (x265)“, „H.264 (x264)“, „AV1 (SVT-AV1)“ und, wenn eine Grafikkarte beim Start einen Probelauf bestanden hat, „HEVC (Grafikkarte)“. Wähle dasselbe wie später für den ganzen Film, denn eine Bitrate gilt nur für diese Einstellung: Langsamere Presets erreichen dieselbe Qualität mit weniger Bitrate, und 10 bit vermeidet Stufen in Himmel und dunklen Verläufen. Ein Ausschnitt mit 10 bit wird für Bild und Messung auf 8 bit dekodiert, wie ihn ein Bildschirm zeigt. Scheitert die Grafikkarte am Film, vergleicht Bitglance mit x265 und sagt es. Die Statuszeile nennt die Einstellung. Unter den Messwerten steht die ungefähre Größe des ganzen Films bei der gemessenen Bitrate, nach einer Szenenprüfung aus dem Mittel der Szenen. „Kodierbefehl kopieren“ legt den ffmpeg-Befehl in die Zwischenablage, der den ganzen Film mit Encoder, Preset, Bittiefe, Bitrate und Auflösung des Vergleichs kodiert; Ton und Untertitel bleiben unverändert, die neue Datei liegt neben dem Film. Ein Hinweis neben der Bitrate warnt, wenn das Ziel über der Bitrate der Quelle liegt oder der kurze Ausschnitt weit mehr als das Ziel gebraucht hat.</source>
        <translation>In the “Encoder” row you choose what encodes the clip: “HEVC (x265)”, “H.264 (x264)”, “AV1 (SVT-AV1)” and, if a graphics card passed a trial run at start-up, “HEVC (graphics card)”. Choose what you will later use for the whole film, because a bitrate holds only for that setting: slower presets reach the same quality at a lower bitrate, and 10 bit avoids banding in skies and dark gradients. A 10-bit clip is decoded to 8 bit for the picture and the measurement, as a screen shows it. If the graphics card fails on the film, Bitglance compares with x265 and says so. The status line names the setting. Below the measurements is the approximate size of the whole film at the measured bitrate; after a scan, it comes from the average of the scenes. “Copy encoding command” puts an ffmpeg command on the clipboard: it encodes the whole film with the comparison&apos;s encoder, preset, bit depth, bitrate and resolution, leaves audio and subtitles as they are and writes the new file beside the film. A note beside the bitrate warns when the target is above the source&apos;s bitrate or the short clip needed far more than the target.</translation>
    </message>
    <message>
        <source>Zielbitrate und gemessene Bitrate</source>
        <translation>Target bitrate and measured bitrate</translation>
    </message>
    <message>
        <source>Die Zielbitrate ist deine Vorgabe. Die gemessene Bitrate gehört zum tatsächlich kodierten kurzen Videoausschnitt und kann davon abweichen. Während der Berechnung bleibt der letzte fertige Vergleich sichtbar; seine Messwerte gelten weiter, bis die neue Vorschau fertig ist.</source>
        <translation>The target bitrate is what you ask for. The measured bitrate is that of the short clip actually encoded and can differ from the target. While a new preview is computed, the last finished comparison stays visible; its measurements remain valid until the new preview is ready.</translation>
    </message>
    <message>
        <source>Worauf du achten solltest</source>
        <translation>What to look out for</translation>
    </message>
    <message>
        <source>Prüfe mehrere Szenen: dunkle Flächen, schnelle Bewegung, feine Strukturen, Haare und Filmkorn. Achte auf Klötzchen, verlorene Details und sichtbare Abstufungen in Farbverläufen. Ein einzelnes Standbild zeigt keine zeitlichen Artefakte im laufenden Film und ersetzt keine vollständige Sichtprüfung.</source>
        <translation>Check several scenes: dark areas, fast motion, fine textures, hair and film grain. Look for blocking, lost detail and visible banding in gradients. A single still frame shows no temporal artefacts of the moving film and is no substitute for watching it all.</translation>
    </message>
    <message>
        <source>Grenzen dieser Version</source>
        <translation>Limits of this version</translation>
    </message>
    <message>
        <source>Unterstützt werden SDR-Filme mit progressiven Bildern. HDR, Dolby Vision und Interlaced-Video werden noch nicht unterstützt. Referenz und Vorschau verwenden 8-Bit YUV 4:2:0. Ton, Untertitel und die Gesamtgröße des fertigen Films sind nicht Teil dieses Vergleichs. Der Encoder ist HEVC mit x265.</source>
        <translation>SDR films with progressive frames are supported. HDR, Dolby Vision and interlaced video are not supported yet. Reference and preview use 8-bit YUV 4:2:0. Audio, subtitles and the total size of the finished film are not part of this comparison. The encoder is HEVC with x265.</translation>
    </message>
    <message>
        <source>Deine Originaldatei bleibt erhalten</source>
        <translation>Your original file stays untouched</translation>
    </message>
    <message>
        <source>Bitglance liest den Film nur. Die kurzen Ausschnitte und Vorschaubilder werden lokal im temporären Ordner abgelegt und beim normalen Beenden entfernt. Es werden keine Filme hochgeladen. Bitglance merkt sich Fenstergröße, Bitrate, Auflösung, Ansicht und die zuletzt geöffneten Filme, und je Film als Zahlen, was Szenenprüfung und Bitratensuche gemessen haben (im Cache-Ordner, meist ~/.cache/bitglance). Ändert sich die Datei, sind ihre Messwerte vergessen.</source>
        <translation>Bitglance only reads the film. The short clips and preview frames are kept locally in the temporary folder and removed when the program quits normally. No films are uploaded. Bitglance remembers the window size, bitrate, resolution, view and recently opened films, and for each film, as numbers, what the scan and the bitrate finder measured (in the cache folder, usually ~/.cache/bitglance). If the file changes, its measurements are forgotten.</translation>
    </message>
    <message>
        <source>Vergleichsansichten und Messwerte</source>
        <translation>Comparison views and measurements</translation>
    </message>
    <message>
        <source>Unter den Bildern wählst du die Ansicht, auch mit den Tasten 1 bis 4: „Nebeneinander“ zeigt beide Bilder nebeneinander. „Wechseln“ zeigt an derselben Stelle abwechselnd das Original und die HEVC-Vorschau; die Leertaste oder ein Klick ins Bild schaltet um, und die Ecke des Bildes nennt, was du gerade siehst. Kleine Unterschiede fallen so am ehesten auf. „Teilung“ zeigt links vom Trennstrich das Original und rechts die Vorschau; ziehe den Griff, um den Strich zu verschieben. „Differenz“ zeigt den Helligkeitsunterschied beider Bilder vierfach verstärkt: Je heller eine Stelle, desto mehr hat die Kodierung dort verändert. Zoom und Ausschnitt gelten in allen Ansichten. Das Mausrad zoomt zur Mausposition hin, „+“ und „−“ zoomen in Stufen, Strg+0 passt das Bild ein, Strg+1 zeigt „100 %“. Unter der Messung stehen SSIM und PSNR: „Ausschnitt“ mittelt über den ganzen kodierten Ausschnitt, „Bild“ gilt für das verglichene Bild. Höhere Werte bedeuten weniger Abweichung vom Original. „Vergleich speichern …“ (Strg+S) im Menü „Datei“ legt beide Bilder nebeneinander mit einer Beschriftung als PNG-Datei ab, „Vergleich kopieren“ (Strg+Umschalt+C) legt dasselbe Bild in die Zwischenablage, und „Kodierten Ausschnitt speichern …“ sichert den kodierten Ausschnitt, damit du ihn in jedem Player abspielen kannst.</source>
        <translation>Below the pictures you choose the view, also with the keys 1 to 4: “Side by side” shows both pictures next to each other. “Flip” shows the original and the HEVC preview in turn in the same place; the space bar or a click on the picture switches between them, and the picture&apos;s corner names what you are seeing. Small differences are easiest to spot this way. “Split” shows the original left of the dividing line and the preview right of it; drag the handle to move the line. “Difference” shows the difference in brightness between the two pictures, amplified four times: the brighter a spot, the more the encoding changed it. Zoom and panning apply in every view. The mouse wheel zooms towards the pointer, “+” and “−” zoom in steps, Ctrl+0 fits the picture, Ctrl+1 shows “100 %”. Below the measurement are SSIM and PSNR: “Clip” averages over the whole encoded clip, “Frame” applies to the compared frame. Higher values mean less deviation from the original. “Save comparison…” (Ctrl+S) in the “File” menu saves both pictures side by side with a caption as a PNG file, “Copy comparison” (Ctrl+Shift+C) puts the same picture on the clipboard, and “Save encoded clip…” saves the encoded clip so that you can play it in any player.</translation>
    </message>
    <message>
        <source>Alle Bilder des Ausschnitts</source>
        <translation>Every frame of the clip</translation>
    </message>
    <message>
        <source>Sobald die Qualität gemessen ist, zeigt die Leiste unter den Bildern jedes Bild des Ausschnitts als Säule: je höher und grüner, desto höher die SSIM dieses Bildes, rot bei 0,90 und darunter. Ein Punkt markiert das Bild der gewählten Szene, ein rotes Dreieck das schlechteste Bild. Ein Klick oder Ziehen in der Leiste zeigt das Bild an dieser Stelle, Pos1 und Ende das erste und das letzte. „Bild zurück“ (,) und „Bild vor“ (.) gehen ein Bild weiter, „Abspielen“ (P) spielt den Ausschnitt in einer Schleife mit seiner eigenen Bildrate ab, „Schlechtestes Bild“ (W) springt zum Bild mit der niedrigsten SSIM. Beide Seiten zeigen immer dasselbe Bild; die Zeile daneben nennt seine Nummer, seine Zeit im Film, SSIM und PSNR. Alle Ansichten, Zoom und Ausschnitt gelten für jedes Bild, auch beim Abspielen, und „Vergleich speichern …“ nimmt das gezeigte Bild.</source>
        <translation>Once the quality is measured, the bar below the pictures shows each frame of the clip as a column: the taller and greener, the higher that frame&apos;s SSIM; red at 0.90 and below. A dot marks the frame of the chosen scene, a red triangle the worst frame. Clicking or dragging in the bar shows the frame at that point, Home and End the first and the last. “Previous frame” (,) and “Next frame” (.) move one frame, “Play” (P) plays the clip in a loop at its own frame rate, “Worst frame” (W) jumps to the frame with the lowest SSIM. Both sides always show the same frame; the line beside the bar gives its number, its time in the film, SSIM and PSNR. All views, zoom and panning apply to every frame, during playback too, and “Save comparison…” takes the frame shown.</translation>
    </message>
    <message>
        <source>Szenen prüfen</source>
        <translation>Check scenes</translation>
    </message>
    <message>
        <source>„Szenen prüfen“ (Strg+P) kodiert Szenen, die über den ganzen Film verteilt sind, bei der eingestellten Bitrate und Auflösung und misst jede. Der Streifen unter dem Regler „Szene“ zeigt jede geprüfte Szene als Marke in der Farbe ihrer Qualität; ein Klick auf eine Marke zeigt ihren Vergleich. Während der Prüfung wartet der Vergleich, und „Abbrechen“ beendet sie. Eine andere Bitrate, Auflösung oder ein anderer Film verwirft die geprüften Szenen.</source>
        <translation>“Check scenes” (Ctrl+P) encodes scenes spread over the whole film at the chosen bitrate and resolution and measures each one. The strip below the “Scene” slider shows every checked scene as a mark in the colour of its quality; clicking a mark shows its comparison. During the scan the comparison waits, and “Cancel” stops the scan. A different bitrate, resolution or film discards the checked scenes.</translation>
    </message>
    <message>
        <source>Bitrate finden …</source>
        <translation>Find bitrate…</translation>
    </message>
    <message>
        <source>„Bitrate finden …“ (Strg+B) fragt nach einer Zielqualität und sucht die niedrigste Bitrate, bei der auch die schlechtesten Szenen des Films dieses Ziel erreichen. Dazu prüft Bitglance zuerst die Szenen und kodiert sie dann in mehreren Runden bei anderen Bitraten. Die gefundene Bitrate wird eingestellt, und der Vergleich zeigt die schlechteste Szene. Erreicht auch die höchste Bitrate das Ziel nicht, sagt Bitglance das unter dem Streifen.</source>
        <translation>“Find bitrate…” (Ctrl+B) asks for a target quality and looks for the lowest bitrate at which even the film&apos;s worst scenes reach that target. To do so, Bitglance first checks the scenes and then encodes them in several rounds at other bitrates. The bitrate found is set, and the comparison shows the worst scene. If even the highest bitrate misses the target, Bitglance says so below the strip.</translation>
    </message>
    <message>
        <source>Farben, Szenenliste und Diagramm</source>
        <translation>Colours, scene list and chart</translation>
    </message>
    <message>
        <source>Die Farben folgen der SSIM eines Ausschnitts: Rot bis zur Grenze von „sichtbare Verluste“, über Gelb bis Grün ab der Grenze von „sehr gut“. Dieselben Farben tragen die Marken des Streifens, die Säulen der Bildleiste und das Urteil neben den Messwerten. „Szenenliste“ öffnet die geprüften Szenen als Liste, die schlechteste zuerst, mit ihrer Zeit, der SSIM des Ausschnitts und seines schlechtesten Bildes, dem PSNR und der gemessenen Bitrate; die Eingabetaste oder ein Doppelklick zeigt die Szene bei ihrem schlechtesten Bild. Nach „Bitrate finden …“ zeigt das Diagramm darunter für jede gesuchte Szene ihre SSIM über der Bitrate und markiert die gefundene Bitrate.</source>
        <translation>The colours follow a clip&apos;s SSIM: red up to the threshold of “visible losses”, through yellow, to green from the threshold of “very good”. The marks on the strip, the columns of the frame bar and the verdict beside the measurements carry the same colours. “Scene list” opens the checked scenes as a list, worst first, with their time, the SSIM of the clip and of its worst frame, the PSNR and the measured bitrate; Enter or a double-click shows the scene at its worst frame. After “Find bitrate…”, the chart below shows each searched scene&apos;s SSIM against the bitrate and marks the bitrate found.</translation>
    </message>
    <message>
        <source>Mit der Tastatur</source>
        <translation>With the keyboard</translation>
    </message>
    <message>
        <source>Die Tabulatortaste geht die Bedienelemente von oben nach unten durch. Ein Bild, das den Fokus hat, trägt einen farbigen Rahmen; die Pfeiltasten verschieben dann beide Ausschnitte. Strg+O öffnet einen Film, Strg+P prüft Szenen, Strg+B sucht die Bitrate, die Tasten 1 bis 4 wählen die Ansicht. „Vergleich speichern …“, „Vergleich kopieren“ und „Kodierten Ausschnitt speichern …“ bestätigen in der Statuszeile, was sie getan haben.</source>
        <translation>Tab moves through the controls from top to bottom. A picture that has the focus has a coloured border; the arrow keys then pan both pictures. Ctrl+O opens a film, Ctrl+P checks scenes, Ctrl+B finds the bitrate, the keys 1 to 4 choose the view. “Save comparison…”, “Copy comparison” and “Save encoded clip…” confirm in the status line what they have done.</translation>
    </message>
    <message>
        <source>,</source>
        <comment>the decimal separator of the numbers in the help&apos;s prose</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>„%1“ ab %2</source>
        <translation>“%1” from %2</translation>
    </message>
    <message>
        <source>„%1“ darunter</source>
        <translation>“%1” below that</translation>
    </message>
    <message>
        <source>Neben den Messwerten steht ein Urteil in Worten und in Farbe. Es folgt der SSIM des ganzen Ausschnitts: %1. Dieselben Stufen gelten für die Farben, die Szenenliste, das Diagramm und die Ziele von „Bitrate finden …“. Dahinter nennt das Urteil das schlechteste Bild des Ausschnitts: Ein Schnitt oder eine schnelle Bewegung kann wenige Bilder stark verschlechtern, sodass das gezeigte Bild gut aussieht, der Ausschnitt aber nicht. „Schlechtestes Bild“ (W) zeigt es. Ohne die Messwerte jedes Bildes nennt das Urteil die SSIM des Ausschnitts, auf der es beruht.</source>
        <translation>Beside the measurements is a verdict, in words and in colour. It follows the SSIM of the whole clip: %1. The same grades apply to the colours, the scene list, the chart and the targets of “Find bitrate…”. After it, the verdict names the clip&apos;s worst frame: a cut or fast motion can spoil a few frames badly, so that the frame shown looks good while the clip does not. “Worst frame” (W) shows it. Without the measurements of every frame, the verdict names the clip SSIM it rests on.</translation>
    </message>
    <message>
        <source>Das Urteil</source>
        <translation>The verdict</translation>
    </message>
    <message>
        <source>Bitglance-Hilfe</source>
        <translation>Bitglance Help</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Bitrate und Bildqualität direkt vergleichen.</source>
        <translation>Compare bitrate and picture quality directly.</translation>
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
    <message>
        <source>1 Szene geprüft · bei %1: SSIM %2</source>
        <translation>1 scene checked · at %1: SSIM %2</translation>
    </message>
    <message>
        <source>%1 Szenen geprüft · schlechteste bei %2: SSIM %3</source>
        <translation>%1 scenes checked · worst at %2: SSIM %3</translation>
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
        <source>Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie%1.</source>
        <extracomment>%1 is empty, or says that the bitrate found is marked.</extracomment>
        <translation>Clip SSIM of the worst scenes over bitrate, with the target as a line%1.</translation>
    </message>
    <message>
        <source>, die gefundene Bitrate markiert</source>
        <translation> and the bitrate found marked</translation>
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
        <translation>The verdict is for the whole clip: its SSIM %1, on the same scale as the colours of the scene strip and the frame bar.</translation>
    </message>
    <message>
        <source>Das schlechteste Bild (Bild %1 von %2) zieht den Ausschnitt am stärksten herunter; „%3“ (W) zeigt es.</source>
        <translation>The worst frame (frame %1 of %2) pulls the clip down the most; “%3” (W) shows it.</translation>
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
