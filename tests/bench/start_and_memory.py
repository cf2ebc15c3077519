#!/usr/bin/env python3
"""Start and memory of the member centre against a bare Qt Quick window, on the same display.

Start: from starting the process to its first frame on screen, in pairs (the app and the bare window one
after the other, the order alternating). Each program keeps a home of its own across its runs, as a
member's would (the graphics driver's shader cache, the app's settings), after one start that is not
counted; the app is never left signed in, so every start shows the sign-in form. The first frame is Qt's
own "frame rendered" line of the render loop's timing category (OpenGL's or the software renderer's), read
as it arrives: neither program needs a hook for it.

Memory: RSS and PSS from /proc/<pid>/smaps_rollup once the app has signed in to the sample service and the
dashboard's loads have settled (no request for --settle seconds, from the client's own log category), and
of the bare window the same time after its first frame.

Usage (inside a display and a session bus with a keyring, as on a desktop; scripts/bench brings them):
    tests/bench/start_and_memory.py --build build [--pairs 15] [--memory-pairs 5] [--settle 2.5]
"""
import argparse
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

# "frame rendered" from the OpenGL render loop, "Frame rendered" from the software renderer's.
FRAME = b"rame rendered"
REQUEST = b"vorna.client"
SIGN_IN = b"POST /api/login"


class Run:
    """One started program, its stderr read line by line with the time each line arrived."""

    def __init__(self, argv, extra_env, home):
        env = dict(os.environ)
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"):
            env.pop(name, None)
        env["HOME"] = home
        rules = ["qt.scenegraph.time.renderloop=true"] + extra_env.pop("rules", [])
        env["QT_LOGGING_RULES"] = ";".join(rules)
        env.update(extra_env)
        self.started = time.monotonic()
        self.process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.buffer = b""
        self.lines = []  # (seconds since start, line)

    def read(self, timeout):
        """Reads what arrives within `timeout` seconds; False once the program has ended."""
        ready, _, _ = select.select([self.process.stderr], [], [], timeout)
        if not ready:
            return True
        chunk = os.read(self.process.stderr.fileno(), 65536)
        now = time.monotonic() - self.started
        if not chunk:
            return False
        self.buffer += chunk
        *complete, self.buffer = self.buffer.split(b"\n")
        self.lines.extend((now, line) for line in complete)
        return True

    def wait_for(self, needle, timeout):
        """Seconds from the start to the first line holding `needle`."""
        deadline = time.monotonic() + timeout
        seen = 0
        while time.monotonic() < deadline:
            for at, line in self.lines[seen:]:
                if needle in line:
                    return at
            seen = len(self.lines)
            if not self.read(0.05):
                break
        tail = b"\n".join(line for _, line in self.lines[-20:]).decode(errors="replace")
        raise RuntimeError(f"{self.process.args[0]}: no line with {needle!r} within {timeout} s\n{tail}")

    def quiet_for(self, needle, quiet, timeout):
        """Waits until no line holding `needle` has come for `quiet` seconds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            last = max((at for at, line in self.lines if needle in line), default=0.0)
            if time.monotonic() - self.started - last >= quiet:
                return
            self.read(0.05)

    def memory(self):
        """RSS and PSS in MB."""
        values = {}
        with open(f"/proc/{self.process.pid}/smaps_rollup") as rollup:
            for line in rollup:
                parts = line.split()
                if parts[0] in ("Rss:", "Pss:"):
                    values[parts[0][:-1]] = int(parts[1]) / 1024
        return values["Rss"], values["Pss"]

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stderr.close()


def start_service(build):
    service = subprocess.Popen([os.path.join(build, "tests/service/vorna-sample-service"), "--release", "current"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    origin = service.stdout.readline().strip()
    if not origin.startswith("https://127.0.0.1:"):
        raise RuntimeError(f"the sample service did not start: {origin!r}")
    service.stdout.readline()
    username, password, _ = (part.strip() for part in service.stdout.readline().split("/"))
    return service, origin, username, password


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True).stdout


def sign_in(run, username, password):
    """Types the sample account into the sign-in form as a member would, and sends it."""
    # The brand intro takes no keys while it plays: wait until the window stops drawing.
    run.quiet_for(FRAME, 0.5, 30)
    window = xdotool("search", "--sync", "--onlyvisible", "--pid", str(run.process.pid)).split()[0]
    xdotool("windowfocus", "--sync", window)
    # The first Tab reaches the user name.
    xdotool("key", "Tab")
    xdotool("type", "--delay", "5", username)
    xdotool("key", "Tab")
    xdotool("type", "--delay", "5", password)
    xdotool("key", "Return")


def summary(values):
    ordered = sorted(values)
    p90 = ordered[min(len(ordered) - 1, round(0.9 * (len(ordered) - 1)))]
    return statistics.median(ordered), p90


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    # Another executable in either place, to compare two builds of the app with each other.
    parser.add_argument("--app", help="the app's executable (default: the build's main/vorna)")
    parser.add_argument("--bare", help="the bare window's executable (default: the build's)")
    parser.add_argument("--pairs", type=int, default=15)
    parser.add_argument("--memory-pairs", type=int, default=5)
    parser.add_argument("--settle", type=float, default=2.5)
    parser.add_argument("--only", choices=("start", "memory"))
    options = parser.parse_args()
    if "DISPLAY" not in os.environ:
        sys.exit("start_and_memory: no display; scripts/bench runs it under Xvfb")

    build = os.path.abspath(options.build)
    app = [options.app or os.path.join(build, "main/vorna")]
    bare = [options.bare or os.path.join(build, "tests/bench/vorna-bare-window")]
    service, origin, username, password = start_service(build)
    source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    member = {"VORNA_MEMBER_ORIGIN": origin, "VORNA_MEMBER_CA": os.path.join(source, "tests/service/test-cert.pem")}
    scratch = tempfile.mkdtemp(prefix="vorna-bench-")

    homes = {}

    def started(argv, extra=None):
        if argv[0] not in homes:
            homes[argv[0]] = tempfile.mkdtemp(dir=scratch)
            warm_up = Run(argv, dict(member), homes[argv[0]])
            try:
                warm_up.wait_for(FRAME, 30)
                warm_up.quiet_for(FRAME, 0.5, 30)
            finally:
                warm_up.stop()
        return Run(argv, dict(member, **(extra or {})), homes[argv[0]])

    try:
        if options.only != "memory":
            times = {"app": [], "bare": []}
            for pair in range(options.pairs):
                order = [("app", app), ("bare", bare)]
                if pair % 2:
                    order.reverse()
                for name, argv in order:
                    run = started(argv)
                    try:
                        times[name].append(run.wait_for(FRAME, 30))
                    finally:
                        run.stop()
            report("start to first frame (s)", times, 3)

        if options.only != "start":
            rss = {"app": [], "bare": []}
            pss = {"app": [], "bare": []}
            for pair in range(options.memory_pairs):
                for name in (("app", "bare") if pair % 2 == 0 else ("bare", "app")):
                    if name == "app":
                        run = started(app, {"rules": ["vorna.client.debug=true"]})
                    else:
                        run = started(bare)
                    try:
                        run.wait_for(FRAME, 30)
                        if name == "app":
                            sign_in(run, username, password)
                            run.wait_for(SIGN_IN, 30)
                            run.quiet_for(REQUEST, options.settle, 60)
                        else:
                            time.sleep(options.settle)
                        values = run.memory()
                        rss[name].append(values[0])
                        pss[name].append(values[1])
                    finally:
                        run.stop()
            report("RSS after sign-in and dashboard (MB)", rss, 1)
            report("PSS after sign-in and dashboard (MB)", pss, 1)
    finally:
        service.terminate()
        service.wait()
        shutil.rmtree(scratch, ignore_errors=True)


def report(title, values, digits):
    app_median, app_p90 = summary(values["app"])
    bare_median, bare_p90 = summary(values["bare"])
    print(f"{title}, {len(values['app'])} pairs")
    print(f"  app   median {app_median:.{digits}f}  p90 {app_p90:.{digits}f}")
    print(f"  bare  median {bare_median:.{digits}f}  p90 {bare_p90:.{digits}f}")
    print(f"  ratio median {app_median / bare_median:.2f}  p90 {app_p90 / bare_p90:.2f}", flush=True)


if __name__ == "__main__":
    main()
