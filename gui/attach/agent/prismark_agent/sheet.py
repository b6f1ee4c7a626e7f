# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The author's sheet on the whole application, in place of the sheet the
application sets for itself, as the plugin's ApplicationSheet puts it (see
gui/live/applicationsheet.h): the sheet's "@palette" header goes on as the
application's palette over its own, which comes back with a sheet that has none;
sheets set on single widgets are left alone.

prismark checks every sheet before it sends it. Only the first, which has to be on
before the application's first widget is polished, is read here before prismark can
have checked it; it is put on only when the toolkit would read no file for it (see
first_sheet_text), and prismark's verdict follows once it has loaded.
"""
import os
import stat

MAX_SHEET_BYTES = 16 * 1024 * 1024  # as gui/widgetstyles/sheetstyle.h's
MAX_IMAGE_PIXELS = 64 * 1000 * 1000  # as the unsafe-resource check's
PALETTE_ROLES = ("Window", "WindowText", "Base", "AlternateBase", "Text", "Button",
                 "ButtonText", "Highlight", "HighlightedText")
# As analysis/templatelint.h's isThemeTemplatePath: a template, which prismark builds.
TEMPLATE_SUFFIX = ".qss.in"
_KEYWORD = "@palette"
_DISABLED = "Disabled."
_SPACE = " \t\n\x0b\x0c\r"
_HEX_DIGITS = frozenset("0123456789abcdefABCDEF")


def read_sheet_file(path):
    """The text of a sheet file as prismark reads it (a regular file of at most 16
    MiB, without carriage returns, ending at its first NUL), or None."""
    try:
        descriptor = os.open(path, os.O_RDONLY | os.O_NONBLOCK | os.O_CLOEXEC)
    except OSError:
        return None
    with os.fdopen(descriptor, "rb") as file:
        status = os.fstat(descriptor)
        if not stat.S_ISREG(status.st_mode) or status.st_size > MAX_SHEET_BYTES:
            return None
        data = file.read(MAX_SHEET_BYTES + 1)
    if len(data) > MAX_SHEET_BYTES:
        return None
    return data.replace(b"\r", b"").split(b"\0", 1)[0].decode("utf-8", "replace")


def _url_targets(text):
    lowered = text.lower()
    at = lowered.find("url(")
    while at >= 0:
        end = text.find(")", at)
        if end < 0:
            yield None  # unreadable here: prismark decides
            return
        yield text[at + 4:end].strip().strip("'\"")
        at = lowered.find("url(", end)


def reads_no_unsafe_file(text, image_size):
    """Whether the toolkit, given text, would open nothing that blocks it or costs
    it gigabytes: every url() names the application's resources or a regular file
    whose image is of a sensible size. image_size(path) gives (width, height)."""
    if text.lstrip().startswith("file:"):
        return False
    for target in _url_targets(text):
        if target is None:
            return False
        if target in ("", "none") or target.startswith((":", "qrc:", "file:")):
            continue
        try:
            status = os.stat(target)
        except OSError:
            continue  # a missing image draws nothing
        if not stat.S_ISREG(status.st_mode):
            return False
        if status.st_size > 0:
            width, height = image_size(target)
            if width * height > MAX_IMAGE_PIXELS:
                return False
    return True


def palette_directive(line):
    """The first "@palette NAME = #rrggbb" (or #aarrggbb) directive of one line, as
    prismark reads it (theme/palettedirectives.h): (name, colour text), or None."""
    keyword = line.find(_KEYWORD)
    while keyword >= 0:
        found = _directive_at(line, keyword + len(_KEYWORD))
        if found:
            return found
        keyword = line.find(_KEYWORD, keyword + 1)
    return None


def _skip_space(line, at):
    while at < len(line) and line[at] in _SPACE:
        at += 1
    return at


def _directive_at(line, at):
    name_start = _skip_space(line, at)
    if name_start == at:
        return None
    at = name_start
    while at < len(line) and (line[at] == "." or "a" <= line[at] <= "z" or "A" <= line[at] <= "Z"):
        at += 1
    name = line[name_start:at]
    at = _skip_space(line, at)
    if not name or at == len(line) or line[at] != "=":
        return None
    at = _skip_space(line, at + 1)
    if at == len(line) or line[at] != "#":
        return None
    digits = 0
    while digits < 8 and at + 1 + digits < len(line) and line[at + 1 + digits] in _HEX_DIGITS:
        digits += 1
    if digits < 6:
        return None
    return name, line[at:at + 1 + (8 if digits == 8 else 6)]


def palette_entries(text):
    """(disabled, role name, colour text) of every directive naming a known role."""
    entries = []
    if _KEYWORD not in text:
        return entries
    for line in text.split("\n"):
        found = palette_directive(line) if _KEYWORD in line else None
        if not found:
            continue
        name, colour = found
        disabled = name.startswith(_DISABLED)
        role = name[len(_DISABLED):] if disabled else name
        if role in PALETTE_ROLES:
            entries.append((disabled, role, colour))
    return entries


def put_on_scheme_palette(qt, application, name):
    """The palette of the colour scheme name ("light" or "dark") on the application,
    as prismark's table gives it (schemes.py, made by the build), under whatever
    palette the author's sheet puts on later; False for a scheme it does not know."""
    from prismark_agent import schemes

    roles = schemes.palettes.get(name.lower())
    if roles is None:
        return False
    QtGui = qt.QtGui
    groups = QtGui.QPalette.ColorGroup
    palette = QtGui.QPalette()
    for role_name, colours in roles.items():
        role = getattr(QtGui.QPalette.ColorRole, role_name, None)
        if role is None:  # a role this binding does not know
            continue
        for group, colour in zip((groups.Active, groups.Inactive, groups.Disabled), colours):
            palette.setColor(group, role, QtGui.QColor(colour))
    qt.QtWidgets.QApplication.setPalette(palette)
    return True


class ApplicationSheet:
    """The author's sheet on the application, put on through the binding's own
    setStyleSheet (the application's goes through takes_application_sheet)."""

    def __init__(self, qt, application, set_style_sheet):
        self.qt = qt
        self.application = application
        self.set_style_sheet = set_style_sheet
        self.installed = None  # the author's text on the application, if any
        self.own_sheet = application.styleSheet()  # -stylesheet, say
        self.own_palette = None  # while the author's palette is on
        self.own_sheet_set = 0  # how often the application set its own since

    def install(self, text):
        """Puts text on; False when it was on already."""
        self._install_palette(text)
        if text == self.installed:
            return False
        self.installed = text
        if self.application.styleSheet() != text:
            self.set_style_sheet(self.application, text)
        return True

    def take_off(self):
        """The application's own sheet and palette back, as if never attached."""
        self._install_palette("")
        if self.installed is not None:
            self.installed = None
            self.set_style_sheet(self.application, self.own_sheet)

    def put_on_for_pass(self, text, with_palette):
        """For a timed pass: text on whatever was on, its palette too when asked."""
        if with_palette:
            self._install_palette(text)
        self.installed = text
        self.set_style_sheet(self.application, text)

    def takes_application_sheet(self, text):
        """The application sets a sheet of its own: kept aside while the author's is on."""
        self.own_sheet = text
        if self.installed is None:
            return False
        self.own_sheet_set += 1
        return True

    def _install_palette(self, text):
        QtGui = self.qt.QtGui
        application = self.qt.QtWidgets.QApplication
        entries = palette_entries(text)
        if not entries:
            if self.own_palette is not None:
                application.setPalette(self.own_palette)
            self.own_palette = None
            return
        if self.own_palette is None:
            self.own_palette = application.palette()
        palette = QtGui.QPalette(self.own_palette)
        groups = QtGui.QPalette.ColorGroup
        solid = self.qt.QtCore.Qt.BrushStyle.SolidPattern
        for disabled, role, colour in entries:
            brush = QtGui.QBrush(QtGui.QColor(colour), solid)
            group = groups.Disabled if disabled else groups.All
            palette.setBrush(group, getattr(QtGui.QPalette.ColorRole, role), brush)
        if palette != application.palette():
            application.setPalette(palette)


def first_sheet_text(qt, path):
    """The author's sheet to put on before prismark has checked it, or None to wait
    for prismark's: a theme template is built by prismark, and a sheet that would
    have the toolkit read a file is checked by it first."""
    if not path or path.lower().endswith(TEMPLATE_SUFFIX):
        return None
    text = read_sheet_file(path)
    if text is None:
        return None

    def image_size(file):
        size = qt.QtGui.QImageReader(file).size()
        return max(size.width(), 0), max(size.height(), 0)

    return text if reads_no_unsafe_file(text, image_size) else None
