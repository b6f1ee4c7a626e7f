// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QDateTime;

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
    QString currentStyleName() const;

    // What a program built on the gallery drives: its tabs, its disable switch and
    // the moment its date and time editors show.
    QStringList tabTitles() const;
    void setCurrentTab(int index);
    // The page of a tab, for a program that looks at the widgets it shows.
    QWidget *tabPage(int index) const;
    void setPreviewDisabled(bool disabled);
    void setSampleDateTime(const QDateTime &dateTime);
    // An extra tab after the gallery's own (an author's form); the gallery takes
    // the page. Returns its index.
    int addTab(QWidget *page, const QString &title);
    void setTabTitle(int index, const QString &title);
    // Calls changed with the new index whenever another tab is shown, as long as
    // context lives; the gallery declares no signals of its own.
    void onCurrentTabChanged(QObject *context, std::function<void(int)> changed);

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
    QString shownStyleName;
    Ui::PreviewContent *ui;
    ContentFitter *fitter;
};
