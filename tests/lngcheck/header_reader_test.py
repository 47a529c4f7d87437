#!/usr/bin/env python3
"""scripts/lib/lng.py reads each case's header as lngcheck does: the langid and lang
that lngcheck --to-po writes into the PO header, and a main section under which
lngcheck finds texts. A file that lngcheck does not load has no reading to compare.

  header_reader_test.py LNGCHECK CASES_DIR
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LNG = [sys.executable, os.path.join(ROOT, "scripts", "lib", "lng.py")]


def lng(*args):
    r = subprocess.run(LNG + list(args), capture_output=True, text=True)
    return r.stdout.strip() if r.returncode == 0 else ""


def main(lngcheck, cases):
    faults, compared = [], 0
    files = sorted(os.path.join(base, n) for base, _, names in os.walk(cases) for n in names if n.endswith(".lng"))
    for path in files:
        section = lng("main-section", path)
        po = subprocess.run([lngcheck, "--to-po", path, path, section or "TwinsweepLauncher"], capture_output=True)
        if po.returncode != 0:
            continue
        text = po.stdout.decode("utf-8")
        header = dict(re.findall(r'^"(X-Lng-LangID|X-Lng-Lang): (.*)\\n"$', text, re.M))
        got = {"X-Lng-LangID": lng("field", path, "langid"), "X-Lng-Lang": lng("field", path, "lang")}
        for name, value in got.items():
            if header.get(name, "") != value:
                faults.append("%s: lng.py reads %s \"%s\", lngcheck \"%s\"" % (path, name, value, header.get(name, "")))
        if not re.search(r'^msgctxt "\[%s\.' % re.escape(section), text, re.M):
            faults.append("%s: lngcheck finds no texts under lng.py's main section \"%s\"" % (path, section))
        compared += 1
    print("\n".join(faults))
    print("%d of %d files compared with lngcheck" % (compared, len(files)))
    return 1 if faults or not compared else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
