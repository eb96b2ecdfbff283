#include "engine/internal/hardware_encoder_test.h"

#include "engine/cancelled_error.h"
#include "engine/encoder_catalogue.h"
#include "engine/internal/ffmpeg_commands.h"

#include <QDeadlineTimer>

HardwareEncoderTest::HardwareEncoderTest(QString ffmpeg, const ToolRunner &runner, QString workFolder, int tryMs)
    : ffmpeg_(std::move(ffmpeg)), runner_(runner), workFolder_(std::move(workFolder)), tryMs_(tryMs)
{}

QList<EncoderSetting> HardwareEncoderTest::run(const Cancellation &cancel) const
{
    QList<EncoderSetting> working;
    for (const HardwareApi api : {HardwareApi::Vaapi, HardwareApi::Nvenc, HardwareApi::Qsv}) {
        for (const int depth : EncoderCatalogue::depths(VideoEncoder::HevcHardware)) {
            EncoderSetting setting = EncoderCatalogue::defaultSetting(VideoEncoder::HevcHardware, api);
            setting.depth = depth;
            const QDeadlineTimer deadline(tryMs_);
            const Cancellation timed({}, [&cancel, &deadline] { return cancel.requested() || deadline.hasExpired(); });
            try {
                runner_.run(ffmpeg_, FfmpegCommands::hardwareTest(setting), timed, {}, workFolder_);
                working << setting;
            } catch (const CancelledError &) {
                if (cancel.requested())
                    throw;
            } catch (const std::exception &) {
                // This card, driver or depth does not encode here.
            }
        }
    }
    return working;
}
