#include "ui/status_area.h"

#include "model/glance_model.h"
#include "ui/busy_spinner.h"
#include "ui/progress_row.h"
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
    progress_ = new ProgressRow(QStringLiteral("progressBar"), QStringLiteral("remainingLabel"), 140, this);
    progress_->bar()->setAccessibleName(QStringLiteral("Fortschritt"));
    row->addWidget(progress_);
    auto *lines = new QVBoxLayout;
    lines->setSpacing(3);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setFont(TextStyles::callout());
    lines->addWidget(statusLabel_);
    measurementLabel_ = TextStyles::captionLabel(QStringLiteral("measurementLabel"), this);
    lines->addWidget(measurementLabel_);
    qualityLabel_ = TextStyles::captionLabel(QStringLiteral("qualityLabel"), this);
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
    progress_->setCount(progress ? progress->frames : 0, progress ? progress->totalFrames : 0);
    const bool estimated = progress && progress->remainingSeconds >= 0;
    progress_->setCaption(estimated ? ViewTexts::remaining(progress->remainingSeconds) : QString());
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
