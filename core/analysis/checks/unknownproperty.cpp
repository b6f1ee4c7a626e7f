// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/qssreference.h"

namespace {
const QStringList &propertyNames()
{
    static const QStringList names = [] {
        QStringList result;
        for (const QssReference::PropertyInfo &info : QssReference::properties())
            result.append(info.name);
        return result;
    }();
    return names;
}

void checkUnknownProperties(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            if (isKnownProperty(model, entry))
                continue;
            const int since = QssReference::propertyKnownFrom(entry.property);
            if (since > 0) {
                report.at(entry.offset, int(entry.property.size()),
                          QStringLiteral("unknown property \"%1\" in Qt %2, which the sheet "
                                         "targets: it is known from Qt %3 on")
                              .arg(entry.property,
                                   QssReference::versionText(model.options.qtVersion),
                                   QssReference::versionText(since)));
            } else {
                report.at(entry.offset, int(entry.property.size()),
                          QStringLiteral("unknown property \"%1\": the toolkit ignores it")
                              .arg(entry.property));
            }
            report.suggestClosest(entry.offset, int(entry.property.size()), propertyNames());
        }
    }
}
} // namespace

const LintCheck kUnknownPropertyCheck = {
    "unknown-property",
    LintSeverity::Warning,
    true,
    0,
    "a property the toolkit's style sheet reference does not know in the targeted Qt "
    "version, nor the configuration's `properties`",
    "The toolkit ignores a declaration whose property it does not know, without a word, "
    "and so does a Qt older than the one that brought the property. A property the "
    "application reads from its sheet itself is named in the configuration's "
    "`properties`. The fix offered is the clearly closest known property, a guess.",
    "QLabel { colour: red; }",
    "QLabel { color: red; }",
    checkUnknownProperties,
    "\"properties\" names the application's own properties; \"qt\" the targeted version",
    "the property is changed to the clearly closest known one (unsafe: a guess; the author may "
    "mean a property of their own)",
};
