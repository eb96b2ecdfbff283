#include "ui/glance_help_view.h"

#include "engine/number_text.h"
#include "engine/quality_verdict.h"
#include "ui/app_icons.h"
#include "ui/text_styles.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QList>
#include <QScrollBar>
#include <QShortcut>
#include <QStringList>
#include <QVBoxLayout>

#include <utility>

namespace {

struct Section {
    const char *heading;
    const char *paragraph;
};

const Section sections[] = {
    {QT_TRANSLATE_NOOP("GlanceHelpView", "1. Film und Szene auswählen"),
     QT_TRANSLATE_NOOP("GlanceHelpView",
                       "Öffne mit „Film öffnen …“ eine SDR-Videodatei. Wähle über den Regler „Szene“ eine Stelle aus. "
                       "Mit „−1 s“ und „+1 s“ kannst du die Position genauer festlegen.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "2. Bitrate verändern"),
     QT_TRANSLATE_NOOP("GlanceHelpView",
                       "Verschiebe den Bitratenregler zwischen 0,3 und 20 Mbit/s. Nach einer kurzen Pause wird "
                       "automatisch eine neue HEVC-Vorschau berechnet. Die Schnelltasten wählen 1 / 2 / 3,3 / 5 / 5,5 "
                       "Mbit/s. „Neu berechnen“ startet die Berechnung direkt. Während der Berechnung dreht sich dort "
                       "eine Ladeanzeige; der Button ist bis zum Abschluss gesperrt.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "3. Bilder vergleichen"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Links steht die Referenz, rechts die neu kodierte HEVC-Vorschau. Bitglance kodiert einen drei "
         "Sekunden langen Filmausschnitt und entnimmt daraus dasselbe Bild wie aus der Referenz. So werden "
         "auch die Nachbarbilder bei der Videokompression berücksichtigt.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "4. Zoomen und verschieben"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Der Zoomregler vergrößert beide Bilder gemeinsam. Ziehe eines der Bilder mit der Maus, um beide "
         "Ausschnitte synchron zu verschieben. „Einpassen“ oder ein Doppelklick setzt den Ausschnitt "
         "zurück. „100 %“ zeigt einen Videopixel pro Bildschirmpixel.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "5. Auflösung einstellen"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "„Quelle“ behält die ursprüngliche Auflösung bei. „max. 720p“ und „max. 1080p“ begrenzen die "
         "Ausgabehöhe. Kleinere Videos werden nicht hochskaliert. Beide Vergleichsbilder verwenden dieselbe "
         "Auflösung, damit du den Einfluss der Bitrate beurteilen kannst. „Fenster auf Quelle anpassen“ "
         "stellt auf Quellauflösung um, setzt den Zoom zurück und passt das Fenster an beide Quellbilder an. "
         "Dabei wird der verfügbare Bildschirmplatz berücksichtigt. Im Vollbildmodus ist diese Fensteraktion "
         "nicht verfügbar.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "6. Encoder wählen"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "In der Zeile „Encoder“ wählst du, womit der Ausschnitt kodiert wird: „HEVC (x265)“, „H.264 (x264)“, "
         "„AV1 (SVT-AV1)“ und, wenn eine Grafikkarte beim Start einen Probelauf bestanden hat, „HEVC "
         "(Grafikkarte)“. Wähle dasselbe wie später für den ganzen Film, denn eine Bitrate gilt nur für "
         "diese Einstellung: Langsamere Presets erreichen dieselbe Qualität mit weniger Bitrate, und 10 bit "
         "vermeidet Stufen in Himmel und dunklen Verläufen. Ein Ausschnitt mit 10 bit wird für Bild und "
         "Messung auf 8 bit dekodiert, wie ihn ein Bildschirm zeigt. Scheitert die Grafikkarte am Film, "
         "vergleicht Bitglance mit x265 und sagt es. Die Statuszeile nennt die Einstellung. Unter den "
         "Messwerten steht die ungefähre Größe des ganzen Films bei der gemessenen Bitrate, nach einer "
         "Szenenprüfung aus dem Mittel der Szenen. „Kodierbefehl kopieren“ legt den ffmpeg-Befehl in die "
         "Zwischenablage, der den ganzen Film mit Encoder, Preset, Bittiefe, Bitrate und Auflösung des "
         "Vergleichs kodiert; Ton und Untertitel bleiben unverändert, die neue Datei liegt neben dem Film. "
         "Ein Hinweis neben der Bitrate warnt, wenn das Ziel über der Bitrate der Quelle liegt oder der "
         "kurze Ausschnitt weit mehr als das Ziel gebraucht hat.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Zielbitrate und gemessene Bitrate"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Die Zielbitrate ist deine Vorgabe. Die gemessene Bitrate gehört zum tatsächlich kodierten kurzen "
         "Videoausschnitt und kann davon abweichen. Während der Berechnung bleibt der letzte fertige "
         "Vergleich sichtbar; seine Messwerte gelten weiter, bis die neue Vorschau fertig ist.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Worauf du achten solltest"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Prüfe mehrere Szenen: dunkle Flächen, schnelle Bewegung, feine Strukturen, Haare und Filmkorn. "
         "Achte auf Klötzchen, verlorene Details und sichtbare Abstufungen in Farbverläufen. Ein einzelnes "
         "Standbild zeigt keine zeitlichen Artefakte im laufenden Film und ersetzt keine vollständige "
         "Sichtprüfung.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Grenzen dieser Version"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Unterstützt werden SDR-Filme mit progressiven Bildern. HDR, Dolby Vision und Interlaced-Video "
         "werden noch nicht unterstützt. Referenz und Vorschau verwenden 8-Bit YUV 4:2:0. Ton, Untertitel "
         "und die Gesamtgröße des fertigen Films sind nicht Teil dieses Vergleichs. Der Encoder ist HEVC "
         "mit x265.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Deine Originaldatei bleibt erhalten"),
     QT_TRANSLATE_NOOP("GlanceHelpView",
                       "Bitglance liest den Film nur. Die kurzen Ausschnitte und Vorschaubilder werden lokal im "
                       "temporären Ordner abgelegt und beim normalen Beenden entfernt. Es werden keine Filme "
                       "hochgeladen. Bitglance merkt sich Fenstergröße, Bitrate, Auflösung, Ansicht und die zuletzt "
                       "geöffneten Filme, und je Film als Zahlen, was Szenenprüfung und Bitratensuche gemessen haben "
                       "(im Cache-Ordner, meist ~/.cache/bitglance). Ändert sich die Datei, sind ihre Messwerte "
                       "vergessen.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Vergleichsansichten und Messwerte"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Unter den Bildern wählst du die Ansicht, auch mit den Tasten 1 bis 4: „Nebeneinander“ zeigt "
         "beide Bilder nebeneinander. „Wechseln“ zeigt an derselben Stelle abwechselnd das Original und "
         "die HEVC-Vorschau; die Leertaste oder ein Klick ins Bild schaltet um, und die Ecke des Bildes "
         "nennt, was du gerade siehst. Kleine Unterschiede fallen so am ehesten auf. „Teilung“ zeigt links "
         "vom Trennstrich das Original und rechts die Vorschau; ziehe den Griff, um den Strich zu "
         "verschieben. „Differenz“ zeigt den Helligkeitsunterschied beider Bilder vierfach verstärkt: Je "
         "heller eine Stelle, desto mehr hat die Kodierung dort verändert. Zoom und Ausschnitt gelten in "
         "allen Ansichten. Das Mausrad zoomt zur Mausposition hin, „+“ und „−“ zoomen in Stufen, Strg+0 "
         "passt das Bild ein, Strg+1 zeigt „100 %“. Unter der Messung stehen SSIM und PSNR: „Ausschnitt“ "
         "mittelt über den ganzen kodierten Ausschnitt, „Bild“ gilt für das verglichene Bild. Höhere Werte "
         "bedeuten weniger Abweichung vom Original. „Vergleich speichern …“ (Strg+S) im Menü „Datei“ legt "
         "beide Bilder nebeneinander mit einer Beschriftung als PNG-Datei ab, „Vergleich kopieren“ "
         "(Strg+Umschalt+C) legt dasselbe Bild in die Zwischenablage, und „Kodierten Ausschnitt speichern …“ "
         "sichert den kodierten Ausschnitt, damit du ihn in jedem Player abspielen kannst.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Alle Bilder des Ausschnitts"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Sobald die Qualität gemessen ist, zeigt die Leiste unter den Bildern jedes Bild des Ausschnitts "
         "als Säule: je höher und grüner, desto höher die SSIM dieses Bildes, rot bei 0,90 und darunter. "
         "Ein Punkt markiert das Bild der gewählten Szene, ein rotes Dreieck das schlechteste Bild. Ein "
         "Klick oder Ziehen in der Leiste zeigt das Bild an dieser Stelle, Pos1 und Ende das erste und das "
         "letzte. „Bild zurück“ (,) und „Bild vor“ (.) gehen ein Bild weiter, „Abspielen“ (P) spielt den "
         "Ausschnitt in einer Schleife mit seiner eigenen Bildrate ab, „Schlechtestes Bild“ (W) springt "
         "zum Bild mit der niedrigsten SSIM. Beide Seiten zeigen immer dasselbe Bild; die Zeile daneben "
         "nennt seine Nummer, seine Zeit im Film, SSIM und PSNR. Alle Ansichten, Zoom und Ausschnitt "
         "gelten für jedes Bild, auch beim Abspielen, und „Vergleich speichern …“ nimmt das gezeigte Bild.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Szenen prüfen"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "„Szenen prüfen“ (Strg+P) kodiert Szenen, die über den ganzen Film verteilt sind, bei der "
         "eingestellten Bitrate und Auflösung und misst jede. Der Streifen unter dem Regler „Szene“ zeigt "
         "jede geprüfte Szene als Marke in der Farbe ihrer Qualität; ein Klick auf eine Marke zeigt ihren "
         "Vergleich. Während der Prüfung wartet der Vergleich, und „Abbrechen“ beendet sie. Eine andere "
         "Bitrate, Auflösung oder ein anderer Film verwirft die geprüften Szenen.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Bitrate finden …"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "„Bitrate finden …“ (Strg+B) fragt nach einer Zielqualität und sucht die niedrigste Bitrate, bei "
         "der auch die schlechtesten Szenen des Films dieses Ziel erreichen. Dazu prüft Bitglance zuerst "
         "die Szenen und kodiert sie dann in mehreren Runden bei anderen Bitraten. Die gefundene Bitrate "
         "wird eingestellt, und der Vergleich zeigt die schlechteste Szene. Erreicht auch die höchste "
         "Bitrate das Ziel nicht, sagt Bitglance das unter dem Streifen.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Farben, Szenenliste und Diagramm"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Die Farben folgen der SSIM eines Ausschnitts: Rot bis zur Grenze von „sichtbare Verluste“, über "
         "Gelb bis Grün ab der Grenze von „sehr gut“. Dieselben Farben tragen die Marken des Streifens, die "
         "Säulen der Bildleiste und das Urteil neben den Messwerten. „Szenenliste“ öffnet die geprüften "
         "Szenen als Liste, die schlechteste zuerst, mit ihrer Zeit, der SSIM des Ausschnitts und seines "
         "schlechtesten Bildes, dem PSNR und der gemessenen Bitrate; die Eingabetaste oder ein Doppelklick "
         "zeigt die Szene bei ihrem schlechtesten Bild. Nach „Bitrate finden …“ zeigt das Diagramm darunter "
         "für jede gesuchte Szene ihre SSIM über der Bitrate und markiert die gefundene Bitrate.")},
    {QT_TRANSLATE_NOOP("GlanceHelpView", "Mit der Tastatur"),
     QT_TRANSLATE_NOOP(
         "GlanceHelpView",
         "Die Tabulatortaste geht die Bedienelemente von oben nach unten durch. Ein Bild, das den Fokus hat, "
         "trägt einen farbigen Rahmen; die Pfeiltasten verschieben dann beide Ausschnitte. Strg+O öffnet "
         "einen Film, Strg+P prüft Szenen, Strg+B sucht die Bitrate, die Tasten 1 bis 4 wählen die "
         "Ansicht. „Vergleich speichern …“, „Vergleich kopieren“ und „Kodierten Ausschnitt speichern …“ "
         "bestätigen in der Statuszeile, was sie getan haben.")},
};

QString helpText(const char *text)
{
    return QCoreApplication::translate("GlanceHelpView", text);
}

// The verdict's section: its grades as the one table of them gives them, with the prose's decimal
// separator (a comma in German).
std::pair<QString, QString> verdictSection()
{
    const QString separator =
        QCoreApplication::translate("GlanceHelpView", ",", "the decimal separator of the numbers in the help's prose");
    QStringList grades;
    for (const QualityGrade &grade : qualityGrades) {
        const QString word = verdictWord(grade.verdict);
        if (grade.lowestSsim > 0)
            grades << QCoreApplication::translate("GlanceHelpView", "„%1“ ab %2")
                          .arg(word, fixedText(grade.lowestSsim, 2).replace(u'.', separator));
        else
            grades << QCoreApplication::translate("GlanceHelpView", "„%1“ darunter").arg(word);
    }
    const QString paragraph = QCoreApplication::translate(
        "GlanceHelpView",
        "Neben den Messwerten steht ein Urteil in Worten und in Farbe. Es folgt der SSIM des ganzen Ausschnitts: %1. "
        "Dieselben Stufen gelten für die Farben, die Szenenliste, das Diagramm und die Ziele von „Bitrate finden …“. "
        "Dahinter nennt das Urteil das schlechteste Bild des Ausschnitts: Ein Schnitt oder eine schnelle Bewegung kann "
        "wenige Bilder stark verschlechtern, sodass das gezeigte Bild gut aussieht, der Ausschnitt aber nicht. "
        "„Schlechtestes Bild“ (W) zeigt es. Ohne die Messwerte jedes Bildes nennt das Urteil die SSIM des Ausschnitts, "
        "auf der es beruht.");
    return {QCoreApplication::translate("GlanceHelpView", "Das Urteil"), paragraph.arg(grades.join(u", "))};
}

QLabel *selectableLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

QString GlanceHelpView::title()
{
    return tr("Bitglance-Hilfe");
}

GlanceHelpView::GlanceHelpView(QWidget *parent) : QScrollArea(parent)
{
    setWindowTitle(title());
    setWindowIcon(AppIcons::application());
    setMinimumSize(540, 500);
    resize(680, 760);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    auto *content = new QWidget(this);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(22);

    auto *header = new QVBoxLayout;
    header->setSpacing(8);
    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(10);
    auto *icon = new QLabel(content);
    const int iconSize = QFontMetrics(TextStyles::largeTitle()).height();
    icon->setPixmap(AppIcons::pixmap(AppIcons::Symbol::Help, QSize(iconSize, iconSize),
                                     palette().color(QPalette::WindowText), devicePixelRatioF()));
    icon->setAccessibleName(tr("Hilfe"));
    titleRow->addWidget(icon);
    QFont titleFont = TextStyles::largeTitle();
    titleFont.setBold(true);
    auto *titleLabel = selectableLabel(title(), content);
    titleLabel->setFont(titleFont);
    titleRow->addWidget(titleLabel);
    titleRow->addStretch(1);
    header->addLayout(titleRow);
    auto *subtitle = selectableLabel(tr("Bitrate und Bildqualität direkt vergleichen."), content);
    TextStyles::apply(subtitle, TextStyles::title3(), true);
    header->addWidget(subtitle);
    column->addLayout(header);

    QList<std::pair<QString, QString>> all;
    for (const Section &section : sections)
        all.append({helpText(section.heading), helpText(section.paragraph)});
    all.insert(all.size() - 1, verdictSection()); // before the keyboard's section
    for (const auto &[headingText, paragraphText] : all) {
        auto *block = new QVBoxLayout;
        block->setSpacing(7);
        auto *heading = selectableLabel(headingText, content);
        heading->setFont(TextStyles::headline());
        block->addWidget(heading);
        auto *paragraph = selectableLabel(paragraphText, content);
        paragraph->setWordWrap(true);
        block->addWidget(paragraph);
        column->addLayout(block);
    }
    column->addStretch(1);
    setWidget(content);
}
