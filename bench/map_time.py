#!/usr/bin/python3
"""Starts a program and prints the milliseconds from its launch to the X
server's MapNotify for its first top-level window; then kills it.

usage: map_time.py PROGRAM [ARG...]   (DISPLAY names a server with no
window manager, so that top-level windows are the root window's children)
"""
import os
import subprocess
import sys
import time

from Xlib import X, display

screen = display.Display()
root = screen.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
screen.sync()
start = time.monotonic()
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    while True:
        event = screen.next_event()
        if event.type == X.MapNotify:
            print("%.1f" % ((time.monotonic() - start) * 1000))
            break
finally:
    child.kill()
    child.wait()
