// The encoder setting in the window: the row that chooses it, the texts that name it, the hints
// beside the bitrate and the film's size, the command for the whole film, and a graphics card that
// passed its test at start-up but fails on the film.
#include "engine/encoder_catalogue.h"
#include "engine/film_command.h"
#include "engine/preview_engine.h"
#include "model/encoder_offer.h"
#include "model/glance_model.h"
#include "support/fake_tools.h"
#include "ui/glance_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// What a screen reader hears of a control: its label (else its name), and its value.
QString heard(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    const auto labels = face->relations(QAccessible::Label);
    const QString name =
        labels.isEmpty() ? face->text(QAccessible::Name) : labels.first().first->text(QAccessible::Name);
    return name + ": " + face->text(QAccessible::Value);
}

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// The user picks an entry of a box.
void choose(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

struct Window {
    FakeTools tools;
    GlanceModel *model = new GlanceModel(tools.directory());
    GlanceView view{model};

    Window()
    {
        model->setComparisonPauseMs(0);
        QFile(tools.directory() + "/film.mp4").open(QIODevice::WriteOnly);
        view.resize(1200, 800);
        view.show();
    }
    template <typename T> T *child(const char *name) const { return view.findChild<T *>(QLatin1String(name)); }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return model->movie() && !model->busy() && !model->quality().isEmpty(); },
                               20000);
    }
    // The arguments of the last encode.
    QString lastEncode() const
    {
        const auto calls = tools.calls("ffmpeg");
        for (auto call = calls.rbegin(); call != calls.rend(); ++call)
            if (call->args.constLast().endsWith("/encoded.mp4"))
                return call->args.join(' ');
        return {};
    }
};

} // namespace

class EncoderSettings : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000); }

    // The row offers the software encoders, and a card once it passed; a choice is a new
    // comparison with the encoder's own arguments, named in the status row. A card that fails on
    // the film gives way to x265, says so, and is offered no more.
    void chooseInTheWindow()
    {
        Window w;
        w.tools.setPrelude("ffmpeg", R"(case "$*" in *hevc_vaapi*) echo 'No VA display found.' >&2; exit 1 ;; esac)");
        w.model->openMovie(w.tools.directory() + "/film.mp4");
        QVERIFY(w.idle());
        auto *encoder = w.child<QComboBox>("encoderBox");
        auto *preset = w.child<QComboBox>("presetBox");
        auto *depth = w.child<QComboBox>("depthBox");
        auto *status = w.child<QLabel>("encoderLabel");
        QCOMPARE(status->text(), "SDR · HEVC / x265 · ohne Ton");
        QCOMPARE(items(encoder), (QStringList{"HEVC (x265)", "H.264 (x264)", "AV1 (SVT-AV1)"}));
        QCOMPARE(heard(encoder) + " · " + heard(preset) + " · " + heard(depth),
                 "Encoder: HEVC (x265) · Preset: veryfast · Bittiefe: 8 bit");

        choose(preset, "slow");
        choose(depth, "10 bit");
        QVERIFY(w.idle());
        QVERIFY2(w.lastEncode().contains("-c:v libx265 -preset slow -x265-params log-level=error -b:v 2000000 "
                                         "-pix_fmt yuv420p10le -tag:v hvc1"),
                 qPrintable(w.lastEncode()));
        QCOMPARE(status->text(), "SDR · HEVC / x265 slow · 10 bit · ohne Ton");

        choose(encoder, "AV1 (SVT-AV1)"); // its default preset, the depth kept
        QVERIFY(w.idle());
        QVERIFY(w.lastEncode().contains("-c:v libsvtav1 -preset 10 -b:v 2000000 -pix_fmt yuv420p10le /"));
        QCOMPARE(status->text(), "SDR · AV1 / SVT-AV1 · 10 bit · ohne Ton");

        // A card that encodes 8 bit only.
        w.view.encoderOffer()->setCards({{VideoEncoder::HevcHardware, "", 8, HardwareApi::Vaapi}});
        QCOMPARE(items(encoder).last(), "HEVC (Grafikkarte)");
        choose(encoder, "HEVC (Grafikkarte)");
        QVERIFY(w.idle());
        QCOMPARE(w.model->encoder(), EncoderCatalogue::defaultSetting(VideoEncoder::X265));
        QVERIFY(w.model->error()->startsWith("Die Grafikkarte konnte den Ausschnitt nicht kodieren; Bitglance "
                                             "vergleicht stattdessen mit HEVC (x265).\n"));
        QVERIFY(w.model->error()->contains("No VA display found."));
        QCOMPARE(w.model->shownResult()->encoder, EncoderSetting());
        QCOMPARE(items(encoder).size(), 3);
        QCOMPARE(heard(encoder) + " · " + heard(depth), "Encoder: HEVC (x265) · Bittiefe: 8 bit");
    }

    // The size of the film at the measured bitrate, the hints where the comparison misleads, and
    // the command that encodes the film as compared.
    void whatItMeansForTheFilm()
    {
        Window w;
        auto *copy = w.child<QPushButton>("copyCommandButton");
        QVERIFY(!copy->isEnabled()); // no film, no command
        w.model->openMovie(w.tools.directory() + "/film.mp4");
        QVERIFY(w.idle() && copy->isEnabled());
        auto *size = w.child<QLabel>("filmSizeLabel");
        auto *hints = w.child<QLabel>("bitrateHints");
        // 2.37 Mbit/s measured over the fake film's 100 s.
        QCOMPARE(size->text(), "Ganzer Film: ca. 30 MB (Video) + Ton");
        QVERIFY(size->toolTip().contains("(2.37 Mbit/s)"));
        QVERIFY(hints->isHidden());

        w.model->setMbps(1);
        QVERIFY(w.idle());
        QCOMPARE(hints->text(), "Kurzer Ausschnitt: x265 hat 2.4× das Ziel gebraucht.");
        QVERIFY(hints->isVisible());
        w.model->setMbps(8.6); // the fake film's own: 8.52 Mbit/s
        QVERIFY(w.idle());
        QCOMPARE(hints->text(), "Ziel liegt über der Bitrate der Quelle (8.52 Mbit/s).");
        QCOMPARE(QAccessible::queryAccessibleInterface(hints)->text(QAccessible::Name), "Hinweise zur Bitrate");

        QCOMPARE(heard(copy), "Kodierbefehl kopieren: ");
        copy->click();
        const QString command = QApplication::clipboard()->text();
        QCOMPARE(command, FilmCommand::shellText(*w.model->movie(), w.model->settings()));
        QVERIFY(command.contains(" -b:v 8600000 ") && command.endsWith("/film-x265-8.6mbps.mkv"));
        QCOMPARE(w.model->notice(), "Kodierbefehl in die Zwischenablage kopiert.");
    }
};

QTEST_MAIN(EncoderSettings)
#include "tst_encoder_settings.moc"
