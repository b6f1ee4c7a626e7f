// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/tokenworkspace.h"
#include "prismark-lsp/server/analysisscheduler.h"
#include "prismark-lsp/server/opendocument.h"

// The theme sources around an open document as the editor holds them: an open
// document's text stands for its file, whose disk copy may be older.

// A theme template or a token file, where token paths are looked up.
bool isTokenDocument(const OpenDocument &document);
// The token features' workspace around document.
TokenWorkspace tokenWorkspace(const OpenDocuments &open, const OpenDocument &document);
// What the analysis of a theme source reads besides it: for a token file, the
// templates that name it; for a template, the open token files.
TokenContext tokenContext(const OpenDocuments &open, const OpenDocument &document);
