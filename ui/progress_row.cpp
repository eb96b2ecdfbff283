#include "ui/progress_row.h"

#include "ui/text_styles.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <climits>

ProgressRow::ProgressRow(const QString &barName, const QString &captionName, int barWidth, QWidget *parent)
    : QWidget(parent), bar_(new QProgressBar(this)), caption_(TextStyles::captionLabel(captionName, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    bar_->setObjectName(barName);
    bar_->setTextVisible(false);
    bar_->setFixedWidth(barWidth);
    row->addWidget(bar_);
    row->addWidget(caption_);
}

void ProgressRow::setCount(qint64 done, qint64 total)
{
    bar_->setVisible(total > 0);
    if (total <= 0)
        return;
    const qint64 range = std::min<qint64>(total, INT_MAX);
    bar_->setRange(0, int(range));
    bar_->setValue(int(std::clamp<qint64>(done, 0, range)));
}

void ProgressRow::setCaption(const QString &text)
{
    caption_->setVisible(!text.isEmpty());
    caption_->setText(text);
}
