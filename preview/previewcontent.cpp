#include "preview/previewcontent.h"

#include "ui_previewcontent.h"

PreviewContent::PreviewContent(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PreviewContent)
{
    ui->setupUi(this);
}

PreviewContent::~PreviewContent()
{
    delete ui;
}

void PreviewContent::setCurrentStyleName(const QString &styleName)
{
    ui->statusLabel->setText(tr("Current style: %1").arg(styleName));
}
