#!/usr/bin/env python3
"""Runs a command and checks how it ends, for the script checks of the test trees:

  expect.py STATUS PATTERN COMMAND [ARG...]

Passes (exit 0) when COMMAND exits with STATUS within 60 s and a line of its output
(stdout and stderr together) matches the regular expression PATTERN; otherwise says
what it got and exits 1. The output is passed on either way.
"""
import re
import subprocess
import sys

TIMEOUT_SECONDS = 60


def main(argv):
    if len(argv) < 3 or not argv[0].lstrip("-").isdigit():
        print("usage: expect.py STATUS PATTERN COMMAND [ARG...]")
        return 2
    want, pattern, command = int(argv[0]), argv[1], argv[2:]
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT_SECONDS)
        got, output = done.returncode, done.stdout.decode("utf-8", errors="replace")
    except subprocess.TimeoutExpired as e:
        got, output = "a timeout after %d s" % TIMEOUT_SECONDS, (e.output or b"").decode("utf-8", errors="replace")
    except OSError as e:
        got, output = "no start (%s)" % e, ""
    sys.stdout.write(output)
    matched = any(re.search(pattern, line) for line in output.splitlines())
    if got == want and matched:
        return 0
    print("expected exit %d and a line matching '%s'; got exit %s%s" %
          (want, pattern, got, "" if matched else ", no such line"))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
