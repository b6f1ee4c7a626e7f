# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""Prismark's way into a Python application it was asked to attach to.

prismark-live, prismark-shot and prismark-profile start the application with this
folder first on PYTHONPATH, so the interpreter imports this module at start-up as its
`sitecustomize`: nothing of the application or of its environment is changed on disk.
When the application was started to be attached, it hooks the Qt bindings' import
(see prismark_agent.hook); in every case it then runs the `sitecustomize` it stands in
front of (the application's own, or the distribution's), as the interpreter would have.
"""
import os
import sys


def _run_the_next_sitecustomize():
    # The interpreter's own path finder, as site used it; importlib's helpers would
    # cost the start-up more than the rest of the agent.
    finder = next(entry for entry in sys.meta_path if getattr(entry, "__name__", "") == "PathFinder")
    here = os.path.dirname(os.path.abspath(__file__))
    path = [entry for entry in sys.path if os.path.abspath(entry or os.curdir) != here]
    found = finder.find_spec("sitecustomize", path)
    if found is None or found.loader is None:
        return
    module = type(sys)("sitecustomize")
    module.__spec__, module.__loader__, module.__package__ = found, found.loader, ""
    if found.has_location:
        module.__file__, module.__cached__ = found.origin, found.cached
    sys.modules["sitecustomize"] = module
    # Its errors are reported by the interpreter's start-up, as they would have been.
    found.loader.exec_module(module)


def _hook_when_attaching():
    from prismark_agent import names

    if os.environ.get(names.serverVariable):
        from prismark_agent import hook

        hook.install()


try:
    _hook_when_attaching()
except Exception as error:  # the application starts, attached or not
    sys.stderr.write("prismark agent: not attaching: %r\n" % error)
_run_the_next_sitecustomize()
