#!/usr/bin/python3
"""Every way out of the real program, in every state of its sound.

Each case plays a short story of its own on an X server of its own (Xvfb),
ends it one way (the close request a window manager sends, the credits, an
error report, a signal, the X server gone) while the sound is in one state
(a tune playing, its tail ringing, the output asleep, an effect sounding, no
audio device, no SoundFont, the SoundFont still loading; pages read aloud to a
fake speech-dispatcher, FakeSpeechd, at the socket SPEECHD_ADDRESS names, to
nobody, or to one that never answers), and checks that the
process ends at once, by itself and with the right status, never by a signal
or a sanitizer's report, with the music stopped, the credits not run (unless
it ended in them), the end last in its trace, and the reader's place kept
(forgotten after the credits). Every case writes its pages to a pipe whose
reader has gone (--text-hook), which must end nothing.
The cases run side by side, beside a process that keeps a core busy, and the
racy ones more than once.

usage: lifecycle_test.py PROGRAM SLOW_OPEN_LIBRARY
"""
import concurrent.futures
import os
import re
import shutil
import signal
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from story_files import held_note, script, trace, wav  # noqa: E402

PROGRAM, SLOW_OPEN = sys.argv[1], sys.argv[2]
CLOSE_WINDOW = os.path.join(HERE, "..", "e2e", "close_window.py")
PAGES = script("ページです。", "#PAGE", "二ページ目です。", "#ENDI")

# Sound states: the files of the story folder, and the environment.
STATES = {
    "playing": dict(tunes={"enka.mid": 30}),
    "tail": dict(tunes={"enka.mid": 0.5}, after=0.8),  # has ended by the first page; its reverb rings on
    "asleep": dict(tunes={}),  # nothing has sounded
    "effect": dict(tunes={}, effect=30),
    "no device": dict(tunes={"enka.mid": 30}, env={"SDL_AUDIODRIVER": "no-such-driver"}),
    "no SoundFont": dict(tunes={"enka.mid": 30}, env={"SDL_SOUNDFONTS": "/nonexistent/none.sf2"}),
    "loading": dict(tunes={"enka.mid": 30}, slow=True),
}


MOMENTS = {  # when the end comes: at the first page, the error report, or the credits' closing tune
    "page": lambda ev: any(e.get("control") == "Label1" and e.get("prop") == "Caption" and e.get("value") for e in ev),
    "error": lambda ev: any(e.get("ev") == "error" for e in ev),
    "credits": lambda ev: any(e.get("op") == "PlayMidi" and e.get("arg") == "lmb.mid" for e in ev),
}


class FakeSpeechd(socketserver.ThreadingUnixStreamServer):
    """Speaks SSIP (text lines, CR LF, over a Unix socket) well enough for a
    client library and records what is asked: `log` every command ("SPEAK",
    "CANCEL", "LANGUAGE ja", ...), `said` every message. A mute one
    accepts every client, holds it open and never answers; a broken one
    answers a line too short for the speech library, which then ends the
    process it runs in."""
    daemon_threads = True
    REPLIES = {"SPEAK": "230 OK RECEIVING DATA", "QUIT": "231 HAPPY HACKING", "CANCEL": "210 OK CANCELED",
               "SET": "200 OK SET"}

    def __init__(self, path, mute=False, broken=False):
        self.path, self.mute, self.broken, self.log, self.said = path, mute, broken, [], []
        super().__init__(path, lambda client, _, server: server._serve(client))
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def _serve(self, client):
        lines = client.makefile("rb")
        if self.mute:
            lines.read()  # until the client hangs up
            return
        if self.broken:
            lines.readline()
            client.sendall(b"2\r\n")
            return
        data = None  # the lines of a message being received
        for raw in lines:
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            if data is not None and line != ".":
                data.append(line[1:] if line.startswith("..") else line)
                continue
            if data is not None:
                self.said.append("\n".join(data))
                reply, data = "225-%d\r\n225 OK MESSAGE QUEUED" % len(self.said), None
            else:
                words = line.split()
                command = " ".join(words[:1]).upper()
                self.log.append(" ".join(words[2:]) if command == "SET" else command)
                data = [] if command == "SPEAK" else None
                reply = self.REPLIES.get(command, "200 OK")
            client.sendall(reply.encode() + b"\r\n")


# Read aloud (--speak, pages turned by --auto=1): the speaker's name and the
# page, each cut short before the next, then the staff screen under its title.
SPEECH = script("#ICON 1", "こんにちは。", "二行目です。", "#ICON 0", "地の文。", "#ENDI")
SPOKEN = ["ネフィ。\nこんにちは。\n二行目です。", "地の文。"]
STAFF = "Radaded 2K  スタッフ。\n"


def speech_faults(server):
    """What a speech service that answers heard wrong: the language set to
    Japanese first, each page after a stop (several stops in a row may come
    as one), then the staff screen, and a last stop when the program ends."""
    said, log, faults = server.said, server.log, []
    if said[:-1] != SPOKEN or not said[-1:] or not said[-1].startswith(STAFF) or "\r" in said[-1]:
        faults.append("spoken %r, expected %r and the staff screen" % (said, SPOKEN))
    order = re.sub(r"(CANCEL )+", "CANCEL ", " ".join(e for e in log if e in ("CANCEL", "SPEAK")))
    if order.strip() != "CANCEL SPEAK CANCEL SPEAK CANCEL SPEAK CANCEL":
        faults.append("cancels and messages in the order " + order)
    if "LANGUAGE ja" not in log or "CANCEL" in log and log.index("LANGUAGE ja") > log.index("CANCEL"):
        faults.append("the language is not set to Japanese first: %r" % log)
    return faults


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        return xvfb, ":" + f.readline().strip()


def run_case(case):
    """Plays the case's story and ends it; returns a list of what went wrong."""
    way, state = case["way"], STATES[case["state"]]
    folder = tempfile.mkdtemp(prefix="lifecycle-")
    xvfb, display = start_xvfb()
    problems = []
    files = {"Rodevez2E.dat": case.get("script", PAGES)}
    files.update((tune, held_note(seconds)) for tune, seconds in dict(state["tunes"], **case.get("tunes", {})).items())
    if "effect" in state:
        files["vmdemo3.WAV"] = wav(1, 1, 22050, 16, b"\x00\x10" * 22050 * state["effect"])
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    x = dict(os.environ, DISPLAY=display)
    x.pop("SDL_VIDEODRIVER", None)
    env = dict(x, RADADED_TRACE=os.path.join(folder, "trace.jsonl"), SDL_AUDIODRIVER="dummy",
               XDG_STATE_HOME=os.path.join(folder, "state"),
               ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0")
    env.update(state.get("env", {}))
    if not case.get("box"):
        env["RADADED_NO_MESSAGE_BOX"] = "1"
    if state.get("slow"):
        env.update(LD_PRELOAD=SLOW_OPEN, RADADED_SLOW_OPEN_SECONDS="8")
    # The intro is skipped unless the state needs its effect, or the end comes in the credits.
    args = [] if "effect" in state or case.get("at") == "credits" else ["--from=1"]
    args.append("--text-hook")
    hook_read, hook_write = os.pipe()
    os.close(hook_read)
    speech, address = case.get("speech"), os.path.join(folder, "speechd.sock")
    server = FakeSpeechd(address, speech == "mute", speech == "broken") if speech in ("answers", "mute", "broken") else None
    if speech:
        args += ["--auto=1", "--speak"]
        env.update(SPEECHD_ADDRESS="unix_socket:" + address, SPEECHD_CMD=os.path.join(folder, "no-such-server"))
    try:
        with open(os.path.join(folder, "stderr.txt"), "wb") as err:
            program = subprocess.Popen([PROGRAM] + args + [folder], env=env, stdout=hook_write, stderr=err)
        os.close(hook_write)
        events = lambda: trace(env["RADADED_TRACE"])  # noqa: E731
        moment, limit = case.get("at", "page"), time.monotonic() + 20
        while not MOMENTS[moment](events()) and program.poll() is None and time.monotonic() < limit:
            time.sleep(0.05)
        if not MOMENTS[moment](events()):
            problems.append("never reached the moment to end it (%s)" % moment)
        time.sleep(case.get("after", state.get("after", 1.0)))
        trigger = time.monotonic()
        if way in ("close", "error later"):
            windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid), "--name",
                                      "^Dizorir"], capture_output=True, text=True, env=x).stdout.split()[-1:]
            problems += [] if windows else ["no window to take it"]
            for w in windows if way == "close" else []:
                subprocess.run(["/usr/bin/python3", CLOSE_WINDOW, w], env=x)
            for w in windows if way == "error later" else []:
                subprocess.run(["timeout", "5", "xdotool", "windowfocus", "--sync", w], env=x)
                subprocess.run(["timeout", "5", "xdotool", "key", "--window", w, "space"], env=x)
        if way.startswith("SIG"):
            program.send_signal(getattr(signal, way))
        elif way == "box signal":
            time.sleep(0.5)  # the box is up
            program.send_signal(getattr(signal, case["signal"]))
        elif way == "X lost":
            xvfb.kill()
        try:
            status = program.wait(timeout=4)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
            return problems + ["still running %.0f s after it was asked to end (trace ends %s)"
                               % (time.monotonic() - trigger, events()[-2:])]
        ended = events()
        with open(os.path.join(folder, "stderr.txt"), encoding="utf-8", errors="replace") as f:
            report = f.read()
        if status < 0:
            problems.append("ended by signal %d" % -status)
        elif status != case["status"] and not (case["status"] == "non-zero" and status > 0):
            problems.append("status %d, not %s" % (status, case["status"]))
        if any(crash in report for crash in ("AddressSanitizer", "runtime error:", "X Error of failed request")):
            problems.append("stderr: " + report.strip().splitlines()[-1][:200])
        if not ended or ended[-1].get("ev") != "end":
            problems.append("the trace does not end with its end: %s" % (ended[-1:] or "empty"))
        if (way == "close" or way.startswith("SIG")) and not any(e.get("op") == "StopMidi" for e in ended[-3:]):
            problems.append("the music was not stopped at the end")
        if case.get("at") != "credits" and MOMENTS["credits"](ended):
            problems.append("the credits ran")
        places = os.path.join(folder, "state", "radaded2k", "places")
        kept = os.listdir(places) if os.path.isdir(places) else []
        if (len(kept) == 1) != (case.get("at", "page") == "page"):
            problems.append("places kept: %r" % kept)
        notices = [line for line in report.splitlines() if "read aloud" in line]
        if speech and (len(notices) != (speech in ("nobody", "broken")) or
                       not all(n.startswith("radaded2k: ") for n in notices)):
            problems.append("notices: %r" % notices)
        if speech == "answers":
            problems += speech_faults(server)
    finally:
        if server:
            server.shutdown()
        xvfb.kill()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)
    return problems


ICON9 = script("#ICON    9", "ページです。", "#ENDI")
LATER_ERROR = script("ページです。", "#PICT     \"missing.bmp\"", "二ページ目です。", "#ENDI")
CREDITS = script("#ENDI")


def cases():
    SOUND = ("playing", "asleep", "no device", "no SoundFont")

    def case(way, state, status=0, **more):
        return dict(name="%s, %s%s" % (way, state, more.pop("label", "")), way=way, state=state, status=status,
                    **more)

    return [case("close", s) for s in STATES] + [case("close", "no device", label=" (again %d)" % i) for i in range(4)] + [
        # The credits: waiting for the closing tune, and after they returned without one.
        case("close", "playing", script=CREDITS, tunes={"lmb.mid": 30}, at="credits", label=" in the credits"),
        case("close", "asleep", script=CREDITS, at="credits", after=3.0, label=" after the credits"),
        # Error reports at the first page, and at the second once a key turns the first.
        *[case("error later", s, 1, script=LATER_ERROR) for s in ("playing", "asleep")],
        # Every other way out in every state of the sound, and a few more.
        *[case("error", s, 1, script=ICON9, at="error", after=0) for s in SOUND + ("loading",)],
        *[case(way, s) for way in ("SIGTERM", "SIGINT", "SIGHUP") for s in SOUND],
        case("SIGTERM", "loading"), case("SIGINT", "effect"),
        *[case("X lost", s, "non-zero") for s in SOUND],
        # The closing tune's end ends the process by itself.
        case("credits end", "playing", script=CREDITS, tunes={"lmb.mid": 1}, at="credits", after=0),
        # Read aloud to a speech service, to nobody (said once), to one that
        # never answers (silently, and the end still comes at once), and to a
        # broken one, whose reply would end a process that ran the speech
        # library itself (said once, and the story plays on).
        *[case("SIGTERM", "asleep", script=SPEECH, at="credits", speech=speech, label=", speech " + speech)
          for speech in ("answers", "nobody", "mute", "broken")],
        # A signal while the error's message box is up ends it at once; the
        # status still says that there was an error.
        case("box signal", "playing", 1, script=ICON9, at="error", box=True, signal="SIGTERM", after=0),
        case("box signal", "asleep", 1, script=ICON9, at="error", box=True, signal="SIGHUP", after=0),
    ]


def main():
    busy = subprocess.Popen([sys.executable, "-c", "while True: pass"])
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=6) as pool:
            results = list(zip(cases(), pool.map(run_case, cases())))
    finally:
        busy.kill()
    for case, problems in results:
        print("%-4s %s%s" % ("FAIL" if problems else "ok", case["name"], ": " + "; ".join(problems) if problems else ""))
    failures = sum(bool(problems) for _, problems in results)
    print("%d passed, %d failed" % (len(results) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
