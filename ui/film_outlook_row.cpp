#include "ui/film_outlook_row.h"

#include "model/film_outlook.h"
#include "ui/text_styles.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

FilmOutlookRow::FilmOutlookRow(FilmOutlook *outlook, QAction *copyCommand, QWidget *parent)
    : QWidget(parent), outlook_(outlook)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    size_ = TextStyles::captionLabel(QStringLiteral("filmSizeLabel"), this);
    row->addWidget(size_);
    auto *copy = new QPushButton(copyCommand->text(), this);
    copy->setObjectName(QStringLiteral("copyCommandButton"));
    copy->setAccessibleName(copyCommand->text());
    copy->setToolTip(copyCommand->toolTip());
    copy->setEnabled(copyCommand->isEnabled());
    connect(copyCommand, &QAction::changed, copy, [copy, copyCommand] { copy->setEnabled(copyCommand->isEnabled()); });
    connect(copy, &QPushButton::clicked, copyCommand, &QAction::trigger);
    row->addWidget(copy);
    row->addStretch(1);
    connect(outlook_, &FilmOutlook::changed, this, &FilmOutlookRow::showOutlook);
    showOutlook();
}

void FilmOutlookRow::showOutlook()
{
    size_->setText(outlook_->sizeText());
    size_->setToolTip(outlook_->sizeBasis());
    size_->setAccessibleDescription(outlook_->sizeBasis());
    size_->setVisible(!outlook_->sizeText().isEmpty());
}
