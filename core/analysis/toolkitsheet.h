// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGui/private/qcssparser_p.h>

#include <deque>

// The toolkit's own parse of a sheet, behind SheetModel. Only the analysis includes
// this header: the toolkit's parser types are private to it and may change with
// any release, so nothing outside analysis/ is built on them.
struct ToolkitSheet
{
    QCss::Parser parser;
    // What the model's selectors and declarations point into; a deque, so the
    // pointers stay valid while the walk appends.
    std::deque<QCss::Selector> selectors;
    std::deque<QCss::Declaration> declarations;
};
