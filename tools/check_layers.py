#!/usr/bin/python3
"""Checks which way the layers depend, from the #include lines of the sources.

Every include of the project's own headers names its layer from the source
root ("toolkit/form.h"), and a layer includes only itself and the layers below
it (of some layers, only their interface). No two modules (a .h with its
.cpp) of a folder include each other, directly or round a loop, and neither
do folders. Prints each wrong include as FILE:LINE, each loop as its
members, and exits 1 when there is any.

usage: check_layers.py [SOURCE_ROOT]
"""
import os
import re
import sys

# What each folder may include, besides itself.
BELOW = {
    "runtime": [],
    "picture": ["runtime"],
    "toolkit": ["runtime", "picture"],
    "platform/sdl": ["runtime", "picture", "toolkit"],
    # sound/ in rooms: the byte formats, the music, the output, the effects;
    # the interfaces and their assembly at the top.
    "sound/format": ["runtime"],
    "sound/music": ["runtime", "sound/format"],
    "sound/output": ["runtime", "sound/format"],
    "sound/effects": ["runtime", "sound/format", "sound/output", "sound/interface"],
    "sound": ["runtime", "sound/format", "sound/music", "sound/output", "sound/effects", "sound/interface"],
    "demo": ["runtime", "picture", "toolkit", "sound/interface", "sound/format", "speech"],
    "speech": ["runtime"],
    "app": ["runtime", "picture", "toolkit", "platform/sdl", "sound", "demo", "speech"],
    "tests/support": ["runtime", "picture", "toolkit", "platform/sdl", "sound", "demo"],
    "tests/runtime": ["runtime", "support"],
    "tests/picture": ["runtime", "picture", "support"],
    "tests/toolkit": ["runtime", "picture", "toolkit", "support"],
    "tests/platform": ["runtime", "picture", "toolkit", "platform/sdl", "support"],
    "tests/sound": ["runtime", "sound", "support"],
    "tests/demo": ["runtime", "picture", "toolkit", "sound", "demo", "support"],
    "tests/app": ["runtime", "picture", "toolkit", "platform/sdl", "sound", "demo", "app", "support"],
    "bench": ["runtime", "picture", "toolkit", "platform/sdl", "sound", "demo", "support"],
    "fuzz": ["runtime", "picture", "toolkit", "platform/sdl", "sound", "demo", "support"],
}
# Layers whose headers other layers see only the interface of (app/ and
# their own tests see everything).
INTERFACE = {"speech": {"speech/speech.h"}}
# Layers that must not see SDL at all.
NO_SDL = {"runtime", "picture", "toolkit", "demo", "speech", "sound/format", "sound/music", "sound/interface"}
LAYERS = ["platform/sdl", "runtime", "picture", "toolkit", "sound/format", "sound/music", "sound/output",
          "sound/effects", "sound", "speech", "demo", "app", "support"]
# The interfaces the program plays through, at the top of sound/ with no
# library behind them.
SOUND_INTERFACE = {"sound/midi_device.h", "sound/effect_player.h"}
SOUND_ROOMS = ["sound/format", "sound/music", "sound/output", "sound/effects", "sound/interface"]
# A layer above sound/ that may use it may use every room of it.
for folder, below in BELOW.items():
    if "sound" in below and not folder.startswith("sound"):
        below.extend(SOUND_ROOMS)

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
include = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def layer_of_file(rel):
    if rel in SOUND_INTERFACE:
        return "sound/interface"
    for folder in sorted(BELOW, key=len, reverse=True):
        if rel.startswith(folder + "/"):
            return folder
    return None


def layer_of_include(name):
    if name in SOUND_INTERFACE:
        return "sound/interface"
    for layer in LAYERS:
        if name.startswith(layer + "/"):
            return layer
    return None


def loops(graph):
    """The loops of a graph {node: {node}}: each a sorted list of its members."""
    index, low, stack, found = {}, {}, [], []

    def visit(node):  # Tarjan's strongly connected components
        index[node] = low[node] = len(index)
        stack.append(node)
        for other in graph.get(node, ()):
            if other not in index:
                visit(other)
                low[node] = min(low[node], low[other])
            elif other in stack:
                low[node] = min(low[node], index[other])
        if low[node] == index[node]:
            component = []
            while not component or component[-1] != node:
                component.append(stack.pop())
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


faults = []
modules = {}  # "demo/form1" -> modules it includes, across every folder
folders = {}  # "demo" -> folders it includes
for folder in BELOW:
    for dirpath, _, files in os.walk(os.path.join(root, folder)):
        for f in sorted(files):
            if not f.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, f)
            rel = os.path.relpath(path, root)
            mine = layer_of_file(rel)
            if mine != folder and not (folder == "sound" and mine == "sound/interface"):
                continue  # a room's file, read with its room
            own = mine[len("tests/"):] if mine == "tests/support" else mine
            with open(path, encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    m = include.match(line)
                    if not m:
                        continue
                    kind, name = m.groups()
                    if kind == "<":
                        if mine in NO_SDL and re.match(r"SDL", name):
                            faults.append("%s:%d: %s may not use SDL (<%s>)" % (rel, number, mine, name))
                        continue
                    target = layer_of_include(name)
                    if target is None:
                        faults.append('%s:%d: "%s" names no layer' % (rel, number, name))
                    elif target != own and target not in BELOW[mine]:
                        faults.append('%s:%d: %s may not include "%s"' % (rel, number, mine, name))
                    elif (target in INTERFACE and own not in (target, "app", "tests/" + target)
                          and name not in INTERFACE[target]):
                        faults.append('%s:%d: %s may include only the interface of %s, not "%s"' %
                                      (rel, number, mine, target, name))
                    source = os.path.splitext(rel)[0]
                    if mine == "tests/support":
                        source = source[len("tests/"):]
                    modules.setdefault(source, set()).add(os.path.splitext(name)[0])
                    folders.setdefault(own, set()).add(target)

for loop in loops({m: {t for t in ts if t != m} for m, ts in modules.items()}):
    faults.append("modules include each other: %s" % " ".join(loop))
for loop in loops({f: {t for t in ts if t not in (f, None)} for f, ts in folders.items()}):
    faults.append("folders include each other: %s" % " ".join(loop))

for fault in faults:
    print(fault)
print("%d wrong includes or loops" % len(faults) if faults else "every include keeps to its layer, and none loops")
sys.exit(1 if faults else 0)
