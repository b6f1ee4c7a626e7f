// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

class QObject;
class QWidget;

// The widgets a profile styles, each a window of its own shown offscreen: the
// gallery (the window prismark-preview shows) and the author's forms; or, inside
// the author's application, the windows it showed itself. Every pass
// starts from the same state, the plain base style without a sheet, so that one
// pass leaves nothing behind for the next.
class ProfileStage
{
public:
    ProfileStage();
    ~ProfileStage();

    // The gallery, styled as a window of its own. Defined in a file of its own, so
    // that the stage inside an author's application does not link the gallery.
    void addGallery();

    // A Designer form (loaded by the caller: the forms library is above this one),
    // styled as a window of its own.
    void addForm(std::unique_ptr<QWidget> form);
    // A window of the application the stage runs in, as it is: the stage neither
    // shows nor resizes it (that would run the application's own handlers), and
    // leaves it be once the application deletes it.
    void addWindow(QWidget *window);
    // Shows every window and polishes every widget once, outside any measurement.
    void settle();

    // Whether passes are measured in instructions, counted by callgrind (the program
    // runs under valgrind with the variable below naming its output), rather than in
    // the main thread's processor time.
    static bool countsInstructions();

    QVector<const QObject *> widgets() const;
    int windowCount() const;

    // Milliseconds (or instructions) to set the sheet on the application, polish every
    // widget and paint every window once, from the plain base style.
    double applyMilliseconds(const QString &sheet);
    // The same from the built-in Light theme, switching as the gallery switches to an
    // author's sheet (its @palette header included).
    double switchMilliseconds(const QString &sheet);
    // Bytes the heap holds once the sheet is applied, over the plain base style.
    qint64 heapGrowth(const QString &sheet);

private:
    void resetToBaseStyle();
    void paintWindows();
    QVector<QWidget *> windows() const;

    std::unique_ptr<QWidget> gallery;
    std::vector<std::unique_ptr<QWidget>> forms;
    QVector<QPointer<QWidget>> applicationWindows;
    QImage canvas;
    bool baseStyleInstalled = false;
};

// Heap statistics exist where the C library offers them.
bool heapGrowthMeasured();

// The file callgrind writes its counts to, for a stage that counts instructions.
constexpr char kCallgrindOutVariable[] = "PRISMARK_PROFILE_CALLGRIND_OUT";
// Whether this build can count instructions (it found valgrind's callgrind.h).
bool instructionCountsBuilt();
