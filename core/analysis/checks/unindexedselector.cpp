// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/matchwork.h"

namespace {
// The toolkit files each rule under its rightmost compound's #id or type name and
// hands a widget only the rules filed under its own; a rule filed under neither is
// tried on every widget at every polish: start-up, each theme switch, each widget
// made later.
void checkUnindexedSelector(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        for (const SheetSelector &selector : rule.selectors) {
            if (toolkitIndexOf(selector) != ToolkitIndex::Unindexed)
                continue;
            report.at(selector.offset, selector.text.size(),
                      QStringLiteral("\"%1\" names no type or #id on its right: the toolkit "
                                     "tries it on every widget")
                          .arg(rightmostCompoundText(selector)));
        }
    }
}
} // namespace

const LintCheck kUnindexedSelectorCheck = {
    "unindexed-selector",
    LintSeverity::Note,
    true,
    0,
    "a selector whose rightmost part names no type or `#id`, which the toolkit tries on "
    "every widget",
    "The toolkit looks a widget's rules up by its object name and the names of its class and "
    "base classes, under the type or #id of each selector's rightmost compound. A selector "
    "ending in `*`, an attribute alone (`[variant=\"primary\"]`) or a state alone (`:hover`) "
    "is filed under neither, so it is tried on every widget each time widgets are polished: "
    "at start-up, at every theme switch, for every widget made later. Measured with "
    "prismark-profile on the gallery's 345 widgets, `[variant=\"primary\"]` was tried 345 "
    "times for 11 matches, `QPushButton[variant=\"primary\"]` 27 times for 5. The work grows "
    "with widgets times such rules, though each try is quick: on a form of 2,000 labels, "
    "thirty attribute-only rules that matched nothing (61,230 tries) stayed within the "
    "profile's noise of a few milliseconds. What such a rule matches costs more: where it "
    "matches everything, as `*:hover` does, every widget is restyled whenever the pointer or "
    "the focus moves over it. Name the type the rule is for, which also keeps it off widgets "
    "it was not meant for. No fix is offered: which types an attribute is set on is the "
    "author's knowledge, and `QWidget[...]` would narrow nothing (every widget is one) while "
    "raising the selector's specificity.",
    "[variant=\"primary\"] { color: #1a5fb4; }",
    "QPushButton[variant=\"primary\"] { color: #1a5fb4; }",
    checkUnindexedSelector,
};
