#!/usr/bin/env python3
"""A GoogleTest program run once, its cases counted one by one (the test trees):

  gtest_report.py run REPORT COMMAND...

runs the program (COMMAND, which writes its XML report to REPORT) and writes each
case's outcome to REPORT.cases/SUITE.CASE ("/" written as "~"): "passed", "skipped",
or "failed" and its messages. It passes when the report was written and explains the
exit status. Each case is then a test of its own that reads its file
(cmake/gtest_cases.cmake): under Wine each start of a program costs seconds, and the
scenarios share one process's set-up. The run is the cases' fixture: when it fails,
no case passes.
"""
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree


def outcome(case):
    problems = list(case.iter("failure")) + list(case.iter("error"))
    if problems:
        return "failed\n" + "\n".join(p.text or p.get("message", "") for p in problems)
    if case.get("result") == "skipped" or case.get("status") == "notrun" or case.find("skipped") is not None:
        return "skipped"
    return "passed"


def run(report, command):
    cases = report + ".cases"
    shutil.rmtree(cases, ignore_errors=True)  # never another run's
    if os.path.exists(report):
        os.remove(report)
    status = subprocess.call(command)
    try:
        root = ElementTree.parse(report).getroot()
        failed = int(root.get("failures", "0")) + int(root.get("errors", "0"))
    except (OSError, ElementTree.ParseError, ValueError) as e:
        print("gtest_report: %s wrote no report that can be read (exit status %d): %s" % (command[0], status, e))
        return 1
    # A non-zero status with every case passed is a fault of its own (a crash on the
    # way out, a leak found at exit): then no case counts as passed.
    if status != 0 and failed == 0:
        print("gtest_report: exit status %d, and no case failed" % status)
        return 1
    os.makedirs(cases)
    for case in root.iter("testcase"):
        name = "%s.%s" % (case.get("classname"), case.get("name"))
        with open(os.path.join(cases, name.replace("/", "~")), "w", encoding="utf-8") as f:
            f.write(outcome(case))
    return 0


def main(argv):
    if len(argv) >= 3 and argv[0] == "run":
        return run(argv[1], argv[2:])
    print(__doc__.split("\n\n")[1].strip())
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
