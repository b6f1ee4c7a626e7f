# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""Waits for the application to import a Qt binding's QtWidgets, and for it to make
its QApplication, without importing anything of Qt itself: which binding the
application runs on is only known once it imports one.

The binding's module is loaded as the interpreter would load it; once it is, its
QApplication gets two methods of the agent's in front of its own: the constructor,
after which the session attaches (prismark_agent.session), and setStyleSheet, so that
the sheet the application sets for itself is kept aside while the author's is on.
"""
import sys

BINDINGS = ("PyQt5", "PyQt6", "PySide2", "PySide6")
_WIDGETS_MODULES = {binding + ".QtWidgets": binding for binding in BINDINGS}


class _QtWidgetsFinder:
    """An import finder that answers for no module itself: it has the interpreter's
    own finders find a binding's QtWidgets, and patches the module once loaded."""

    def find_spec(self, name, path=None, target=None):
        binding = _WIDGETS_MODULES.get(name)
        if binding is None:
            return None
        for finder in sys.meta_path:
            if finder is self or not hasattr(finder, "find_spec"):
                continue
            found = finder.find_spec(name, path, target)
            if found is not None and found.loader is not None:
                _patch_after_loading(found.loader, binding)
                return found
        return None


_finder = _QtWidgetsFinder()
_patched = []  # (class, attribute, what was in its dictionary or None)
_session = None
# The Qt build of the plugin left out, when it was (see below).
plugin_left_out = None


def install():
    if _finder not in sys.meta_path:
        sys.meta_path.insert(0, _finder)


def _patch_after_loading(loader, binding):
    load = loader.exec_module

    def exec_module(module):
        load(module)
        _leave_out_a_plugin_that_cannot_load(binding)
        _patch(module.QApplication, binding)

    loader.exec_module = exec_module


def _leave_out_a_plugin_that_cannot_load(binding):
    """With both ways open (prismark's --attach auto), the plugin is left out of an
    application whose Qt is not the plugin's very build, before the application makes
    the QApplication that would load it: it would decline, or (another major version)
    have the toolkit warn about it."""
    import os
    from prismark_agent import names

    environ = os.environ
    built_for = environ.get(names.testBuiltForVariable) or environ.get(names.pluginQtVariable)
    running = sys.modules[binding + ".QtCore"].qVersion()
    plugin_in = environ.get(names.platformThemeVariable) == names.themeKey
    if not plugin_in or not built_for or running == built_for:
        return
    global plugin_left_out
    plugin_left_out = built_for
    theme = environ.get(names.forwardThemeVariable)
    if theme:
        environ[names.platformThemeVariable] = theme
    else:
        environ.pop(names.platformThemeVariable, None)
    # The launcher put the plugin's folder first: the toolkit reads every plugin of a
    # folder it is given, and warns about one of another major version.
    rest = environ.get(names.pluginPathVariable, "").split(":")[1:]
    if rest:
        environ[names.pluginPathVariable] = ":".join(rest)
    else:
        environ.pop(names.pluginPathVariable, None)


def _replace(cls, attribute, replacement):
    _patched.append((cls, attribute, cls.__dict__.get(attribute)))
    setattr(cls, attribute, replacement)


def unpatch():
    """Gives QApplication its own methods back and stops watching imports."""
    while _patched:
        cls, attribute, own = _patched.pop()
        if own is None:
            delattr(cls, attribute)
        else:
            setattr(cls, attribute, own)
    if _finder in sys.meta_path:
        sys.meta_path.remove(_finder)


def _patch(application_class, binding):
    construct = application_class.__init__
    set_style_sheet = application_class.setStyleSheet

    def __init__(self, *args, **kwargs):
        construct(self, *args, **kwargs)
        global _session
        if _session is None:
            _session = _attach(self, binding, set_style_sheet)

    def setStyleSheet(self, text):
        if not _session or not _session.takes_application_sheet(text):
            set_style_sheet(self, text)

    _replace(application_class, "__init__", __init__)
    _replace(application_class, "setStyleSheet", setStyleSheet)


def _attach(application, binding, set_style_sheet):
    try:
        from prismark_agent import session

        return session.attach(application, binding, set_style_sheet, unpatch, plugin_left_out)
    except Exception as error:  # the application runs on, unattached
        sys.stderr.write("prismark agent: not attaching: %r\n" % error)
        unpatch()
        return False
