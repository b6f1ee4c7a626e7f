// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/plainlauncher.h"

int main(int argc, char *argv[])
{
    return runPlainLauncher(argc, argv);
}
