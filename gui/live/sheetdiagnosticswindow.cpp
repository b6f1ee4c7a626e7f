// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/sheetdiagnosticswindow.h"

#include "analysis/lintconfig.h"
#include "live/accessibilitypanel.h"
#include "live/applicationsheet.h"
#include "live/livesheet.h"
#include "live/livewindowplacement.h"
#include "shell/galleryhost.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int preferredHeight = 440;
constexpr int leastHeight = 220;
constexpr int lineRole = Qt::UserRole;
constexpr int fileRole = Qt::UserRole + 7;
constexpr int columnRole = Qt::UserRole + 1;

// $VISUAL before $EDITOR, the usual order; empty when neither is set.
QString editorVariable()
{
    const QString visual = qEnvironmentVariable("VISUAL").trimmed();
    return visual.isEmpty() ? qEnvironmentVariable("EDITOR").trimmed() : visual;
}

QStyle::StandardPixmap severityIcon(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Error:
        return QStyle::SP_MessageBoxCritical;
    case LintSeverity::Warning:
        return QStyle::SP_MessageBoxWarning;
    case LintSeverity::Note:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

QString countsText(const QVector<LintDiagnostic> &diagnostics)
{
    int counts[3] = {0, 0, 0};
    for (const LintDiagnostic &diagnostic : diagnostics)
        ++counts[static_cast<int>(diagnostic.severity)];
    const auto counted = [](int count, const char *one, const char *many) {
        return SheetDiagnosticsWindow::tr(count == 1 ? one : many).arg(count);
    };
    return counted(counts[0], "%1 error", "%1 errors") + QStringLiteral(", ") +
           counted(counts[1], "%1 warning", "%1 warnings") + QStringLiteral(", ") +
           counted(counts[2], "%1 note", "%1 notes") + QLatin1Char('.');
}

// What the accessibility check audits: the gallery's tab on screen, or every window
// of the application but the tools'.
QVector<AuditedPage> shownPages(const GalleryHost *gallery, QWidget *tools)
{
    QVector<AuditedPage> pages;
    if (gallery) {
        const QStringList titles = gallery->galleryTabTitles();
        for (int tab = 0; tab < titles.size(); ++tab)
            if (QWidget *page = gallery->galleryTabPage(tab); page && page->isVisible())
                pages.append({page, titles[tab]});
        return pages;
    }
    for (QWidget *shown : ApplicationSheet::topLevelWindows({tools}))
        pages.append({shown, ApplicationSheet::windowName(shown)});
    return pages;
}

} // namespace

SheetDiagnosticsWindow::SheetDiagnosticsWindow(LiveSheet *sheet, GalleryHost *gallery)
    : QWidget(gallery ? gallery->galleryWindow() : nullptr, Qt::Tool)
    , sheet(sheet)
    , switcher(gallery ? gallery->switcherWindow() : nullptr)
    , pathLabel(new QLabel(this))
    , variantChooser(new QComboBox(this))
    , stateLabel(new QLabel(this))
    , diagnosticsList(new QListWidget(this))
    , hintLabel(new QLabel(this))
    , applyButton(new QPushButton(this))
    , panels(new QTabWidget(this))
    , outlineLabel(new QLabel(this))
    , pickButton(new QPushButton(tr("Pick"), this))
    , accessibility(new AccessibilityPanel(
          sheet, [gallery, this] { return shownPages(gallery, this); }, this))
{
    setWindowTitle(tr("Sheet Diagnostics"));
    resize(switcher ? switcher->width() : 640, preferredHeight);

    pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel->setWordWrap(true);
    stateLabel->setWordWrap(true);
    stateLabel->setTextFormat(Qt::RichText);
    hintLabel->setWordWrap(true);
    diagnosticsList->setUniformItemSizes(true);
    diagnosticsList->setWordWrap(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    auto *topRow = new QHBoxLayout;
    topRow->addWidget(pathLabel, 1);
    variantChooser->setToolTip(tr("The variant of the theme template shown"));
    variantChooser->setVisible(sheet->isTemplate());
    topRow->addWidget(variantChooser);
    layout->addLayout(topRow);
    layout->addWidget(stateLabel);
    panels->addTab(diagnosticsList, tr("Diagnostics"));
    panels->addTab(accessibility, tr("Accessibility"));
    layout->addWidget(panels, 1);
    outlineLabel->setWordWrap(true);
    outlineLabel->hide();
    layout->addWidget(outlineLabel);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(hintLabel, 1);
    pickButton->setToolTip(tr("Click a widget of %1 to see the rules that paint it "
                              "(Ctrl+Shift+I); Esc cancels.")
                               .arg(gallery ? tr("the gallery") : tr("the application")));
    bottomRow->addWidget(pickButton);
    bottomRow->addWidget(applyButton);
    layout->addLayout(bottomRow);

    connect(diagnosticsList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { openDiagnostic(item); });
    // Chosen by a click or by moving through the list, not by the list making its
    // first line current when it takes the focus.
    const auto choose = [this](const QListWidgetItem *item) {
        emit diagnosticChosen(item->data(lineRole).toInt(), item->data(columnRole).toInt());
    };
    connect(diagnosticsList, &QListWidget::itemClicked, this, choose);
    connect(diagnosticsList, &QListWidget::currentItemChanged, this,
            [choose](QListWidgetItem *item, QListWidgetItem *previous) {
                if (item && previous)
                    choose(item);
            });
    connect(pickButton, &QPushButton::clicked, this, &SheetDiagnosticsWindow::pickRequested);
    connect(accessibility, &AccessibilityPanel::ruleChosen, this,
            &SheetDiagnosticsWindow::openFilePosition);
    connect(applyButton, &QPushButton::clicked, sheet, &LiveSheet::apply);
    connect(variantChooser, &QComboBox::textActivated, sheet, &LiveSheet::setVariant);
    connect(sheet, &LiveSheet::updated, this, &SheetDiagnosticsWindow::refresh);

    // Shown and closed with the main window, placed below the switcher wherever that goes.
    if (gallery)
        gallery->galleryWindow()->installEventFilter(this);
    if (switcher)
        switcher->installEventFilter(this);
    refresh();
}

bool SheetDiagnosticsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Show) {
        show();
        placeBelowSwitcher();
    } else if (watched == parent() && event->type() == QEvent::Close) {
        close();
    } else if (watched == switcher &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                event->type() == QEvent::Show)) {
        placeBelowSwitcher();
    }
    return QWidget::eventFilter(watched, event);
}

void SheetDiagnosticsWindow::placeBelowSwitcher()
{
    if (!switcher || !switcher->isVisible())
        return;
    const QScreen *screen = switcher->screen();
    if (!screen)
        return;
    // Before the window system has framed this window, the switcher's frame is the
    // best guess at the size of this one's.
    const QWidget *framed = isVisible() && frameGeometry() != geometry() ? this : switcher;
    const QSize frameExtra = framed->frameGeometry().size() - framed->size();
    const QRect frame = diagnosticsFrameRect(
        switcher->frameGeometry(), QSize(switcher->width(), preferredHeight) + frameExtra,
        leastHeight + frameExtra.height(), screen->availableGeometry());
    move(frame.topLeft());
    resize(frame.size() - frameExtra);
}

void SheetDiagnosticsWindow::refresh()
{
    pathLabel->setText(sheet->path());
    if (sheet->isTemplate()) {
        const QSignalBlocker quiet(variantChooser);
        QStringList shown;
        for (int i = 0; i < variantChooser->count(); ++i)
            shown << variantChooser->itemText(i);
        if (shown != sheet->variants()) {
            variantChooser->clear();
            variantChooser->addItems(sheet->variants());
        }
        variantChooser->setCurrentText(sheet->variant());
    }
    applyButton->setText(tr("Apply %1").arg(sheet->fileName()));

    stateLabel->setText(stateText());
    listDiagnostics();

    const QString editor = editorVariable();
    hintLabel->setText(
        editor.isEmpty() ? tr("Double-click a diagnostic or a rule to copy FILE:LINE:COL; set "
                              "$VISUAL or $EDITOR to open an editor instead.")
                         : tr("Double-click a diagnostic or a rule to open it in %1.").arg(editor));
}

// When the sheet was applied, why a change did not show, what was found, and the
// configuration: rich text, so that the reason a change did not show stands out.
QString SheetDiagnosticsWindow::stateText() const
{
    QStringList state;
    if (sheet->appliedAt().isValid()) {
        state << tr("Last applied at %1, in %2 ms.")
                     .arg(sheet->appliedAt().toString(QStringLiteral("HH:mm:ss.zzz")))
                     .arg(sheet->applyMilliseconds(), 0, 'f', 1)
                     .toHtmlEscaped();
    } else {
        state << tr("Not applied yet.");
    }
    if (sheet->outcome() != LiveSheet::Outcome::Applied) {
        const QString kept = sheet->shownStyle() == sheet->fileName()
                                 ? tr("The last good version of %1 stays.").arg(sheet->fileName())
                                 : tr("Still showing %1.").arg(sheet->shownStyle());
        state << QStringLiteral("<b>%1</b> %2")
                     .arg(sheet->problem().toHtmlEscaped(), kept.toHtmlEscaped());
    } else if (sheet->shownStyle() != sheet->fileName()) {
        state << tr("Showing the built-in theme %1; \"%2\" brings the file back.")
                     .arg(sheet->shownStyle(), applyButton->text())
                     .toHtmlEscaped();
    } else if (sheet->appliedTextIsEmpty()) {
        state << tr("The file is empty: an empty sheet, the toolkit's own look.").toHtmlEscaped();
    }
    if (sheet->outcome() == LiveSheet::Outcome::Applied ||
        sheet->outcome() == LiveSheet::Outcome::Rejected)
        state << countsText(sheet->diagnostics());
    state << (sheet->configFile().isEmpty()
                  ? tr("No %1 governs this file: every check on its defaults.")
                        .arg(kLintConfigFileName)
                  : tr("Configuration: %1").arg(sheet->configFile()))
                 .toHtmlEscaped();
    if (!sheet->configProblem().isEmpty())
        state << QStringLiteral("<b>%1</b>").arg(sheet->configProblem().toHtmlEscaped());
    return state.join(QStringLiteral("<br>"));
}

void SheetDiagnosticsWindow::listDiagnostics()
{
    QVector<LintDiagnostic> diagnostics = sheet->diagnostics();
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const LintDiagnostic &a, const LintDiagnostic &b) {
                         return static_cast<int>(a.severity) < static_cast<int>(b.severity);
                     });
    diagnosticsList->clear();
    // A template's findings, and the places they name, may lie in its token files:
    // those are named.
    const auto fileOf = [this](const QString &file) {
        return file == sheet->path() || file.isEmpty() ? QString() : file;
    };
    const auto placeOf = [this](const QString &file, int line, int column) {
        return (file.isEmpty() ? QString()
                               : QDir(QFileInfo(sheet->path()).path()).relativeFilePath(file) +
                                     QLatin1Char(':')) +
               QStringLiteral("%1:%2").arg(line).arg(column);
    };
    for (const LintDiagnostic &diagnostic : qAsConst(diagnostics)) {
        const QString file = fileOf(diagnostic.file);
        auto *item = new QListWidgetItem(
            style()->standardIcon(severityIcon(diagnostic.severity)),
            placeOf(file, diagnostic.line, diagnostic.column) +
                QStringLiteral("  %1  [%2]").arg(diagnostic.message, diagnostic.check),
            diagnosticsList);
        item->setToolTip(diagnostic.message);
        item->setData(lineRole, diagnostic.line);
        item->setData(columnRole, diagnostic.column);
        item->setData(fileRole, file);
        // A template's finding may name a place in another file, such as the token that
        // gave the colour it was judged against: below it, indented, opened as it is.
        if (!sheet->isTemplate())
            continue;
        for (const LintLocation &related : diagnostic.related) {
            const QString relatedFile = fileOf(related.file.isEmpty() ? file : related.file);
            auto *place = new QListWidgetItem(
                QStringLiteral("      %1  %2")
                    .arg(placeOf(relatedFile, related.line, related.column), related.message),
                diagnosticsList);
            place->setToolTip(related.message);
            place->setData(lineRole, related.line);
            place->setData(columnRole, related.column);
            place->setData(fileRole, relatedFile);
        }
    }
}

void SheetDiagnosticsWindow::removeAccessibilityPage()
{
    panels->removeTab(panels->indexOf(accessibility));
    accessibility->hide();
}

void SheetDiagnosticsWindow::addPanel(QWidget *page, const QString &title)
{
    panels->addTab(page, title);
}

void SheetDiagnosticsWindow::showPanel(QWidget *page)
{
    panels->setCurrentWidget(page);
}

void SheetDiagnosticsWindow::setOutlineNote(const QString &note)
{
    outlineLabel->setText(note);
    outlineLabel->setVisible(!note.isEmpty());
}

void SheetDiagnosticsWindow::openDiagnostic(const QListWidgetItem *item)
{
    if (item)
        openFilePosition(item->data(fileRole).toString(), item->data(lineRole).toInt(),
                         item->data(columnRole).toInt());
}

void SheetDiagnosticsWindow::openPosition(int line, int column)
{
    openFilePosition(QString(), line, column);
}

void SheetDiagnosticsWindow::openFilePosition(const QString &file, int line, int column)
{
    const QString path = file.isEmpty() ? sheet->path() : file;
    QStringList command = QProcess::splitCommand(editorVariable());
    QString failure;
    if (!command.isEmpty()) {
        const QString program = command.takeFirst();
        command << QStringLiteral("+%1").arg(line) << path;
        if (QProcess::startDetached(program, command)) {
            hintLabel->setText(tr("Opened line %1 in %2.").arg(line).arg(program));
            return;
        }
        failure = tr("Could not start %1. ").arg(program);
    }
    const QString position = QStringLiteral("%1:%2:%3").arg(path).arg(line).arg(column);
    QGuiApplication::clipboard()->setText(position);
    hintLabel->setText(failure + tr("Copied %1 to the clipboard.").arg(position));
}
