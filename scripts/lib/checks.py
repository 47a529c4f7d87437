"""Checks that run one after another, each into its own log (scripts/release-checks):
a check is a function that runs commands through run() and states what must hold with
expect(); the first that does not hold ends it, named in its log.
"""
import os
import subprocess


class Failed(Exception):
    pass


class Log:
    """The trace of the running check: each command, its output and status."""
    file = None

    @classmethod
    def write(cls, text):
        if cls.file:
            cls.file.write(text if text.endswith("\n") else text + "\n")
            cls.file.flush()


def run(*command, ok=(0,), env=None, cwd=None, stdout=None):
    """Runs command; returns its output (stdout and stderr) or raises Failed when its status
    is not in ok (None: any), which it keeps in run.status. stdout=PATH writes stdout to
    PATH instead."""
    Log.write("+ " + " ".join(command))
    full_env = dict(os.environ, **(env or {}))
    if stdout:
        with open(stdout, "wb") as out:
            done = subprocess.run(command, env=full_env, cwd=cwd, stdout=out, stderr=subprocess.PIPE)
        text = done.stderr.decode("utf-8", "replace")
    else:
        done = subprocess.run(command, env=full_env, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        text = done.stdout.decode("utf-8", "replace")
    Log.write(text)
    if ok is not None and done.returncode not in ok:
        raise Failed("%s: exit status %d" % (" ".join(command), done.returncode))
    run.status = done.returncode
    return text


def absent(*command, **kw):
    """A command that must fail."""
    text = run(*command, ok=None, **kw)
    expect(run.status != 0, "%s succeeded" % " ".join(command))
    return text


def expect(condition, what):
    if not condition:
        raise Failed(what)


def say(text):
    Log.write(text)


def same_file(a, b):
    expect(os.path.isfile(a) and os.path.isfile(b) and open(a, "rb").read() == open(b, "rb").read(),
           "%s and %s differ" % (a, b))


def files_under(folder):
    return [os.path.join(d, f) for d, _, names in os.walk(folder) for f in names]


def lines(text):
    return text.replace("\r", "").splitlines()


def run_check(name, check, work):
    """Runs check() with its trace in WORK/NAME.log; prints whether it passed and, when it
    did not, the end of its log; returns whether it passed."""
    log_path = os.path.join(work, name + ".log")
    with open(log_path, "w", encoding="utf-8") as Log.file:
        try:
            check()
            passed = True
        except Failed as e:
            Log.write("failed: %s" % e)
            passed = False
        except Exception as e:  # a check that cannot read what it checks has failed
            Log.write("failed: %s: %s" % (type(e).__name__, e))
            passed = False
    Log.file = None
    if passed:
        print(name + " passed")
    else:
        print("%s failed (%s):" % (name, os.path.relpath(log_path)))
        print("".join(open(log_path, encoding="utf-8").readlines()[-20:]), end="")
    return passed
