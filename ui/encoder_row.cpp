#include "ui/encoder_row.h"

#include "engine/encoder_catalogue.h"
#include "model/encoder_offer.h"
#include "model/glance_model.h"
#include "ui/boxed_label.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QString bitText(int depth)
{
    return QCoreApplication::translate("EncoderRow", "%1 bit").arg(depth);
}

QComboBox *namedBox(const QString &name, const QString &objectName, const QString &tip, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(name);
    box->setToolTip(tip);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

} // namespace

EncoderRow::EncoderRow(GlanceModel *model, EncoderOffer *offer, QWidget *parent)
    : QWidget(parent), model_(model), offer_(offer)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    encoder_ =
        namedBox(tr("Encoder"), QStringLiteral("encoderBox"),
                 tr("Womit der Ausschnitt kodiert wird; am besten das, womit der Film später kodiert wird"), this);
    preset_ = namedBox(tr("Preset"), QStringLiteral("presetBox"),
                       tr("Langsamere Presets erreichen dieselbe Qualität mit weniger Bitrate"), this);
    depth_ = namedBox(tr("Bittiefe"), QStringLiteral("depthBox"),
                      tr("10 bit vermeidet Stufen in Verläufen wie Himmel und dunklen Szenen"), this);
    // Each box after its label, which a screen reader names it by.
    for (QComboBox *box : {encoder_, preset_, depth_}) {
        QLabel *label = box == encoder_ ? boxedLabel(box->accessibleName(), 76, Qt::AlignLeft, this)
                                        : new QLabel(box->accessibleName(), this);
        label->setBuddy(box);
        if (box != encoder_)
            row->addSpacing(12);
        row->addWidget(label);
        row->addWidget(box);
    }
    row->addStretch(1);

    connect(encoder_, &QComboBox::activated, this, &EncoderRow::chooseEncoder);
    connect(preset_, &QComboBox::activated, this, &EncoderRow::choosePreset);
    connect(depth_, &QComboBox::activated, this, &EncoderRow::chooseDepth);
    connect(offer_, &EncoderOffer::changed, this, &EncoderRow::showOffer);
    connect(model_, &GlanceModel::encoderChanged, this, &EncoderRow::showSetting);
    showOffer();
}

void EncoderRow::showOffer()
{
    showing_ = true;
    encoder_->clear();
    for (VideoEncoder encoder : offer_->encoders())
        encoder_->addItem(EncoderCatalogue::title(encoder), int(encoder));
    showing_ = false;
    // A card that is no longer offered leaves the setting to the model's own fallback.
    showSetting();
}

void EncoderRow::showSetting()
{
    showing_ = true;
    const EncoderSetting &setting = model_->encoder();
    encoder_->setCurrentIndex(encoder_->findData(int(setting.encoder)));
    preset_->clear();
    for (const QString &preset : EncoderCatalogue::presets(setting.encoder))
        preset_->addItem(preset, preset);
    preset_->setEnabled(preset_->count() > 0);
    if (preset_->count() == 0)
        preset_->addItem(tr("Standard der Karte"), QString());
    preset_->setCurrentIndex(std::max(0, preset_->findData(setting.preset)));
    depth_->clear();
    for (int depth : offer_->depths(setting.encoder))
        depth_->addItem(bitText(depth), depth);
    depth_->setCurrentIndex(std::max(0, depth_->findData(setting.depth)));
    showing_ = false;
}

void EncoderRow::chooseEncoder()
{
    const auto encoder = VideoEncoder(encoder_->currentData().toInt());
    if (showing_ || encoder == model_->encoder().encoder)
        return;
    EncoderSetting setting = EncoderCatalogue::defaultSetting(encoder, offer_->card());
    // The depth stays where the new encoder writes it.
    if (offer_->depths(encoder).contains(model_->encoder().depth))
        setting.depth = model_->encoder().depth;
    else if (!offer_->depths(encoder).isEmpty())
        setting.depth = offer_->depths(encoder).first();
    model_->setEncoder(setting);
}

void EncoderRow::choosePreset()
{
    if (showing_ || preset_->currentData().toString().isEmpty())
        return;
    EncoderSetting setting = model_->encoder();
    setting.preset = preset_->currentData().toString();
    model_->setEncoder(setting);
}

void EncoderRow::chooseDepth()
{
    if (showing_)
        return;
    EncoderSetting setting = model_->encoder();
    setting.depth = depth_->currentData().toInt();
    model_->setEncoder(setting);
}
