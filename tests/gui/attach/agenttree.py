# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""Builds a window on a Python binding from tst_widgettree's description of it, has
the agent describe it (prismark_agent.tree) and writes the message the agent would
send to standard output, once checked to read back as written by the agent's reader.
Usage: agenttree.py BINDING WINDOW-JSON PROPERTY... (the agent's folder on PYTHONPATH)."""
import importlib
import json
import sys
import time

binding = sys.argv[1]
QtCore = importlib.import_module(binding + ".QtCore")
QtWidgets = importlib.import_module(binding + ".QtWidgets")
from prismark_agent import names, protocol, session, tree  # noqa: E402

application = QtWidgets.QApplication(sys.argv[:1])
window = None
for description in json.loads(sys.argv[2]):
    widget = getattr(QtWidgets, description["class"])()
    for name, value in description.get("properties", {}).items():
        widget.setProperty(name, value)
    if window is None:
        window = widget
        continue
    parent_name = description["parent"]
    parent = window if window.objectName() == parent_name else window.findChild(
        QtWidgets.QWidget, parent_name)
    if parent.layout() is None:
        QtWidgets.QVBoxLayout(parent)
    parent.layout().addWidget(widget)
window.show()
window.activateWindow()
deadline = time.monotonic() + 30  # a guard only: it waits for the window to be active
while not window.isActiveWindow() and time.monotonic() < deadline:
    application.processEvents(QtCore.QEventLoop.ProcessEventsFlag.AllEvents, 50)

fields = tree.describe(session.Binding(binding), [window], sys.argv[3:])
line = protocol.encode(names.treeKind, fields)
read = protocol.take_messages(bytearray(line))
expected = json.loads(line)
del expected["kind"]
if read != [(names.treeKind, expected)]:
    sys.exit("the agent's reader reads back another tree")
sys.stdout.buffer.write(line)
