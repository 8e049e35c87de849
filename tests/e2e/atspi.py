# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads what the program shows through the accessibility bus, as a screen reader would.

A small D-Bus client (unix sockets, EXTERNAL authentication, the D-Bus message
wire format) and the few AT-SPI calls the tests need: the applications on the bus, and for each
accessible object its name, role, states and children. Standard library only.
"""

import os
import socket
import struct
import time


class DBusError(Exception):
    """An error reply, or a connection that broke."""


class Variant:
    """A D-Bus variant to send: its signature and its value."""

    def __init__(self, signature, value):
        self.signature = signature
        self.value = value


_ALIGN = {"y": 1, "b": 4, "n": 2, "q": 2, "i": 4, "u": 4, "x": 8, "t": 8, "d": 8, "s": 4, "o": 4,
          "g": 1, "v": 1, "a": 4, "(": 8, "{": 8, "h": 4}
_FIXED = {"y": "B", "b": "I", "n": "h", "q": "H", "i": "i", "u": "I", "x": "q", "t": "Q", "d": "d",
          "h": "I"}


def _split_type(signature, at):
    """Returns the end index of the single complete type starting at signature[at]."""
    c = signature[at]
    if c == "a":
        return _split_type(signature, at + 1)
    if c in "({":
        close = ")" if c == "(" else "}"
        at += 1
        while signature[at] != close:
            at = _split_type(signature, at)
        return at + 1
    return at + 1


def _types(signature):
    out, at = [], 0
    while at < len(signature):
        end = _split_type(signature, at)
        out.append(signature[at:end])
        at = end
    return out


class _Writer:
    def __init__(self):
        self.buf = bytearray()

    def pad(self, n):
        while len(self.buf) % n:
            self.buf.append(0)

    def write(self, t, value):
        c = t[0]
        self.pad(_ALIGN[c])
        if c in _FIXED:
            self.buf += struct.pack("<" + _FIXED[c], int(value) if c == "b" else value)
        elif c in "so":
            data = value.encode("utf-8")
            self.buf += struct.pack("<I", len(data)) + data + b"\0"
        elif c == "g":
            data = value.encode("ascii")
            self.buf += struct.pack("<B", len(data)) + data + b"\0"
        elif c == "v":
            self.write("g", value.signature)
            self.write(value.signature, value.value)
        elif c == "a":
            at = len(self.buf)
            self.buf += b"\0\0\0\0"
            self.pad(_ALIGN[t[1]])
            start = len(self.buf)
            items = value.items() if t[1] == "{" else value
            for item in items:
                self.write(t[1:], item)
            struct.pack_into("<I", self.buf, at, len(self.buf) - start)
        elif c in "({":
            for sub, item in zip(_types(t[1:-1]), value):
                self.write(sub, item)
        else:
            raise ValueError(f"cannot write D-Bus type {t}")


class _Reader:
    def __init__(self, data, at=0):
        self.data = data
        self.at = at

    def align(self, n):
        self.at += (-self.at) % n

    def read(self, t):
        c = t[0]
        self.align(_ALIGN[c])
        if c in _FIXED:
            fmt = "<" + _FIXED[c]
            value = struct.unpack_from(fmt, self.data, self.at)[0]
            self.at += struct.calcsize(fmt)
            return bool(value) if c == "b" else value
        if c in "so":
            n = struct.unpack_from("<I", self.data, self.at)[0]
            value = self.data[self.at + 4:self.at + 4 + n].decode("utf-8")
            self.at += 4 + n + 1
            return value
        if c == "g":
            n = self.data[self.at]
            value = self.data[self.at + 1:self.at + 1 + n].decode("ascii")
            self.at += 1 + n + 1
            return value
        if c == "v":
            return self.read(self.read("g"))
        if c == "a":
            n = struct.unpack_from("<I", self.data, self.at)[0]
            self.at += 4
            self.align(_ALIGN[t[1]])
            end = self.at + n
            items = []
            while self.at < end:
                items.append(self.read(t[1:]))
            return dict(items) if t[1] == "{" else items
        if c in "({":
            return tuple(self.read(sub) for sub in _types(t[1:-1]))
        raise ValueError(f"cannot read D-Bus type {t}")


class Connection:
    """One connection to a D-Bus bus, used for method calls only."""

    def __init__(self, address, timeout=10):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(timeout)
        self.sock.connect(self._socket_path(address))
        self.serial = 0
        self.pending = b""
        uid = str(os.getuid()).encode().hex()
        self.sock.sendall(b"\0AUTH EXTERNAL " + uid.encode() + b"\r\n")
        answer = self._line()
        if not answer.startswith(b"OK"):
            raise DBusError(f"authentication refused: {answer!r}")
        self.sock.sendall(b"BEGIN\r\n")
        self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello")

    @staticmethod
    def _socket_path(address):
        for part in address.split(";"):
            kind, _, rest = part.partition(":")
            if kind != "unix":
                continue
            keys = dict(kv.split("=", 1) for kv in rest.split(","))
            if "path" in keys:
                return keys["path"]
            if "abstract" in keys:
                return "\0" + keys["abstract"]
        raise DBusError(f"no unix socket in the bus address {address!r}")

    def close(self):
        self.sock.close()

    def _line(self):
        while b"\r\n" not in self.pending:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise DBusError("the bus closed the connection")
            self.pending += chunk
        line, _, self.pending = self.pending.partition(b"\r\n")
        return line

    def _exactly(self, n):
        while len(self.pending) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise DBusError("the bus closed the connection")
            self.pending += chunk
        data, self.pending = self.pending[:n], self.pending[n:]
        return data

    def call(self, destination, path, interface, member, signature="", args=()):
        self.serial += 1
        body = _Writer()
        for t, value in zip(_types(signature), args):
            body.write(t, value)
        fields = [(1, Variant("o", path)), (2, Variant("s", interface)),
                  (3, Variant("s", member)), (6, Variant("s", destination))]
        if signature:
            fields.append((8, Variant("g", signature)))
        header = _Writer()
        header.buf += struct.pack("<cBBBII", b"l", 1, 0, 1, len(body.buf), self.serial)
        header.write("a(yv)", fields)
        header.pad(8)
        self.sock.sendall(bytes(header.buf) + bytes(body.buf))
        while True:
            kind, reply_to, reply_sig, error, data = self._message()
            if reply_to != self.serial:
                continue  # signals and anything else not ours
            values = []
            reader = _Reader(data)
            for t in _types(reply_sig):
                values.append(reader.read(t))
            if kind == 3:
                raise DBusError(f"{error}: {values[0] if values else ''}")
            return values

    def _message(self):
        fixed = self._exactly(16)
        endian, kind, _, _, body_len, _, fields_len = struct.unpack("<cBBBIII", fixed)
        if endian != b"l":
            raise DBusError("big-endian messages are not handled")
        rest_len = fields_len + (-(16 + fields_len)) % 8
        header = fixed + self._exactly(rest_len)
        reader = _Reader(header, 12)
        fields = dict(reader.read("a(yv)"))
        body = self._exactly(body_len)
        return kind, fields.get(5), fields.get(8, ""), fields.get(4), body


ACCESSIBLE = "org.a11y.atspi.Accessible"
STATE_ACTIVE, STATE_SHOWING, STATE_VISIBLE = 1, 25, 30


class Node:
    """An accessible object of an application on the accessibility bus."""

    def __init__(self, bus, owner, path):
        self.bus = bus
        self.owner = owner
        self.path = path

    def _call(self, interface, member, signature="", args=()):
        return self.bus.call(self.owner, self.path, interface, member, signature, args)

    @property
    def name(self):
        return self._call("org.freedesktop.DBus.Properties", "Get", "ss", (ACCESSIBLE, "Name"))[0]

    @property
    def role(self):
        return self._call(ACCESSIBLE, "GetRoleName")[0]

    def states(self):
        words = self._call(ACCESSIBLE, "GetState")[0]
        return {i * 32 + bit for i, word in enumerate(words) for bit in range(32)
                if word >> bit & 1}

    def extents(self):
        """(x, y, width, height) on the screen."""
        return self._call("org.a11y.atspi.Component", "GetExtents", "u", (0,))[0]

    def centre(self):
        x, y, w, h = self.extents()
        return x + w // 2, y + h // 2

    def showing(self):
        return STATE_SHOWING in self.states()

    def children(self):
        return [Node(self.bus, owner, path)
                for owner, path in self._call(ACCESSIBLE, "GetChildren")[0]
                if path != "/org/a11y/atspi/null"]

    def walk(self, only_showing=True):
        """This node and all below it, depth first; hidden branches are skipped if asked."""
        yield self
        for child in self.children():
            if only_showing and not child.showing():
                continue
            yield from child.walk(only_showing)

    def find(self, role, name):
        """The showing objects below this one with this role and name."""
        return [n for n in self.walk() if n.role == role and n.name == name]

    def texts(self, role=None):
        """Names of the showing objects below this one, in tree order, optionally of one role."""
        return [n.name for n in self.walk() if role is None or n.role == role]


class Accessibility:
    """The session's accessibility bus, switched on as a screen reader would switch it on."""

    def __init__(self, session_address, timeout=10):
        session = Connection(session_address)
        try:
            # Turning the status on is what makes toolkits export their widgets to the bus.
            session.call("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                         "ssv", ("org.a11y.Status", "IsEnabled", Variant("b", True)))
            address = session.call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                   "GetAddress")[0]
        finally:
            session.close()
        self.bus = Connection(address, timeout)

    def close(self):
        self.bus.close()

    def applications(self):
        registry = Node(self.bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        return registry.children()

    def windows(self, only_showing=True):
        """Top-level windows of every application on the bus."""
        out = []
        for app in self.applications():
            try:
                for window in app.children():
                    if not only_showing or window.showing():
                        out.append(window)
            except DBusError:
                continue  # an application that has just left the bus
        return out


def wait_for(predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = predicate()
        except DBusError:
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            return None
        time.sleep(interval)
