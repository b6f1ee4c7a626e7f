#pragma once

#include <QWidget>

namespace Ui {
class PreviewContent;
}

// The widget gallery: the designer form plus the sample content and wiring around it.
class PreviewContent : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewContent(QWidget *parent = nullptr);
    ~PreviewContent() override;

    void setCurrentStyleName(const QString &styleName);

private:
    Ui::PreviewContent *ui;
};
