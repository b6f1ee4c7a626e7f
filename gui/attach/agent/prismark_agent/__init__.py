# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""Prismark's agent for Python applications on Qt bindings of their own.

prismark-live, prismark-shot and prismark-profile get into a C++ or Python application
through a platform-theme plugin, which the toolkit loads only when it is the very
build the plugin was made for. A binding installed with pip (PyQt5, PyQt6, PySide6)
brings a Qt build of its own, so for a Python application this agent does the same
work in Python, through the binding the application imports: it needs nothing but
the standard library and that binding. It enters through the interpreter's start-up
(sitecustomize.py beside this package), and hook.py, session.py, sheet.py,
windows.py and protocol.py hold its parts; names.py is made by the build from the
names prismark's C++ uses.
"""
