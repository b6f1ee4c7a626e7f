// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

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

    // How many times the columns of a view, or the width of a group box, have been
    // fitted to the style in force (once per style or font change, before a paint).
    int contentFitCount(const QWidget *viewOrGroupBox) const;

private:
    // The rows of the dialog list; the row index is the dialog type.
    enum DialogType : int
    {
        ErrorDialog = 0,
        InfoDialog = 1,
        WarningDialog = 2,
        AboutDialog = 3,
        HelpDialog = 4,
    };

    void populatePreviewData();
    void buildSemanticSections();
    void applyIconSet(int index);
    void showDialogPreview(int dialogType);

    class ContentFitter;

    int iconSetIndex;
    Ui::PreviewContent *ui;
    ContentFitter *fitter;
};
