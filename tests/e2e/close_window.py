#!/usr/bin/python3
"""Sends a window the close request that a window manager sends (WM_DELETE_WINDOW)."""
import sys

from Xlib import X, display
from Xlib.protocol import event

d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
delete = d.intern_atom("WM_DELETE_WINDOW")
message = event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
# A round trip, not a flush: an X server that sees the connection hang up
# before it has read a request drops the request with the connection.
d.sync()
