#!/usr/bin/python3
"""--speak on the real program, on SDL's dummy video driver, with --auto
turning the pages: a fake speech-dispatcher (fake_speechd.py, at the socket
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
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fake_speechd import FakeSpeechd  # noqa: E402

PROGRAM = sys.argv[1]
SCRIPT = "#ICON 1\r\nこんにちは。\r\n二行目です。\r\n#ICON 0\r\n地の文。\r\n#ENDI\r\n".encode("cp932")
SPOKEN = ["ネフィ。\nこんにちは。\n二行目です。", "地の文。"]  # then the staff screen, under its title
STAFF = "Radaded 2K  スタッフ。\n"


def play(folder, address, until, seconds=40):
    """Plays the story until until() holds; then SIGTERM. Returns (status, stderr)."""
    with open(os.path.join(folder, "Rodevez2E.dat"), "wb") as f:
        f.write(SCRIPT)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", RADADED_NO_MESSAGE_BOX="1",
               SPEECHD_ADDRESS="unix_socket:" + address, SPEECHD_CMD=os.path.join(folder, "no-such-server"),
               ASAN_OPTIONS="detect_leaks=0:abort_on_error=1")
    trace = os.path.join(folder, "trace.jsonl")
    child = subprocess.Popen([PROGRAM, "--auto=1", "--speak", "--trace", trace, folder], env=env,
                             stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + seconds
    while not until(trace) and child.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    child.send_signal(signal.SIGTERM)
    try:
        _, err = child.communicate(timeout=10)
    except subprocess.TimeoutExpired:
        child.kill()
        _, err = child.communicate()
        return "hung", err
    return child.returncode, err


def credits_shown(trace):
    try:
        with open(trace, encoding="utf-8", errors="replace") as f:
            return "製作著作" in f.read()
    except FileNotFoundError:
        return False


def with_speechd(folder):
    server = FakeSpeechd(os.path.join(folder, "speechd.sock"))
    try:
        status, err = play(folder, server.path, lambda _: len(server.said) > len(SPOKEN))
        faults = []
        if status != 0:
            faults.append("status %s: %s" % (status, err))
        said = server.said
        if said[:-1] != SPOKEN or not said[-1].startswith(STAFF) or "\r" in said[-1]:
            faults.append("spoken %r, expected %r and the staff screen" % (said, SPOKEN))
        # Each page stops what was being read first (several stops in a row
        # may come as one), and so does the end of the program.
        order = re.sub(r"(CANCEL )+", "CANCEL ", " ".join(
            "SAY" if e.startswith("SPEAK") else e for e in server.log if e == "CANCEL" or e.startswith("SPEAK")))
        if order.strip() != "CANCEL SAY CANCEL SAY CANCEL SAY CANCEL":
            faults.append("cancels and messages in the order " + order)
        if "LANGUAGE ja" not in server.log or server.log.index("LANGUAGE ja") > server.log.index("CANCEL"):
            faults.append("the language is not set to Japanese first: %r" % server.log)
        return faults
    finally:
        server.close()


def silent(folder, mute):
    """Nobody at the address (one notice), or a service that never answers (none)."""
    server = FakeSpeechd(os.path.join(folder, "speechd.sock"), mute=True) if mute else None
    status, err = play(folder, server.path if server else os.path.join(folder, "nobody.sock"), credits_shown)
    if server:
        server.close()
    notices = [line for line in err.splitlines() if "read aloud" in line]
    faults = [] if status == 0 else ["status %s: %s" % (status, err)]
    if len(notices) != (0 if mute else 1) or not all(n.startswith("radaded2k: ") for n in notices):
        faults.append("notices: %r" % err)
    return faults


def main():
    cases = {"with a speech-dispatcher": with_speechd, "without one": lambda f: silent(f, False),
             "with one that never answers": lambda f: silent(f, True)}
    with tempfile.TemporaryDirectory() as root, concurrent.futures.ThreadPoolExecutor() as pool:
        futures = {}
        for number, (name, case) in enumerate(cases.items()):
            folder = os.path.join(root, str(number))
            os.mkdir(folder)
            futures[name] = pool.submit(case, folder)
        failed = False
        for name, future in futures.items():
            faults = future.result()
            print("%s: %s" % (name, "; ".join(faults) if faults else "ok"))
            failed = failed or bool(faults)
    sys.exit(1 if failed else 0)


main()
