#!/usr/bin/python3
"""Prints the size of the tests against the size of the program they test.

Counts the non-blank lines that are not only a comment, in the files git
tracks: the program's C++ (every layer and app/), the C++ tests (tests/), and
all the tests (tests/, scripts included). Golden images, regression files and
generated data are not code and are not counted.

usage: test_ratio.py [SOURCE_ROOT]
"""
import os
import subprocess
import sys

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
files = subprocess.run(["git", "-C", root, "ls-files"], capture_output=True, text=True, check=True).stdout.split()
PROGRAM = ("runtime/", "picture/", "toolkit/", "platform/", "sound/", "speech/", "demo/", "app/")


def code_lines(path):
    comment = "#" if path.endswith((".py", ".sh")) else "//"
    count = 0
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
        for line in text:
            stripped = line.strip()
            if stripped and not stripped.startswith(comment):
                count += 1
    return count


cpp = (".cpp", ".h", ".c")
program = sum(code_lines(f) for f in files if f.startswith(PROGRAM) and f.endswith(cpp))
cpp_tests = sum(code_lines(f) for f in files if f.startswith("tests/") and f.endswith(cpp))
all_tests = cpp_tests + sum(code_lines(f) for f in files if f.startswith("tests/") and f.endswith((".py", ".sh")))
print("program %d lines; C++ tests %d (%.1f%%); all tests %d (%.1f%%)" %
      (program, cpp_tests, 100.0 * cpp_tests / program, all_tests, 100.0 * all_tests / program))
