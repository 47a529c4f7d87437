#!/usr/bin/env python3
"""Counts the tests of the built trees from ctest's JUnit reports (scripts/test):

  count_results.py TREE_DIR...

Each TREE_DIR/test-results/ctest.xml is one tree's `ctest --output-junit` report;
TREE_DIR/test-results/ctest-tests.json, when there, is its `ctest --show-only=json-v1`
listing, which gives each test's labels for the per-label lines. A test passed, failed,
or was skipped (it said so itself, such as a fuzz target without clang, or it is
disabled); a test that did not run for another reason (a test it needs failed, its
program is missing) had to run: it counts as failed. A tree without a report (it did not build, or ctest
did not finish) counts as one failure: a previous run's results are never taken for
this one's.

Prints, per tree and label, the counts; each failed test with the tail of its output;
and last the one line "N passed, N failed". Exits 1 when anything failed.
"""
import collections
import json
import os
import sys
import xml.etree.ElementTree as ElementTree

# What ctest writes for a test that skipped itself (its skip status or output).
SKIPPED_ITSELF = ("SKIP_RETURN_CODE", "SKIP_REGULAR_EXPRESSION_MATCHED")
TAIL_LINES = 15


def outcome(case):
    """'passed', 'failed' or 'skipped' for one <testcase> of ctest's report. A test that
    did not run for another reason (a test it needs failed, its program is missing)
    had to run: it failed."""
    status = case.get("status")
    if status == "run" and case.find("failure") is None:
        return "passed"
    if status == "disabled":
        return "skipped"
    skipped = case.find("skipped")
    if status == "notrun" and skipped is not None and skipped.get("message", "").startswith(SKIPPED_ITSELF):
        return "skipped"
    return "failed"


def labels_of(listing_path):
    """{test name: [labels]} from ctest's json-v1 listing; empty when there is none."""
    if not os.path.isfile(listing_path):
        return {}
    labels = {}
    for test in json.load(open(listing_path, encoding="utf-8")).get("tests", []):
        found = [p["value"] for p in test.get("properties", []) if p.get("name") == "LABELS"]
        labels[test["name"]] = found[0] if found else []
    return labels


def count_tree(tree_dir, totals, failures):
    """Adds one tree's outcomes to totals ({label: Counter}); returns its Counter."""
    tree = os.path.basename(os.path.normpath(tree_dir))
    report = os.path.join(tree_dir, "test-results", "ctest.xml")
    counts = collections.Counter()
    try:
        cases = ElementTree.parse(report).getroot().iter("testcase")
    except (OSError, ElementTree.ParseError) as e:
        counts["failed"] += 1
        failures.append((tree, "(no test report)", str(e)))
        return counts
    labels = labels_of(os.path.join(tree_dir, "test-results", "ctest-tests.json"))
    for case in cases:
        name = case.get("name", "")
        result = outcome(case)
        counts[result] += 1
        for label in labels.get(name) or ["(no label)"]:
            totals[(tree, label)][result] += 1
        if result == "failed":
            failures.append((tree, name, case.findtext("system-out") or ""))
    return counts


def main(trees):
    if not trees:
        print(__doc__.strip().splitlines()[2].strip())
        return 2
    totals = collections.defaultdict(collections.Counter)
    failures = []
    overall = collections.Counter()
    for tree_dir in trees:
        overall.update(count_tree(tree_dir, totals, failures))
    for (tree, label), c in sorted(totals.items()):
        skipped = ", %d skipped" % c["skipped"] if c["skipped"] else ""
        print("%-7s %-10s %5d passed, %d failed%s" % (tree, label, c["passed"], c["failed"], skipped))
    for tree, name, output in failures:
        print("-- failed: %s (%s)" % (name, tree))
        for line in [l for l in output.splitlines() if l.strip()][-TAIL_LINES:]:
            print("   " + line)
    print("%d passed, %d failed" % (overall["passed"], overall["failed"]))
    return 1 if overall["failed"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
