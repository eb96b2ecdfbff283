#include "model/encoder_offer.h"

#include "engine/encoder_catalogue.h"
#include "engine/error_description.h"
#include "engine/preview_engine.h"
#include "engine/when_finished.h"

EncoderOffer::EncoderOffer(QObject *parent) : QObject(parent)
{}

EncoderOffer::~EncoderOffer() = default;

void EncoderOffer::testCards(const QString &toolsDirectory)
{
    try {
        tester_ = std::make_unique<PreviewEngine>(toolsDirectory);
    } catch (...) {
        qWarning("bitglance: graphics cards not tried: %s", qUtf8Printable(errorDescription(std::current_exception())));
        return;
    }
    whenFinished(tester_->hardwareEncoders(), this,
                 [this](std::optional<QList<EncoderSetting>> cards, const std::exception_ptr &) {
                     if (cards)
                         setCards(*cards);
                     // Not from inside its own continuation's call.
                     QMetaObject::invokeMethod(
                         this, [this] { tester_.reset(); }, Qt::QueuedConnection);
                 });
}

QList<VideoEncoder> EncoderOffer::encoders() const
{
    QList<VideoEncoder> offered = EncoderCatalogue::softwareEncoders();
    if (!cards_.isEmpty())
        offered << VideoEncoder::HevcHardware;
    return offered;
}

QList<int> EncoderOffer::depths(VideoEncoder encoder) const
{
    if (encoder != VideoEncoder::HevcHardware)
        return EncoderCatalogue::depths(encoder);
    QList<int> depths;
    for (const EncoderSetting &card : cards_)
        depths << card.depth;
    return depths;
}

HardwareApi EncoderOffer::card() const
{
    return cards_.isEmpty() ? HardwareApi::None : cards_.first().hardware;
}

void EncoderOffer::setCards(const QList<EncoderSetting> &cards)
{
    QList<EncoderSetting> first;
    for (const EncoderSetting &card : cards)
        if (card.hardware == cards.first().hardware)
            first << card;
    if (first == cards_)
        return;
    cards_ = first;
    emit changed();
}

void EncoderOffer::cardFailed()
{
    setCards({});
}
