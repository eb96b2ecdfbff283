#pragma once

#include <QWidget>

class EncoderOffer;
class GlanceModel;
class QComboBox;

// The settings' encoder row: "Encoder" (HEVC (x265), H.264 (x264), AV1 (SVT-AV1), and HEVC
// (Grafikkarte) where a card works), its "Preset" and the "Bittiefe" (8 or 10 bit). A change is a
// change of the comparison's settings like the bitrate's.
class EncoderRow : public QWidget {
    Q_OBJECT
public:
    EncoderRow(GlanceModel *model, EncoderOffer *offer, QWidget *parent = nullptr);

private:
    void showOffer();
    void showSetting();
    void chooseEncoder();
    void choosePreset();
    void chooseDepth();

    GlanceModel *model_;
    EncoderOffer *offer_;
    QComboBox *encoder_ = nullptr;
    QComboBox *preset_ = nullptr;
    QComboBox *depth_ = nullptr;
    bool showing_ = false; // filling the boxes, not the user choosing
};
