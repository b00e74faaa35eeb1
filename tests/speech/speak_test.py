#!/usr/bin/python3
"""--speak on the real program, on SDL's dummy video driver, with --auto
turning the pages: a fake speech-dispatcher (FakeSpeechd, at the socket
SPEECHD_ADDRESS names) hears the language set to Japanese, then each page
after its speaker's name, in order, each cut short before the next, then the
staff screen, and a last stop when the program ends. With nobody at that
address (and nothing that could be spawned), the program says so once on
standard error and plays to the end; with a service that accepts and never
answers, it plays to the end silently and still ends at once.

usage: speak_test.py PROGRAM
"""
import concurrent.futures
import os
import re
import signal
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from story_files import script, trace  # noqa: E402

PROGRAM = sys.argv[1]
SCRIPT = script("#ICON 1", "こんにちは。", "二行目です。", "#ICON 0", "地の文。", "#ENDI")
SPOKEN = ["ネフィ。\nこんにちは。\n二行目です。", "地の文。"]  # then the staff screen, under its title
STAFF = "Radaded 2K  スタッフ。\n"


class FakeSpeechd(socketserver.ThreadingUnixStreamServer):
    """Speaks SSIP (text lines, CR LF, over a Unix socket) well enough for a
    client library and records what is asked: `log` every command ("SPEAK",
    "CANCEL", "LANGUAGE ja", ...), `said` every message. A mute one
    accepts every client, holds it open and never answers."""
    daemon_threads = True
    REPLIES = {"SPEAK": "230 OK RECEIVING DATA", "QUIT": "231 HAPPY HACKING", "CANCEL": "210 OK CANCELED",
               "SET": "200 OK SET"}

    def __init__(self, path, mute=False):
        self.path, self.mute, self.log, self.said = path, mute, [], []
        super().__init__(path, lambda client, _, server: server._serve(client))
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def _serve(self, client):
        lines = client.makefile("rb")
        if self.mute:
            lines.read()  # until the client hangs up
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


def play(folder, address, until, seconds=40):
    """Plays the story until until() holds; then SIGTERM. Returns (status, stderr)."""
    with open(os.path.join(folder, "Rodevez2E.dat"), "wb") as f:
        f.write(SCRIPT)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", RADADED_NO_MESSAGE_BOX="1",
               SPEECHD_ADDRESS="unix_socket:" + address, SPEECHD_CMD=os.path.join(folder, "no-such-server"),
               ASAN_OPTIONS="detect_leaks=0:abort_on_error=1")
    trace_file = os.path.join(folder, "trace.jsonl")
    child = subprocess.Popen([PROGRAM, "--auto=1", "--speak", "--trace", trace_file, folder], env=env,
                             stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + seconds
    while not until(trace_file) and child.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    child.send_signal(signal.SIGTERM)
    try:
        _, err = child.communicate(timeout=10)
    except subprocess.TimeoutExpired:
        child.kill()
        return "hung", child.communicate()[1]
    return child.returncode, err


def credits_shown(trace_file):
    return any("製作著作" in str(e.get("value")) for e in trace(trace_file))


def with_speechd(folder):
    server = FakeSpeechd(os.path.join(folder, "speechd.sock"))
    status, err = play(folder, server.path, lambda _: len(server.said) > len(SPOKEN))
    server.shutdown()
    faults = [] if status == 0 else ["status %s: %s" % (status, err)]
    said = server.said
    if said[:-1] != SPOKEN or not said[-1].startswith(STAFF) or "\r" in said[-1]:
        faults.append("spoken %r, expected %r and the staff screen" % (said, SPOKEN))
    # Each page stops what was being read first (several stops in a row
    # may come as one), and so does the end of the program.
    order = re.sub(r"(CANCEL )+", "CANCEL ", " ".join(e for e in server.log if e in ("CANCEL", "SPEAK")))
    if order.strip() != "CANCEL SPEAK CANCEL SPEAK CANCEL SPEAK CANCEL":
        faults.append("cancels and messages in the order " + order)
    if "LANGUAGE ja" not in server.log or server.log.index("LANGUAGE ja") > server.log.index("CANCEL"):
        faults.append("the language is not set to Japanese first: %r" % server.log)
    return faults


def silent(folder, mute):
    """Nobody at the address (one notice), or a service that never answers (none)."""
    server = FakeSpeechd(os.path.join(folder, "speechd.sock"), mute=True) if mute else None
    status, err = play(folder, server.path if server else os.path.join(folder, "nobody.sock"), credits_shown)
    notices = [line for line in err.splitlines() if "read aloud" in line]
    faults = [] if status == 0 else ["status %s: %s" % (status, err)]
    if len(notices) != (0 if mute else 1) or not all(n.startswith("radaded2k: ") for n in notices):
        faults.append("notices: %r" % err)
    return faults


CASES = {"with a speech-dispatcher": with_speechd, "without one": lambda f: silent(f, False),
         "with one that never answers": lambda f: silent(f, True)}
with tempfile.TemporaryDirectory() as root, concurrent.futures.ThreadPoolExecutor() as pool:
    futures = {}
    for number, (name, case) in enumerate(CASES.items()):
        os.mkdir(os.path.join(root, str(number)))
        futures[name] = pool.submit(case, os.path.join(root, str(number)))
    results = {name: future.result() for name, future in futures.items()}
for name, faults in results.items():
    print("%s: %s" % (name, "; ".join(faults) if faults else "ok"))
sys.exit(1 if any(results.values()) else 0)
