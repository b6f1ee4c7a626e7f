// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/templatecontrast.h"

#include "analysis/checkregistry.h"
#include "analysis/checks/checks.h"
#include "analysis/contrastcascade.h"
#include "analysis/oklch.h"
#include "analysis/stylesheetlint.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>

ContrastLevel variantContrastLevel(ContrastLevel asked, const ThemeBuild &build,
                                   const BuiltSheet &sheet)
{
    if (sheet.highContrast)
        return ContrastLevel::AAA;
    return std::max(asked, build.contrastLevel);
}

bool TemplateContrastFix::fixed() const
{
    return build.diagnostics.isEmpty() && build.usageError.isEmpty() &&
           std::all_of(variants.begin(), variants.end(),
                       [](const VariantContrastFix &fix) { return fix.unfixable.isEmpty(); });
}

namespace {
QString contrastCheckId()
{
    return QString::fromLatin1(kContrastCheck.id);
}

// Only the contrast check, at these ratios.
LintOptions contrastOptions(ContrastLevel level, double text, double nonText)
{
    LintOptions options;
    const QString contrast = contrastCheckId();
    for (const QString &id : lintCheckIds()) {
        if (id != contrast || level == ContrastLevel::None)
            options.disabledChecks << id;
    }
    options.textContrast = text;
    options.outlineContrast = nonText;
    options.builtFromTemplate = true;
    return options;
}

LintOptions levelOptions(ContrastLevel level)
{
    return contrastOptions(level, textContrastMinimum(level), nonTextContrastMinimum(level));
}

// A pair the check found wanting, rather than its note on what it could not measure.
bool isFailingPair(const LintDiagnostic &diagnostic)
{
    return diagnostic.check == contrastCheckId() && diagnostic.severity != LintSeverity::Note;
}

// The pairs a finding tells, a key each that holds whatever colours a trial gives
// them: its line, what it judges and one selector, since which selectors share a
// finding changes with their colours. A palette pair is its words without colours.
QStringList pairKeys(const LintDiagnostic &diagnostic)
{
    static const QRegularExpression selectors(QStringLiteral(" in \"(.*)\"(?=: | \\()"));
    static const QRegularExpression changing(
        QStringLiteral("#[0-9a-fA-F]{6,8}\\b|\\d+\\.\\d+ : 1"));
    const QString prefix = QString::number(diagnostic.line) + QLatin1Char('|') +
                           diagnostic.message.section(QLatin1Char(' '), 0, 0) + QLatin1Char('|');
    const QRegularExpressionMatch match = selectors.match(diagnostic.message);
    if (!match.hasMatch())
        return {prefix + QString(diagnostic.message).replace(changing, QStringLiteral("*"))};
    QStringList keys;
    for (const QString &selector : match.captured(1).split(QStringLiteral("\", \"")))
        keys << prefix + selector;
    return keys;
}

// One finding however many of its selectors' keys name it.
QString findingIdentity(const LintDiagnostic &finding)
{
    return QStringLiteral("%1:%2:%3|%4")
        .arg(finding.file)
        .arg(finding.line)
        .arg(finding.column)
        .arg(finding.message);
}

// The ratio the check measured, as ratioText wrote it.
double pairRatio(const LintDiagnostic &diagnostic)
{
    static const QRegularExpression ratio(QStringLiteral("contrast (\\d+\\.\\d+) : 1"));
    const QRegularExpressionMatch match = ratio.match(diagnostic.message);
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

QString tokenColourText(const QColor &colour)
{
    return colour.alpha() == 255 ? colour.name()
                                 : colour.name() + QString::asprintf("%02x", colour.alpha());
}

QJsonObject withToken(QJsonObject group, const QStringList &path, const QJsonObject &token)
{
    if (path.size() == 1) {
        group.insert(path.first(), token);
        return group;
    }
    group.insert(path.first(), withToken(group.value(path.first()).toObject(), path.mid(1), token));
    return group;
}

QByteArray tokenFileText(const QMap<QString, QColor> &colours,
                         const QHash<QString, QString> &descriptions = {})
{
    QJsonObject root;
    for (auto it = colours.cbegin(); it != colours.cend(); ++it) {
        QJsonObject token{{QStringLiteral("$type"), QStringLiteral("color")},
                          {QStringLiteral("$value"), tokenColourText(it.value())}};
        const QString description = descriptions.value(it.key());
        if (!description.isEmpty())
            token.insert(QStringLiteral("$description"), description);
        root = withToken(root, it.key().split(QLatin1Char('.')), token);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

struct Pair
{
    LintDiagnostic finding; // told at its tokens
    QStringList tokens;     // the judged colour's, then what it was judged against
    double ratio = 0;
};

using Pairs = QMap<QString, Pair>;

// One variant built with trial colours for some tokens and its pairs judged.
class VariantTrial
{
public:
    VariantTrial(const QString &path, const ThemeBuildOptions &options, const QString &variant)
        : path(path)
        , options(options)
        , variant(variant)
    {
        this->options.variants = QStringList{variant};
        this->options.sourceIconUrls = true;
    }

    // The pairs below text and nonText; null when the build fails.
    std::optional<Pairs> pairs(const QMap<QString, QColor> &colours, double text,
                               double nonText) const
    {
        const ThemeBuild build = buildWith(colours);
        if (!build.ok() || build.sheets.isEmpty())
            return std::nullopt;
        const BuiltSheet &sheet = build.sheets.first();
        Pairs found;
        const QVector<LintDiagnostic> diagnostics =
            lintStyleSheet(sheet.text, path, contrastOptions(ContrastLevel::AA, text, nonText));
        for (const LintDiagnostic &diagnostic : diagnostics) {
            if (!isFailingPair(diagnostic))
                continue;
            Pair pair;
            pair.finding = mapToSources(diagnostic, sheet.map);
            pair.finding.severity = LintSeverity::Error;
            pair.finding.variants = QStringList{variant};
            pair.tokens = judgedValueTokens(diagnostic, sheet.map);
            pair.ratio = pairRatio(diagnostic);
            for (const QString &key : pairKeys(diagnostic))
                found.insert(key, pair);
        }
        return found;
    }

    QColor tokenColour(const QMap<QString, QColor> &colours, const QString &token) const
    {
        const ThemeBuild build = buildWith(colours);
        const TokenValue *value =
            build.sheets.isEmpty() ? nullptr : build.sheets.first().tokens.value(token);
        return value && value->isColour() ? value->colour : QColor();
    }

private:
    ThemeBuild buildWith(const QMap<QString, QColor> &colours) const
    {
        ThemeBuildOptions trial = options;
        if (!colours.isEmpty())
            trial.overrideTokens.insert(variant, QString::fromUtf8(tokenFileText(colours)));
        return buildTheme(path, trial);
    }

    QString path;
    ThemeBuildOptions options;
    QString variant;
};

struct Candidate
{
    QString token;
    QColor colour;
    double change = 0; // of OKLCH lightness
    int side = 0;      // 0 the judged colour (the text), 1 what it was judged against
};

// Every pair is judged when nothing can reach this ratio.
constexpr double kEveryPair = 22;
// Halvings of the lightness interval: finer than an 8-bit channel's step.
constexpr int kLightnessSteps = 11;
// Rounds of one change each; a theme has far fewer failing pairs.
constexpr int kMaxRounds = 200;

// The pair's finding, saying why no token's change makes it pass; blocker, when it
// has a message, is a pair such a change would fail.
LintDiagnostic unfixableFinding(const Pair &pair, const LintDiagnostic &blocker)
{
    LintDiagnostic finding = pair.finding;
    QStringList tokens;
    for (const QString &token : pair.tokens) {
        if (!token.isEmpty() && !tokens.contains(QLatin1Char('{') + token + QLatin1Char('}')))
            tokens << QLatin1Char('{') + token + QLatin1Char('}');
    }
    if (tokens.isEmpty())
        finding.message += QStringLiteral(
            ": no token gives its colours (a literal, the toolkit's default, or a function of "
            "several tokens), so no token's change makes it pass");
    else
        finding.message += QStringLiteral(": no lightness of %1 passes without failing another "
                                          "pair")
                               .arg(tokens.join(QLatin1String(" or ")));
    if (!blocker.message.isEmpty())
        finding.message += QStringLiteral(" (passing, it would fail %1)")
                               .arg(blocker.message.section(QStringLiteral(": contrast"), 0, 0));
    return finding;
}

class VariantFixer
{
public:
    VariantFixer(const VariantTrial &trial, ContrastLevel level)
        : trial(trial)
        , text(textContrastMinimum(level))
        , nonText(nonTextContrastMinimum(level))
    {}

    VariantContrastFix run(const QString &variant, ContrastLevel level)
    {
        VariantContrastFix fix;
        fix.variant = variant;
        fix.level = level;
        std::optional<Pairs> failing = trial.pairs(colours, text, nonText);
        if (!failing)
            return fix;
        const Pairs first = *failing;
        QSet<QString> unfixable;
        for (int round = 0; round < kMaxRounds; ++round) {
            const auto next =
                std::find_if(failing->keyBegin(), failing->keyEnd(),
                             [&](const QString &key) { return !unfixable.contains(key); });
            if (next == failing->keyEnd())
                break;
            if (!improve(*next, &*failing))
                unfixable.insert(*next);
        }
        const std::optional<Pairs> measured = trial.pairs(colours, kEveryPair, kEveryPair);
        QHash<QString, int> told;
        for (auto it = first.cbegin(); it != first.cend(); ++it) {
            const double after =
                measured && measured->contains(it.key()) ? measured->value(it.key()).ratio : 0;
            const QString identity = findingIdentity(it.value().finding);
            const auto known = told.constFind(identity);
            if (known != told.constEnd()) {
                double &least = fix.pairs[*known].after;
                if (after > 0 && (least == 0 || after < least))
                    least = after;
                continue;
            }
            told.insert(identity, int(fix.pairs.size()));
            fix.pairs.append({it.value().finding, it.value().ratio, after});
        }
        QSet<QString> toldUnfixable;
        for (const QString &key : qAsConst(unfixable)) {
            // Told where the author wrote it, not where a trial colour stood.
            const Pair pair = first.contains(key) ? first.value(key) : failing->value(key);
            if (!toldUnfixable.contains(findingIdentity(pair.finding))) {
                toldUnfixable.insert(findingIdentity(pair.finding));
                fix.unfixable.append(unfixableFinding(pair, blockers.value(key)));
            }
        }
        sortLintDiagnostics(fix.unfixable);
        QHash<QString, QString> descriptions;
        for (auto it = colours.cbegin(); it != colours.cend(); ++it) {
            fix.changes.append({it.key(), originals.value(it.key()), it.value()});
            descriptions.insert(it.key(), QStringLiteral("%1 before --fix-contrast %2")
                                              .arg(tokenColourText(originals.value(it.key())),
                                                   contrastLevelName(level)));
        }
        if (!colours.isEmpty())
            fix.tokenFile = tokenFileText(colours, descriptions);
        return fix;
    }

private:
    bool passesWith(const QString &key, const QString &token, const QColor &colour) const
    {
        QMap<QString, QColor> tried = colours;
        tried.insert(token, colour);
        const std::optional<Pairs> failing = trial.pairs(tried, text, nonText);
        return failing && !failing->contains(key);
    }

    // The least move of token's lightness towards extreme that makes the pair pass.
    std::optional<Candidate> search(const QString &key, const QString &token, int side,
                                    double extreme) const
    {
        const QColor current =
            colours.contains(token) ? colours.value(token) : trial.tokenColour(colours, token);
        if (!current.isValid())
            return std::nullopt;
        // Hue and chroma always from the author's colour, so that steps do not drift.
        const QColor authored = originals.value(token, current);
        const double start = oklchFromColour(current).lightness;
        if (std::abs(extreme - start) < 1e-6 ||
            !passesWith(key, token, withOklchLightness(authored, extreme)))
            return std::nullopt;
        double failing = start;
        double passing = extreme;
        for (int step = 0; step < kLightnessSteps; ++step) {
            const double middle = (failing + passing) / 2;
            if (passesWith(key, token, withOklchLightness(authored, middle)))
                passing = middle;
            else
                failing = middle;
        }
        return Candidate{token, withOklchLightness(authored, passing), std::abs(passing - start),
                         side};
    }

    // Takes the smallest change that makes the pair at key pass and no other fail; at
    // the first depth, a change that fails other pairs is kept when each of them can
    // then pass by a change of its own other token.
    bool improve(const QString &key, Pairs *failing, bool followUp = true)
    {
        const Pair pair = failing->value(key);
        QVector<Candidate> candidates;
        for (int side = 0; side < pair.tokens.size() && side < 2; ++side) {
            const QString token = pair.tokens.at(side);
            if (token.isEmpty() || pinned.contains(token) ||
                (side == 1 && token == pair.tokens.first()))
                continue;
            for (const double extreme : {0.0, 1.0}) {
                if (const auto found = search(key, token, side, extreme))
                    candidates.append(*found);
            }
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate &a, const Candidate &b) {
                             return a.change != b.change ? a.change < b.change : a.side < b.side;
                         });
        for (const Candidate &candidate : qAsConst(candidates)) {
            QMap<QString, QColor> tried = colours;
            tried.insert(candidate.token, candidate.colour);
            std::optional<Pairs> after = trial.pairs(tried, text, nonText);
            if (!after || after->contains(key))
                continue;
            QStringList broken;
            for (auto it = after->keyBegin(); it != after->keyEnd(); ++it) {
                if (!failing->contains(*it))
                    broken << *it;
            }
            if (broken.isEmpty()) {
                take(candidate, tried);
                *failing = *after;
                return true;
            }
            if (!blockers.contains(key))
                blockers.insert(key, after->value(broken.first()).finding);
            if (followUp && repairs(candidate, tried, broken, &*after)) {
                *failing = *after;
                return true;
            }
        }
        return false;
    }

    // Takes candidate and makes each of the broken pairs pass again without moving
    // its token; everything as it was, and false, when one cannot.
    bool repairs(const Candidate &candidate, const QMap<QString, QColor> &tried,
                 const QStringList &broken, Pairs *after)
    {
        const QMap<QString, QColor> keptColours = colours;
        const QHash<QString, QColor> keptOriginals = originals;
        take(candidate, tried);
        pinned.insert(candidate.token);
        bool repaired = true;
        for (const QString &other : broken) {
            if (after->contains(other) && !improve(other, after, false)) {
                repaired = false;
                break;
            }
        }
        pinned.remove(candidate.token);
        if (!repaired) {
            colours = keptColours;
            originals = keptOriginals;
        }
        return repaired;
    }

    void take(const Candidate &candidate, const QMap<QString, QColor> &tried)
    {
        if (!originals.contains(candidate.token))
            originals.insert(candidate.token, trial.tokenColour(colours, candidate.token));
        colours = tried;
    }

    const VariantTrial &trial;
    const double text;
    const double nonText;
    QMap<QString, QColor> colours;
    QHash<QString, QColor> originals;
    // For a pair, one that a change making it pass would fail.
    QHash<QString, LintDiagnostic> blockers;
    // Tokens a repair may not move: the change it repairs after.
    QSet<QString> pinned;
};
} // namespace

TemplateLint checkTemplateContrast(const QString &path, ContrastLevel asked,
                                   const ThemeBuildOptions &options)
{
    ThemeBuildOptions buildOptions = options;
    buildOptions.sourceIconUrls = true;
    const ThemeBuild build = buildTheme(path, buildOptions);
    TemplateLint result = lintBuiltTemplate(build, path, [&](const BuiltSheet &sheet) {
        return levelOptions(variantContrastLevel(asked, build, sheet));
    });
    if (!build.ok())
        return result;
    result.diagnostics.erase(
        std::remove_if(result.diagnostics.begin(), result.diagnostics.end(),
                       [](const LintDiagnostic &d) { return !isFailingPair(d); }),
        result.diagnostics.end());
    for (LintDiagnostic &diagnostic : result.diagnostics)
        diagnostic.severity = LintSeverity::Error;
    return result;
}

TemplateContrastFix fixTemplateContrast(const QString &path, ContrastLevel asked,
                                        const ThemeBuildOptions &options)
{
    TemplateContrastFix result;
    ThemeBuildOptions buildOptions = options;
    buildOptions.sourceIconUrls = true;
    const ThemeBuild build = buildTheme(path, buildOptions);
    if (!build.ok()) {
        result.build = lintBuiltTemplate(build, path, {});
        return result;
    }
    for (const BuiltSheet &sheet : build.sheets) {
        const ContrastLevel level = variantContrastLevel(asked, build, sheet);
        if (level == ContrastLevel::None)
            continue;
        const VariantTrial trial(path, options, sheet.variant);
        result.variants.append(VariantFixer(trial, level).run(sheet.variant, level));
    }
    return result;
}

QStringList contrastFixLines(const VariantContrastFix &fix)
{
    QStringList lines;
    const QString variant =
        QStringLiteral("%1 (%2)").arg(fix.variant, contrastLevelName(fix.level));
    for (const ContrastTokenChange &change : fix.changes)
        lines << QStringLiteral("%1: {%2} %3 -> %4")
                     .arg(variant, change.token, colourText(change.before),
                          colourText(change.after));
    for (const ContrastPairChange &pair : fix.pairs)
        lines << QStringLiteral("%1: %2:%3:%4: %5 -> %6: %7")
                     .arg(variant, pair.finding.file)
                     .arg(pair.finding.line)
                     .arg(pair.finding.column)
                     .arg(ratioText(pair.before),
                          pair.after > 0 ? ratioText(pair.after) : QStringLiteral("passes"),
                          pair.finding.message);
    return lines;
}
