# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""What the agent and prismark say to each other: one JSON object a line, with its
"kind", over the local socket prismark listens on (as gui/attach/attachprotocol.h
says it for the plugin). The reader keeps to the same rules as prismark's own: a
line that is no message is dropped, and whatever is buffered beyond the longest line
is dropped with it; only prismark's own requests come this way, so its longest line
is far shorter than that of prismark's reader, which reads widget trees.
"""
import json
import socket

# A message from prismark is some hundreds of bytes; anything near this is not from it.
MAX_LINE_BYTES = 64 * 1024


def encode(kind, fields):
    message = dict(fields)
    message["kind"] = kind
    return json.dumps(message, separators=(",", ":")).encode() + b"\n"


def take_messages(buffer):
    """The complete lines off the front of buffer (a bytearray, changed in place),
    each read as a (kind, fields) pair; lines that are no message are left out."""
    messages = []
    end = buffer.find(b"\n")
    start = 0
    while end >= 0:
        line = bytes(buffer[start:end])
        start = end + 1
        end = buffer.find(b"\n", start)
        try:
            fields = json.loads(line)
        except (ValueError, RecursionError):
            continue
        if not isinstance(fields, dict):
            continue
        kind = fields.pop("kind", None)
        if isinstance(kind, str) and kind:
            messages.append((kind, fields))
    del buffer[:start]
    if len(buffer) > MAX_LINE_BYTES:
        del buffer[:]
    return messages


class Connection:
    """The agent's end of the socket: messages out, and those that came in."""

    def __init__(self, path):
        self.socket = None
        self.buffer = bytearray()
        if not path:
            return
        try:
            self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            self.socket.connect(path)
        except OSError:
            self.close()

    def fileno(self):
        return self.socket.fileno() if self.socket else -1

    def send(self, kind, fields):
        if not self.socket:
            return False
        try:
            self.socket.sendall(encode(kind, fields))
            return True
        except OSError:
            self.close()
            return False

    def receive(self, wait):
        """Reads what has come, waiting for it when asked to; the messages complete
        so far, or None once prismark has gone."""
        if not self.socket:
            return None
        try:
            self.socket.setblocking(wait)
            chunk = self.socket.recv(MAX_LINE_BYTES)
        except BlockingIOError:
            return []
        except OSError:
            chunk = b""
        if not chunk:
            self.close()
            return None
        self.buffer += chunk
        return take_messages(self.buffer)

    def close(self):
        if self.socket:
            self.socket.close()
        self.socket = None
