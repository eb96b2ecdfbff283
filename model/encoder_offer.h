#pragma once

#include "engine/encoder_setting.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class PreviewEngine;

// The encoders the window offers: the software ones always, and a graphics card's HEVC encoder
// once a test at start-up has shown that it works (testCards()). A card whose encode fails later
// is no longer offered (cardFailed()).
class EncoderOffer : public QObject {
    Q_OBJECT
public:
    explicit EncoderOffer(QObject *parent = nullptr);
    ~EncoderOffer() override;

    // Tries the cards in the background on an engine of its own, so that comparisons do not wait.
    // A failure to make that engine is reported on stderr; the window then offers no card.
    void testCards(const QString &toolsDirectory);
    // The encoders to offer, in order; HevcHardware only when a card works.
    QList<VideoEncoder> encoders() const;
    // The depths the encoder writes here: a card's as its test showed.
    QList<int> depths(VideoEncoder encoder) const;
    // The working card's API, None without one.
    HardwareApi card() const;

    void setCards(const QList<EncoderSetting> &cards);
    void cardFailed();

signals:
    void changed();

private:
    std::unique_ptr<PreviewEngine> tester_;
    QList<EncoderSetting> cards_; // of the first API that worked, one per depth
};
