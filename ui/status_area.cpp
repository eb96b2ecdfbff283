#include "ui/status_area.h"

#include "engine/encoder_catalogue.h"

#include "model/glance_model.h"
#include "ui/busy_spinner.h"
#include "ui/elided_label.h"
#include "ui/progress_row.h"
#include "ui/text_styles.h"
#include "ui/verdict_label.h"
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
// The bar's steps from nothing to the whole comparison.
constexpr qint64 progressSteps = 1000;
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
    connect(model_, &GlanceModel::noticeChanged, this, &StatusArea::showStatus);
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
    errorArea_->setFocusPolicy(Qt::NoFocus); // the text in it takes the focus
    errorArea_->verticalScrollBar()->setAccessibleName(tr("Fehlertext verschieben"));
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
    progress_->bar()->setAccessibleName(tr("Fortschritt"));
    row->addWidget(progress_);
    auto *lines = lines_ = new QVBoxLayout;
    lines->setSpacing(3);
    // The status, and beside it what the last save or copy did.
    auto *statusLine = new QHBoxLayout;
    statusLine->setSpacing(12);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setFont(TextStyles::callout());
    statusLine->addWidget(statusLabel_);
    noticeLabel_ = new ElidedLabel(this);
    noticeLabel_->setObjectName(QStringLiteral("noticeLabel"));
    noticeLabel_->setFont(TextStyles::callout());
    statusLine->addWidget(noticeLabel_, 1);
    lines->addLayout(statusLine);
    measurementLabel_ = TextStyles::captionLabel(QStringLiteral("measurementLabel"), this);
    lines->addWidget(measurementLabel_);
    // The numbers, and beside them the verdict in words.
    auto *qualityLine = new QHBoxLayout;
    qualityLine->setSpacing(12);
    qualityLabel_ = TextStyles::captionLabel(QStringLiteral("qualityLabel"), this);
    qualityLine->addWidget(qualityLabel_);
    qualityLine->addWidget(new VerdictLabel(model_, this));
    qualityLine->addStretch(1);
    lines->addLayout(qualityLine);
    row->addLayout(lines, 1);
    // "SDR · HEVC / x265 · ohne Ton" with the default encoder setting.
    encoderLabel_ = new QLabel(this);
    encoderLabel_->setObjectName(QStringLiteral("encoderLabel"));
    TextStyles::apply(encoderLabel_, TextStyles::caption(), true);
    const auto showEncoder = [this] {
        encoderLabel_->setText(tr("SDR · %1 · ohne Ton").arg(EncoderCatalogue::settingText(model_->encoder())));
    };
    connect(model_, &GlanceModel::encoderChanged, encoderLabel_, showEncoder);
    showEncoder();
    row->addWidget(encoderLabel_, 0, Qt::AlignTop);
    return row;
}

void StatusArea::addLine(QWidget *line)
{
    lines_->addWidget(line);
}

void StatusArea::showStatus()
{
    statusLabel_->setText(model_->status());
    measurementLabel_->setText(model_->measurement());
    measurementLabel_->setVisible(!model_->measurement().isEmpty());
    qualityLabel_->setText(model_->quality());
    qualityLabel_->setVisible(!model_->quality().isEmpty());
    noticeLabel_->setFullText(model_->notice());
    noticeLabel_->setToolTip(model_->notice()); // shortened to the row's width
    noticeLabel_->setAccessibleName(model_->notice());
}

void StatusArea::showProgress()
{
    const std::optional<ComparisonProgress> &progress = model_->progress();
    progress_->setCount(progress ? qRound64(progress->share() * progressSteps) : 0, progress ? progressSteps : 0);
    const bool estimated = progress && progress->remainingSeconds() >= 0;
    progress_->setCaption(estimated ? ViewTexts::remaining(progress->remainingSeconds()) : QString());
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
