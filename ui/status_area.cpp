#include "ui/status_area.h"

#include "ui/busy_spinner.h"
#include "model/glance_model.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int maxErrorHeight = 80;
} // namespace

StatusArea::StatusArea(GlanceModel *model, QWidget *parent) : QWidget(parent), model_(model)
{
    // The main view's spacing between its rows; a hidden error area takes no room.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(14);
    rows->addWidget(makeErrorArea());
    rows->addLayout(makeStatusRow());

    connect(model_, &GlanceModel::busyChanged, this, [this] { spinner_->setVisible(model_->busy()); });
    connect(model_, &GlanceModel::statusChanged, this, &StatusArea::showStatus);
    connect(model_, &GlanceModel::measurementChanged, this, &StatusArea::showStatus);
    connect(model_, &GlanceModel::qualityChanged, this, &StatusArea::showStatus);
    connect(model_, &GlanceModel::progressChanged, this, &StatusArea::showProgress);
    connect(model_, &GlanceModel::errorChanged, this, &StatusArea::showError);
    spinner_->setVisible(model_->busy());
    showStatus();
    showProgress();
    showError();
}

QWidget *StatusArea::makeErrorArea()
{
    errorArea_ = new QScrollArea(this);
    errorArea_->setObjectName(QStringLiteral("errorArea"));
    errorArea_->setFrameShape(QFrame::NoFrame);
    errorArea_->setWidgetResizable(true);
    errorArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    errorArea_->setMaximumHeight(maxErrorHeight);
    errorArea_->verticalScrollBar()->setAccessibleName(QStringLiteral("Fehlertext verschieben"));
    errorLabel_ = new QLabel(errorArea_);
    errorLabel_->setObjectName(QStringLiteral("errorLabel"));
    errorLabel_->setTextFormat(Qt::PlainText);
    errorLabel_->setWordWrap(true);
    errorLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    errorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    errorLabel_->setFont(TextStyles::caption());
    QPalette red = errorLabel_->palette();
    red.setColor(QPalette::WindowText, TextStyles::errorRed());
    errorLabel_->setPalette(red);
    errorArea_->setWidget(errorLabel_);
    return errorArea_;
}

QLayout *StatusArea::makeStatusRow()
{
    auto *row = new QHBoxLayout;
    spinner_ = new BusySpinner(16, this);
    spinner_->setObjectName(QStringLiteral("statusSpinner"));
    row->addWidget(spinner_);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setAccessibleName(QStringLiteral("Fortschritt"));
    progressBar_->setTextVisible(false);
    progressBar_->setFixedWidth(140);
    row->addWidget(progressBar_);
    remainingLabel_ = new QLabel(this);
    remainingLabel_->setObjectName(QStringLiteral("remainingLabel"));
    TextStyles::apply(remainingLabel_, TextStyles::caption(), true);
    row->addWidget(remainingLabel_);
    auto *lines = new QVBoxLayout;
    lines->setSpacing(3);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setFont(TextStyles::callout());
    lines->addWidget(statusLabel_);
    measurementLabel_ = new QLabel(this);
    measurementLabel_->setObjectName(QStringLiteral("measurementLabel"));
    measurementLabel_->setTextFormat(Qt::PlainText);
    TextStyles::apply(measurementLabel_, TextStyles::caption(), true);
    lines->addWidget(measurementLabel_);
    qualityLabel_ = new QLabel(this);
    qualityLabel_->setObjectName(QStringLiteral("qualityLabel"));
    qualityLabel_->setTextFormat(Qt::PlainText);
    TextStyles::apply(qualityLabel_, TextStyles::caption(), true);
    lines->addWidget(qualityLabel_);
    row->addLayout(lines);
    row->addStretch(1);
    auto *encoder = new QLabel(QStringLiteral("SDR · HEVC / x265 · ohne Ton"), this);
    TextStyles::apply(encoder, TextStyles::caption(), true);
    row->addWidget(encoder);
    return row;
}

void StatusArea::showStatus()
{
    statusLabel_->setText(model_->status());
    measurementLabel_->setText(model_->measurement());
    measurementLabel_->setVisible(!model_->measurement().isEmpty());
    qualityLabel_->setText(model_->quality());
    qualityLabel_->setVisible(!model_->quality().isEmpty());
}

void StatusArea::showProgress()
{
    const std::optional<RenderProgress> &progress = model_->progress();
    const bool counted = progress && progress->totalFrames > 0;
    progressBar_->setVisible(counted);
    if (counted) {
        progressBar_->setRange(0, int(std::min<qint64>(progress->totalFrames, INT_MAX)));
        progressBar_->setValue(int(std::clamp<qint64>(progress->frames, 0, progress->totalFrames)));
    }
    const bool estimated = progress && progress->remainingSeconds >= 0;
    remainingLabel_->setVisible(estimated);
    remainingLabel_->setText(estimated ? ViewTexts::remaining(progress->remainingSeconds) : QString());
}

void StatusArea::showError()
{
    const std::optional<QString> &error = model_->error();
    errorLabel_->setText(error.value_or(QString()));
    errorArea_->setVisible(error.has_value());
    updateErrorHeight();
}

void StatusArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateErrorHeight();
}

void StatusArea::updateErrorHeight()
{
    if (!errorArea_->isVisibleTo(this))
        return;
    // As tall as the text, longer texts scroll.
    const int width = std::max(1, errorArea_->width());
    errorArea_->setFixedHeight(std::min(maxErrorHeight, errorLabel_->heightForWidth(width)));
}
