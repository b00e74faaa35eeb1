#!/usr/bin/python3
"""What a reader does with the real program under Xvfb, read back through its
trace: pages turned with a key, back with PageUp and the wheel turned up (the
page before comes back with its picture, speaker and tune), forward again,
Ctrl+C (the page on the clipboard, read back by xclip, and no page turned),
the window closed on page five and the story started again with --resume
there; every page shown written by --text-hook, in order, in UTF-8; and with
--music-volume=0, the intro on SDL's disk audio driver: its effect heard,
its tune not.

usage: reader_test.py PROGRAM STORY_FOLDER
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from story_files import script, trace  # noqa: E402

PROGRAM, STORY = sys.argv[1], sys.argv[2]
CLOSE_WINDOW = os.path.join(HERE, "close_window.py")
SCRIPT = script('#MIDI "town.mid"', '#PICT    "office.bmp"', "#ICON 1", "page one", "#ICON 2", "page two",
                '#MIDI "night.mid"', '#PICT    "night.bmp"', "page three", "#ICON 3", "page four", "#PAGE",
                "page five ページ", "#ENDI")
# What --text-hook writes: each page as it is shown.
SHOWN = ["ネフィ\npage one", "ソモ\npage two", "ソモ\npage three", "ソモ\npage two", "ネフィ\npage one",
         "ソモ\npage two", "ソモ\npage three", "ダリモ社長\npage four", "ダリモ社長\npage five ページ"]


def main():
    folder = tempfile.mkdtemp(prefix="reader-")
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                             "-noreset"], pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        display = ":" + f.readline().strip()
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", RADADED_NO_MESSAGE_BOX="1",
               XDG_STATE_HOME=os.path.join(folder, "state"), ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0")
    env.pop("SDL_VIDEODRIVER", None)
    env.pop("RADADED_TRACE", None)
    for name in ("town.mid", "night.mid", "enka.mid", "Zirev.mid", "vmdemo3.WAV", "office.bmp", "night.bmp"):
        shutil.copy(os.path.join(STORY, name), folder)
    with open(os.path.join(folder, "Rodevez2E.dat"), "wb") as f:
        f.write(SCRIPT)
    program = None
    x = lambda *args: subprocess.run(["timeout", "5"] + list(args), env=env, capture_output=True, text=True)  # noqa

    def play(*args, intro=False):
        path = os.path.join(folder, "trace-%d.jsonl" % len(os.listdir(folder)))
        out = open(os.path.join(folder, "hook.txt"), "wb")
        start = list(args) if intro or "--resume" in args else ["--from=1"] + list(args)  # no intro
        p = subprocess.Popen([PROGRAM, "--trace", path] + start + [folder], env=env, stdout=out,
                             stderr=open(os.path.join(folder, "stderr.txt"), "ab"))
        for _ in range(200):
            wid = x("xdotool", "search", "--onlyvisible", "--pid", str(p.pid), "--name", "^Dizorir").stdout.split()
            if wid:
                return p, wid[0], lambda: trace(path)
            time.sleep(0.05)
        raise AssertionError("no story window")

    def pages(events):
        return [e["value"].split("\r")[0] for e in events
                if e.get("control") == "Label1" and e.get("prop") == "Caption" and e["value"]]

    def until(events, count, what):
        for _ in range(200):
            if len(pages(events())) >= count:
                return
            time.sleep(0.05)
        raise AssertionError("%s: pages %r" % (what, pages(events())))

    problems = []
    try:
        program, wid, events = play("--text-hook")
        until(events, 1, "the first page")
        x("xdotool", "windowfocus", "--sync", wid)
        for n, key in enumerate(["space", "Return", "Prior", "wheel", "space", "space", "space", "space"]):
            if key == "wheel":
                x("xdotool", "mousemove", "--window", wid, "100", "100", "click", "4")
            else:
                x("xdotool", "key", "--window", wid, key)
            until(events, n + 2, "after " + key)
            time.sleep(0.7 if key in ("Prior", "wheel") else 0)  # the music's loop check ticks
        shown = pages(events())
        if shown != [s.split("\n")[1] for s in SHOWN]:
            problems.append("pages shown: %r" % shown)
        # The first page again, as it was: its picture, speaker and tune.
        ev = events()
        at = [i for i, e in enumerate(ev) if e.get("control") == "Label1" and e.get("value")]
        again = at[4]  # the fifth page shown
        values = lambda control, events: [e["value"] for e in events if e.get("control") == control]  # noqa
        sound = [(e["op"], e.get("arg")) for e in ev[again:at[5]] if e.get("op") in ("PlayMidi", "StopMidi")]
        if values("Image1", ev[:again])[-1:] != ["office.bmp"] or values("Label2", ev[:again])[-1:] != ["ネフィ"] or \
                [e.get("arg") for e in ev[at[3]:at[5]] if e.get("op") == "PlayMidi"][-1:] != ["town.mid"] or \
                ("StopMidi", None) in sound:
            problems.append("page one again: %r" % ev[at[3]:at[5]])
        # Ctrl+C: the page on the clipboard, and no page turned.
        x("xdotool", "key", "--window", wid, "ctrl+c")
        time.sleep(0.5)
        copied = x("xclip", "-o", "-selection", "clipboard").stdout
        if copied != "ダリモ社長\npage five ページ" or len(pages(events())) != len(SHOWN):
            problems.append("copied %r, pages %d" % (copied, len(pages(events()))))
        subprocess.run(["/usr/bin/python3", CLOSE_WINDOW, wid], env=env)
        if program.wait(timeout=5) != 0:
            problems.append("status %d after the close" % program.returncode)
        with open(os.path.join(folder, "hook.txt"), "rb") as f:
            hook = f.read().decode("utf-8")
        if hook != "".join(s + "\n\n" for s in SHOWN):
            problems.append("the text hook wrote %r" % hook)

        # Started again where the reader stopped: page five, with its speaker.
        program, wid, events = play("--resume")
        until(events, 1, "--resume")
        if pages(events())[:1] != ["page five ページ"]:
            problems.append("--resume showed %r" % pages(events()))
        subprocess.run(["/usr/bin/python3", CLOSE_WINDOW, wid], env=env)
        program.wait(timeout=5)

        # The intro with its music at 0: what is heard is the effect alone
        # (0.9 s), never the tune that plays all through the intro.
        raw = os.path.join(folder, "heard.raw")
        env.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=raw)
        program, wid, events = play("--music-volume=0", intro=True)
        until(events, 1, "the first page after the intro")
        # Looked for again once the intro has gone: found while it was up, the
        # id could be the intro's, which has the id of the last run's window.
        wid = x("xdotool", "search", "--onlyvisible", "--pid", str(program.pid), "--name", "^Dizorir").stdout.split()[0]
        subprocess.run(["/usr/bin/python3", CLOSE_WINDOW, wid], env=env)
        program.wait(timeout=10)
        with open(raw, "rb") as f:
            heard = memoryview(f.read()).cast("h")
        block = 4410  # 50 ms of stereo at 44.1 kHz
        loud = sum(1 for at in range(0, len(heard) - block, block)
                   if max(abs(v) for v in heard[at:at + block]) > 300) * 0.05
        if not 0.3 <= loud <= 1.2:
            problems.append("with the music at 0, %.2f s of %.2f s heard" % (loud, len(heard) / 88200))
    except (AssertionError, subprocess.TimeoutExpired) as e:
        problems.append(str(e))
    finally:
        if program and program.poll() is None:
            program.kill()
        xvfb.kill()
        with open(os.path.join(folder, "stderr.txt"), "rb") as f:
            report = f.read().decode("utf-8", "replace")
        shutil.rmtree(folder, ignore_errors=True)
    if any(crash in report for crash in ("AddressSanitizer", "runtime error:")):
        problems.append("stderr: " + report[-300:])
    for p in problems:
        print("FAIL: " + p)
    print("%d passed, %d failed" % (not problems, bool(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
