// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/profilestage.h"

#include "widgetstyles/sheetpalette.h"
#include "widgetstyles/sheetstyle.h"
#include "widgetstyles/themestyles.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QSet>
#include <QStyleFactory>
#include <QWidget>

#include <time.h>

#ifdef PRISMARK_CALLGRIND
#include <valgrind/callgrind.h>
#endif

#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 33)
#include <malloc.h>
#define PRISMARK_HEAP_STATISTICS 1
#endif

namespace {

const QString kBaseStyle = QStringLiteral("Fusion");

// The base style under a colour scheme: the scheme's palette, and no sheet. (A
// SheetStyle would set the application's sheet from inside the style's own polish.)
class SchemeBaseStyle : public QProxyStyle
{
public:
    SchemeBaseStyle()
        : QProxyStyle(QStyleFactory::create(kBaseStyle))
    {}
    using QProxyStyle::polish;
    void polish(QPalette &palette) override { polishSheetPalette(palette, QString()); }
};

qint64 heapInUse()
{
#ifdef PRISMARK_HEAP_STATISTICS
    const struct mallinfo2 heap = mallinfo2();
    return qint64(heap.uordblks + heap.hblkhd);
#else
    return 0;
#endif
}

void settleEvents()
{
    // Layout requests and the toolkit's deferred deletes of the style it replaced;
    // what they post in turn goes in a second round.
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The main thread's processor time: the toolkit styles and paints there, and other
// programs busy on the machine do not inflate it as they inflate the wall clock.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

#ifdef PRISMARK_CALLGRIND
// Callgrind writes the counts of each dump to the next numbered file; the summary
// line near its top is the instructions since the counts were zeroed.
double dumpedInstructions()
{
    static int dumps = 0;
    QFile dump(qEnvironmentVariable(kCallgrindOutVariable) + QLatin1Char('.') +
               QString::number(++dumps));
    double instructions = 0;
    if (dump.open(QIODevice::ReadOnly)) {
        while (!dump.atEnd()) {
            const QByteArray line = dump.readLine();
            if (line.startsWith("summary: ")) {
                instructions = line.mid(9).trimmed().toDouble();
                break;
            }
        }
        dump.remove();
    }
    return instructions;
}
#endif

// The main thread's processor time, or the instructions it ran under callgrind.
template <typename Work> double measured(Work work)
{
#ifdef PRISMARK_CALLGRIND
    if (ProfileStage::countsInstructions()) {
        CALLGRIND_ZERO_STATS;
        CALLGRIND_TOGGLE_COLLECT;
        work();
        CALLGRIND_TOGGLE_COLLECT;
        CALLGRIND_DUMP_STATS;
        return dumpedInstructions();
    }
#endif
    const double start = threadMilliseconds();
    work();
    return threadMilliseconds() - start;
}

} // namespace

bool instructionCountsBuilt()
{
#ifdef PRISMARK_CALLGRIND
    return true;
#else
    return false;
#endif
}

bool ProfileStage::countsInstructions()
{
#ifdef PRISMARK_CALLGRIND
    static const bool counting =
        RUNNING_ON_VALGRIND && !qEnvironmentVariableIsEmpty(kCallgrindOutVariable);
    return counting;
#else
    return false;
#endif
}

bool heapGrowthMeasured()
{
#ifdef PRISMARK_HEAP_STATISTICS
    return true;
#else
    return false;
#endif
}

ProfileStage::ProfileStage()
{
#ifdef PRISMARK_HEAP_STATISTICS
    // Memory handed back to the system and asked for again costs page faults that
    // come and go from pass to pass; kept, every pass finds the heap alike.
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
#endif
}

ProfileStage::~ProfileStage()
{
    qApp->setStyleSheet(QString());
}

void ProfileStage::addForm(std::unique_ptr<QWidget> form)
{
    forms.push_back(std::move(form));
}

void ProfileStage::addWindow(QWidget *window)
{
    applicationWindows.append(window);
}

void ProfileStage::settle()
{
    if (gallery)
        gallery->show();
    for (const auto &form : forms)
        form->show();
    settleEvents();
    // A form as large as it asks to be: a window squeezed smaller lays out and paints
    // only part of it.
    for (const auto &form : forms)
        form->resize(form->size().expandedTo(form->sizeHint()));
    settleEvents();
    resetToBaseStyle();
    for (QWidget *window : windows())
        window->ensurePolished();
    paintWindows();
}

QVector<QWidget *> ProfileStage::windows() const
{
    QVector<QWidget *> all;
    if (gallery)
        all << gallery.get();
    for (const auto &form : forms)
        all << form.get();
    for (const QPointer<QWidget> &window : applicationWindows) {
        if (window)
            all << window;
    }
    return all;
}

int ProfileStage::windowCount() const
{
    return windows().size();
}

QVector<const QObject *> ProfileStage::widgets() const
{
    // An application's dialog is its main window's child as well as a window.
    QVector<const QObject *> all;
    QSet<const QObject *> seen;
    const auto add = [&all, &seen](const QWidget *widget) {
        if (!seen.contains(widget)) {
            seen.insert(widget);
            all << widget;
        }
    };
    for (QWidget *window : windows()) {
        add(window);
        for (QWidget *child : window->findChildren<QWidget *>())
            add(child);
    }
    return all;
}

void ProfileStage::resetToBaseStyle()
{
    qApp->setStyleSheet(QString());
    if (!baseStyleInstalled)
        QApplication::setStyle(schemeUnderSheets() ? new SchemeBaseStyle
                                                   : QStyleFactory::create(kBaseStyle));
    baseStyleInstalled = true;
    settleEvents();
    // Pixmaps a style keyed to the last palette would spare the next pass its work.
    QPixmapCache::clear();
}

void ProfileStage::paintWindows()
{
    settleEvents();
    for (QWidget *window : windows()) {
        if (canvas.size() != window->size())
            canvas = QImage(window->size(), QImage::Format_RGB32);
        QPainter painter(&canvas);
        window->render(&painter, QPoint(), QRegion(),
                       QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
}

double ProfileStage::applyMilliseconds(const QString &sheet)
{
    resetToBaseStyle();
    return measured([this, &sheet] {
        qApp->setStyleSheet(sheet);
        paintWindows();
    });
}

double ProfileStage::switchMilliseconds(const QString &sheet)
{
    resetToBaseStyle();
    QApplication::setStyle(createThemeStyle(Light));
    baseStyleInstalled = false;
    paintWindows();
    QPixmapCache::clear();
    return measured([this, &sheet] {
        QApplication::setStyle(new SheetStyle(sheet, kBaseStyle));
        paintWindows();
    });
}

qint64 ProfileStage::heapGrowth(const QString &sheet)
{
    // Once before, so that what any first apply allocates for good (fonts, glyphs,
    // the style's own tables) is not counted as the sheet's.
    applyMilliseconds(sheet);
    resetToBaseStyle();
    const qint64 before = heapInUse();
    qApp->setStyleSheet(sheet);
    paintWindows();
    return heapInUse() - before;
}
