// The system's ffmpeg on real camera and phone footage (../shared/media): every file probes to its
// expected outcome, and a few short ones render.

#include "engine_test_helpers.h"
#include "preview_engine.h"
#include "test_films.h"

#include <QImage>
#include <QtTest>

#include <memory>

class EngineMedia : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFileHasAnExpectation();
    void probe_data();
    void probe();
    void render_data();
    void render();

private:
    QString media(const QString &name) const { return QDir(mediaDir_).absoluteFilePath(name); }

    QString mediaDir_;
    PrivateTempDir temp_; // the engine's work folder lives in here
    std::unique_ptr<PreviewEngine> engine_;
};

namespace {

// What the probe gives for each file: "W×H codec" or the failure text.
const QList<QPair<QString, QString>> &expectations()
{
    static const QList<QPair<QString, QString>> table{
        {QStringLiteral("bear_vp9.webm"), QStringLiteral("320×240 vp9")},
        {QStringLiteral("car_12p5fps.mp4"), QStringLiteral("768×432 h264")},
        {QStringLiteral("cover_art_audio.m4a"), previewError(PreviewError::noVideoStream())},
        {QStringLiteral("dv_p9_h264_1080p60.mp4"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("emulator_720p_h264.mp4"), QStringLiteral("1280×720 h264")},
        {QStringLiteral("gopro_karma.mp4"), QStringLiteral("854×480 h264")},
        {QStringLiteral("hdr10_av1_mdcv.mp4"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("hdr10_av1_portrait.mp4"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("hdr10_hevc_1080p.mp4"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("iphone_dv84_hlg_rot.mp4"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("iphone_dv84_short.mov"), previewError(PreviewError::hdrNotSupported())},
        {QStringLiteral("pixel_motionphoto_vfr.mp4"), QStringLiteral("1024×768 hevc")},
        {QStringLiteral("portrait_4k60_rot.mp4"), QStringLiteral("3840×2160 h264")},
        {QStringLiteral("roadtrip_vp9_10bit.webm"), QStringLiteral("426×240 vp9")},
        {QStringLiteral("slowmo_android_vfr.mp4"), QStringLiteral("1280×720 h264")},
        {QStringLiteral("sowt_pcm_1080p50.mov"), QStringLiteral("1920×1080 h264")},
    };
    return table;
}

} // namespace

void EngineMedia::initTestCase()
{
    mediaDir_ = TestFilms::mediaDirectory();
    if (mediaDir_.isEmpty())
        QSKIP("no ../shared/media next to the project");
    const QString tools = TestFilms::systemToolsDirectory();
    if (tools.isEmpty())
        QSKIP("no ffmpeg on this system");
    engine_ = std::make_unique<PreviewEngine>(tools);
}

void EngineMedia::cleanupTestCase()
{
    engine_.reset();
}

void EngineMedia::everyFileHasAnExpectation()
{
    QStringList expected;
    for (const auto &row : expectations())
        expected << row.first;
    QStringList present = QDir(mediaDir_).entryList(QDir::Files);
    present.removeAll(QStringLiteral("README.md"));
    QCOMPARE(present, expected);
}

void EngineMedia::probe_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    for (const auto &row : expectations())
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void EngineMedia::probe()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(media(file)));
    const std::exception_ptr failure = failureOf(future);
    if (failure) {
        QCOMPARE(failureText(failure), expected);
        return;
    }
    const MovieInfo info = future.result();
    QCOMPARE(QStringLiteral("%1×%2 %3").arg(info.width).arg(info.height).arg(info.codec), expected);
    QVERIFY(info.duration > 0 && info.duration < 60);
    QVERIFY(info.fps > 1 && info.fps < 120);
}

void EngineMedia::render_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("maxHeight");
    QTest::addColumn<qint64>("height");
    QTest::newRow("VP9, whole clip") << "bear_vp9.webm" << 1.5 << qint64(0) << qint64(240);
    QTest::newRow("10-bit VP9 with hidden frames, 8-bit reference") << "roadtrip_vp9_10bit.webm" << 2.0 << qint64(720)
                                                                     << qint64(240);
    QTest::newRow("variable frame gaps, scene at the end") << "slowmo_android_vfr.mp4" << 0.53 << qint64(720)
                                                           << qint64(720);
    QTest::newRow("1080p50, 2 s, limited to 720") << "sowt_pcm_1080p50.mov" << 1.0 << qint64(720) << qint64(720);
}

void EngineMedia::render()
{
    QFETCH(QString, file);
    QFETCH(double, seconds);
    QFETCH(qint64, maxHeight);
    QFETCH(qint64, height);
    const MovieInfo info = resultOrWarn(engine_->probe(QUrl::fromLocalFile(media(file))));
    QFuture<PreviewResult> future = engine_->render(info, seconds, 1.5, maxHeight);
    QCOMPARE(failureText(future), QStringLiteral("no failure"));
    const PreviewResult result = future.result();
    QCOMPARE(result.height, height);
    QCOMPARE(result.width % 2, 0);
    QCOMPARE(result.sampleSeconds, std::min(info.duration, 3.0));
    QVERIFY(result.seconds >= 0 && result.seconds <= info.duration);
    QVERIFY(result.actualMbps > 0);
    for (const QByteArray &png : {result.original, result.encoded}) {
        const QImage image = QImage::fromData(png, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(qint64(image.width()), result.width);
        QCOMPARE(qint64(image.height()), result.height);
    }
}

QTEST_GUILESS_MAIN(EngineMedia)
#include "tst_engine_media.moc"
