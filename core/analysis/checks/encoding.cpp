// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "theme/stylesheetloader.h"

#include <algorithm>

namespace {
// Length of the valid UTF-8 sequence at i, or 0 when the byte starts none.
int utf8SequenceLength(const QByteArray &bytes, int i)
{
    const auto byte = [&bytes](int at) { return uchar(bytes.at(at)); };
    const uchar lead = byte(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint minimum = 0;
    uint code = 0;
    if ((lead & 0xe0) == 0xc0) {
        length = 2, minimum = 0x80, code = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, minimum = 0x800, code = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

void checkEncoding(const SheetModel &context, CheckReporter &report)
{
    const QByteArray &bytes = context.bytes;
    const auto lineAndColumn = [&bytes](int at, int *line, int *column) {
        const int lineStart = at == 0 ? 0 : bytes.lastIndexOf('\n', at - 1) + 1;
        *line = bytes.left(at).count('\n') + 1;
        const QString prefix = QString::fromUtf8(bytes.mid(lineStart, at - lineStart));
        // Characters, as every other column counts them: a surrogate pair is one.
        *column = int(prefix.size() - std::count_if(prefix.cbegin(), prefix.cend(),
                                                    [](QChar c) { return c.isLowSurrogate(); })) +
                  1;
    };
    // UTF-32's marks first: little-endian UTF-32 begins with UTF-16's.
    const bool utf32 = bytes.startsWith(QByteArray("\xff\xfe\0\0", 4)) ||
                       bytes.startsWith(QByteArray("\0\0\xfe\xff", 4));
    if (utf32 || bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        report.atLine(1, 1, LintSeverity::Error,
                      QStringLiteral("%1 byte-order mark: the program reads style sheets "
                                     "as UTF-8; save the file as UTF-8")
                          .arg(utf32 ? QStringLiteral("UTF-32") : QStringLiteral("UTF-16")));
        return;
    }
    // The loader's text ends at a NUL: the bytes after it are not the sheet's.
    const int validEnd = styleSheetTextEnd(bytes);
    int invalidCount = 0;
    int firstInvalid = -1;
    for (int i = 0; i < validEnd;) {
        const int length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            if (firstInvalid < 0)
                firstInvalid = i;
            ++invalidCount;
            ++i;
        } else {
            i += length;
        }
    }
    int line = 1, column = 1;
    if (firstInvalid >= 0) {
        lineAndColumn(firstInvalid, &line, &column);
        report.atLine(line, column, 1,
                      QStringLiteral("not valid UTF-8 (byte 0x%1; %2 invalid bytes in all): "
                                     "the program shows each as U+FFFD")
                          .arg(uchar(bytes.at(firstInvalid)), 2, 16, QLatin1Char('0'))
                          .arg(invalidCount));
    }
    if (validEnd < bytes.size()) {
        const int nul = validEnd;
        lineAndColumn(nul, &line, &column);
        report.atLine(line, column, 1,
                      QStringLiteral("NUL byte: the program's loader ends the style sheet here, "
                                     "%1 bytes after it are ignored")
                          .arg(bytes.size() - nul - 1));
    }
    const int cr = context.text.indexOf(QLatin1Char('\r'));
    if (cr >= 0) {
        report.at(cr, 1,
                  QStringLiteral("line ends with CR alone (%1 in all): the program splits "
                                 "lines at LF only, so @palette directives on these lines "
                                 "count as one line")
                      .arg(context.text.count(QLatin1Char('\r'))));
    }
}
} // namespace

const LintCheck kEncodingCheck = {
    "encoding",
    LintSeverity::Warning,
    true,
    0,
    "UTF-16 byte-order mark (an error); invalid UTF-8; a NUL byte (the loader ends the sheet "
    "there); CR-only line ends",
    "The program reads a style sheet as UTF-8 and ends it at the first NUL byte. A file saved "
    "as UTF-16, bytes that are no UTF-8, a NUL or line ends of a lone CR make the toolkit see "
    "other text than the editor shows: rules after a NUL vanish, and @palette lines joined by "
    "CR count as one. Save the file as UTF-8 with LF or CR LF line ends.",
    "QLabel { color: red; }\rQLabel { color: blue; }\r",
    "QLabel { color: red; }\nQLabel { color: blue; }\n",
    checkEncoding,
};
