// Every frame of a result's clips: the decoder's counting by packets whatever the timestamps say,
// and the player's steps, jumps, loop and memory bound, always with both sides on one frame; on
// clips made with the system's ffmpeg whose frames show their number.
#include "engine/preview_error.h"
#include "model/clip_decoder.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ClipFrames : public QObject {
    Q_OBJECT

    QString clip;

private slots:
    void initTestCase()
    {
        clip = TestMovies::numberedClip();
        if (clip.isEmpty())
            QSKIP("needs the system's ffmpeg with Ut Video");
    }

    void decoderCountsPackets_data()
    {
        const auto row = table<QList<qint64>>("order");
        row("in order", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        row("backwards over the shared millisecond", {24, 12, 7, 6, 5, 4, 6, 5});
        row("jumps", {11, 0, 24, 10, 9, 23, 1, 1});
    }

    void decoderCountsPackets()
    {
        ClipDecoder decoder(clip);
        QCOMPARE(decoder.frameCount(), 25);
        QCOMPARE(decoder.size(), QSize(64, 48));
        QCOMPARE(decoder.seconds(6), decoder.seconds(5));
        QCOMPARE(qRound((decoder.seconds(10) - decoder.seconds(9)) * 1000), 120);
        for (const qint64 n : fetched<QList<qint64>>("order"))
            QCOMPARE(TestMovies::frameNumberOf(decoder.frame(n)), n);
        const QImage smaller = decoder.frame(3, QSize(32, 24));
        QVERIFY(smaller.size() == QSize(32, 24) && TestMovies::frameNumberOf(smaller) == 3);
        QCOMPARE(decoder.frame(4, QSize(128, 96)).size(), QSize(64, 48)); // never larger than its own
    }

    void decoderRefusesWhatItCannotRead()
    {
        QTemporaryDir dir;
        QFile(dir.filePath(u"empty.mkv"_s)).open(QIODevice::WriteOnly);
        for (const QString &name : {u"empty.mkv"_s, u"missing.mkv"_s}) {
            try {
                ClipDecoder decoder(dir.filePath(name));
                QFAIL("opened");
            } catch (const PreviewError &error) {
                QVERIFY2(error.message().startsWith(ClipDecoder::unreadableText() + u'\n'),
                         qPrintable(error.message()));
            }
        }
        ClipDecoder decoder(clip);
        QVERIFY_THROWS_EXCEPTION(PreviewError, decoder.frame(25));
    }
};

QTEST_MAIN(ClipFrames)
#include "tst_clip_frames.moc"
