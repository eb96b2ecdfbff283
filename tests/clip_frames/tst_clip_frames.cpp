// Every frame of a result's clips: the decoder's counting by packets whatever the timestamps say,
// and the player's steps, jumps, loop and memory bound, always with both sides on one frame; on
// clips made with the system's ffmpeg whose frames show their number.
#include "engine/preview_error.h"
#include "model/clip_decoder.h"
#include "model/clip_player.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ClipFrames : public QObject {
    Q_OBJECT

    QString clip;

    // The pairs a player hands on, as the numbers both sides show; -1 where a side differs from
    // its index.
    static QList<qint64> shownNumbers(const QSignalSpy &spy)
    {
        QList<qint64> numbers;
        for (const QList<QVariant> &signal : spy) {
            const auto pair = signal.at(0).value<FramePair>();
            const bool same = TestMovies::frameNumberOf(pair.original) == pair.index
                && TestMovies::frameNumberOf(pair.encoded) == pair.index;
            numbers << (same ? pair.index : -1);
        }
        return numbers;
    }

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

    void playerStepsJumpsAndLoops()
    {
        ClipPlayer player;
        QSignalSpy pairs(&player, &ClipPlayer::pairShown);
        player.open({clip, clip}, 0, 3);
        QVERIFY(player.state() == ClipPlayer::State::Opening && player.frame() == -1);
        player.step(1); // not yet open: nothing
        QTRY_COMPARE(player.frame(), 3);
        QCOMPARE(player.frameCount(), 25);
        QCOMPARE(player.seconds(10), 0.48); // from the first frame, as the reference keeps it
        const auto arrive = [&](qint64 n) { return QTest::qWaitFor([&] { return player.frame() == n; }, 10000); };
        for (const auto &[delta, expected] : {std::pair(1, 4), {1, 5}, {-10, 0}, {-1, 0}, {30, 24}}) {
            player.step(delta);
            QVERIFY2(arrive(expected), qPrintable(QString::number(player.frame())));
        }
        player.showFrame(6);
        QVERIFY(arrive(6));
        // Playing: from frame 6 round the loop to frame 6 again, skipping frames rather than falling behind.
        player.play();
        QVERIFY(player.playing());
        QVERIFY(QTest::qWaitFor([&] { return player.frame() < 6; }, 10000) && arrive(6));
        player.pause();
        QVERIFY(!player.playing());
        const QList<qint64> numbers = shownNumbers(pairs);
        QVERIFY2(!numbers.contains(-1), "a pair whose sides show another frame");
        QCOMPARE(numbers.mid(0, 6), QList<qint64>({3, 4, 5, 0, 24, 6}));
    }

    void playerKeepsWithinItsMemory()
    {
        ClipPlayer player;
        const qint64 pair = 64 * 48 * 4 * 2;
        player.setCacheBytes(3 * pair);
        player.open({clip, clip}, 0, 0);
        QTRY_COMPARE(player.frame(), 0);
        player.play();
        QVERIFY(QTest::qWaitFor([&] { return player.frame() >= 20; }, 10000));
        player.pause();
        QVERIFY(!player.cache().isEmpty() && player.cache().size() <= 3);
        QVERIFY(player.dueFrames() >= 20 && player.skippedFrames() <= player.dueFrames());
    }

    void playerFailsSoftly()
    {
        QTemporaryDir dir;
        QFile(dir.filePath(u"empty.mkv"_s)).open(QIODevice::WriteOnly);
        ClipPlayer player;
        QSignalSpy pairs(&player, &ClipPlayer::pairShown);
        player.open({clip, dir.filePath(u"empty.mkv"_s)}, 0, 0);
        QTRY_COMPARE(player.state(), ClipPlayer::State::Failed);
        QVERIFY(player.failure().startsWith(ClipDecoder::unreadableText()));
        player.play();
        player.step(1);
        QVERIFY(!player.playing() && player.frame() == -1 && pairs.isEmpty());
        player.close();
        QCOMPARE(player.state(), ClipPlayer::State::Closed);
    }
};

QTEST_MAIN(ClipFrames)
#include "tst_clip_frames.moc"
