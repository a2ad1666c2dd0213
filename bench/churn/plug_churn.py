#!/usr/bin/env python3
"""Resident memory of the application under plug churn.

Starts the release build of the application on the simulated bus with N
devices (a third of each family), then repeats a cycle: every device is
unplugged, one after another, and plugged again (all in one simctl call);
when the application has taken in all arrivals it may open a page (the status
page of the first device, or the firmware page) and stay on it a moment
before the next cycle. VmRSS of the process is read from /proc at the cycles
asked for, each time after the application has settled.

Without a display the script runs itself again under xvfb-run. Run it from
the repository root after `cmake --build --preset release`:

    bench/churn/plug_churn.py --cycles 200 --page status
    bench/churn/plug_churn.py --value-bytes 61440 --page status

It prints one line per sample (cycle, VmRSS in MiB) and a summary with the
growth between the first and last sample, and how many times the tile
creation line and each other ERROR line were written.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

FAMILIES = [("orbrin", "OR"), ("vasko", "VS"), ("pirok", "PK")]
TILE_LINE = "collectionView: QOVACollectionViewIteam itemForRepresentedObjectAtIndexPath"


def device_list(count):
    devices = []
    for i in range(count):
        family, prefix = FAMILIES[i % 3]
        serial = "%s%08d" % (prefix, 60000000 + i)
        devices.append((family, serial))
    return devices


class Output:
    """Counts lines of the application's output as they come."""

    def __init__(self, streams, keep_path):
        self.lock = threading.Condition()
        self.counts = {}
        self.errors = {}
        self.total = 0
        self.watch = {
            "attach": "Left HID deviceMatchingResult function",
            "detach": "received device remove notification",
            "match_seen": "received device match notification",
            "tile": TILE_LINE,
            "device_info": "Request getDeviceInformation",
        }
        self.keep = open(keep_path, "w", encoding="utf-8", errors="replace") if keep_path else None
        # Standard output (the log's echo) and standard error (Qt's messages)
        # are read apart: lines of the two would mix on one pipe.
        self.keep_lock = threading.Lock()
        for stream in streams:
            threading.Thread(target=self._run, args=(stream,), daemon=True).start()

    def _run(self, stream):
        for raw in stream:
            line = raw.decode("utf-8", "replace")
            if self.keep and len(line) < 4096:
                with self.keep_lock:
                    self.keep.write(line)
            with self.lock:
                self.total += 1
                for key, text in self.watch.items():
                    if text in line:
                        self.counts[key] = self.counts.get(key, 0) + 1
                if "[ERROR]" in line:
                    m = re.search(r"\[ERROR\]\s*\[[A-Z]+\]\s*(.{0,100})", line)
                    key = m.group(1) if m else line[:100]
                    key = re.sub(r"[0-9]+", "#", key)
                    self.errors[key] = self.errors.get(key, 0) + 1
                self.lock.notify_all()

    def count(self, key):
        with self.lock:
            return self.counts.get(key, 0)

    def wait(self, key, target, timeout):
        deadline = time.monotonic() + timeout
        with self.lock:
            while self.counts.get(key, 0) < target:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self.lock.wait(left)
        return True

    def wait_quiet(self, quiet, timeout):
        """Until no line came for `quiet` seconds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self.lock:
                before = self.total
            time.sleep(quiet)
            with self.lock:
                if self.total == before:
                    return True
        return False


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def app_pid(pid, name="orvalinde"):
    """The process of the application: pid itself, or under a wrapper the
    first descendant of that name."""
    todo = [pid]
    while todo:
        p = todo.pop(0)
        try:
            with open("/proc/%d/comm" % p) as f:
                if f.read().strip() == name:
                    return p
            with open("/proc/%d/task/%d/children" % (p, p)) as f:
                todo.extend(int(c) for c in f.read().split())
        except OSError:
            pass
    return pid


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release", help="build folder (default build/release)")
    parser.add_argument("--devices", type=int, default=21)
    parser.add_argument("--cycles", type=int, default=200)
    parser.add_argument("--samples", default="20,50,100,150,200",
                        help="cycles after which VmRSS is read (comma separated)")
    parser.add_argument("--page", choices=["none", "status", "firmware"], default="none",
                        help="page to open after every re-plug")
    parser.add_argument("--dwell", type=float, default=0.5, help="seconds on the page each cycle")
    parser.add_argument("--value-bytes", type=int, default=0,
                        help="give every device device_info values of this many bytes after each plug")
    parser.add_argument("--value-keys",
                        default="device_name,model,version_sw,main_ip_address,remote_name,provision_server_info",
                        help="the device_info fields --value-bytes fills (comma separated)")
    parser.add_argument("--shots", help="folder for screenshots of the first and last cycle")
    parser.add_argument("--wrap", default="",
                        help="command the application is started under, e.g. 'heaptrack -o /tmp/churn' "
                             "(VmRSS is then that of the wrapper's process)")
    parser.add_argument("--no-update-server", action="store_true",
                        help="no loopback update server: update checks fail at once")
    parser.add_argument("--kill", action="store_true",
                        help="end the application with SIGKILL instead of SIGTERM (for heap profiles)")
    parser.add_argument("--keep-log", help="copy the application's output (lines under 4 KiB) to this file")
    args = parser.parse_args()

    if not os.environ.get("DISPLAY"):
        xvfb = shutil.which("xvfb-run")
        if not xvfb:
            sys.exit("no DISPLAY and no xvfb-run")
        os.execv(xvfb, [xvfb, "-a", "-s", "-screen 0 1280x800x24", sys.executable] + sys.argv)

    app = os.path.join(args.build, "src", "orvalinde")
    simctl = os.path.join(args.build, "tools", "simctl", "orvalinde-simctl")
    for path in (app, simctl):
        if not os.access(path, os.X_OK):
            sys.exit("%s is missing: build the release preset first" % path)

    samples = sorted({int(s) for s in args.samples.split(",") if s})
    devices = device_list(args.devices)
    home = tempfile.mkdtemp(prefix="orvalinde-churn.")
    os.chmod(home, 0o755)   # nginx's worker reads the update server's files below it
    env = dict(os.environ)
    env.update({
        "HOME": home,
        "XDG_DATA_HOME": os.path.join(home, "data"),
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "XDG_CACHE_HOME": os.path.join(home, "cache"),
        "XDG_RUNTIME_DIR": os.path.join(home, "run"),
        "ORVALINDE_BACKEND": "sim",
        "ORVALINDE_SIM_DEVICES": ",".join("%s:%s" % d for d in devices),
        "ORVALINDE_SIM_SOCKET": "orvalinde-churn-%d" % os.getpid(),
        "QT_QPA_PLATFORM": "xcb",
    })
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    server_dir = None
    if args.no_update_server:
        # The update check fails at once.
        env["ORVALINDE_UPDATE_CONFIG"] = os.path.join(home, "no-update-config")
    else:
        # The loopback update server of scripts/run.sh: every arrival's update
        # check asks it over HTTPS, as with the run command.
        server_dir = os.path.join(home, "update-server")
        simfw = os.path.join(args.build, "tools", "simfw", "orvalinde-simfw")
        script = os.path.join(HERE, "..", "..", "scripts", "update-server.sh")
        env["ORVALINDE_UPDATE_CONFIG"] = subprocess.run(
            [script, "start", server_dir, os.path.abspath(simfw)], check=True, capture_output=True,
            text=True).stdout.strip()

    def simctl_run(*words):
        r = subprocess.run([simctl] + list(words), env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True)
        if r.returncode != 0:
            raise RuntimeError("simctl %s: %s" % (" ".join(words), r.stderr.strip()))

    def set_values():
        if args.value_bytes <= 0:
            return
        big = "x" * args.value_bytes
        for family, serial in devices:
            if family == "pirok":
                continue   # no device_info on this family
            for key in args.value_keys.split(","):
                if key == "provision_server_info":
                    simctl_run("info", serial, key, '{"provision_server_url":"https://%s"}' % big)
                else:
                    simctl_run("info", serial, key, big)

    proc = subprocess.Popen(args.wrap.split() + [app], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    out = Output((proc.stdout, proc.stderr), args.keep_log)
    from xdriver import Display
    display = Display()

    def content_origin():
        for _ in range(100):
            frame = display.main_window()
            if frame:
                return frame[0], frame[1]
            time.sleep(0.1)
        raise RuntimeError("the main window did not show")

    def shot(name):
        if args.shots:
            os.makedirs(args.shots, exist_ok=True)
            display.screenshot(os.path.join(args.shots, name))

    def open_page(cycle):
        if args.page == "none":
            return
        x0, y0 = content_origin()
        if args.page == "status":
            # The first tile of the grid (208-point tiles from 3 devices on).
            size = 320 if args.devices < 3 else 208
            before = out.count("device_info")
            display.click(x0 + 64 + size // 2, y0 + 56 + 32 + size // 2)
            out.wait("device_info", before + 1, 10)
        else:
            # The firmware segment, right of the middle of the navigation bar.
            display.click(x0 + 410 + 60, y0 + 28)
        time.sleep(args.dwell)
        if cycle in (1, args.cycles):
            shot("cycle%03d-%s.png" % (cycle, args.page))

    rows = []
    try:
        if not out.wait("attach", len(devices), 60):
            raise RuntimeError("the devices were not all found at start")
        out.wait_quiet(0.5, 20)
        set_values()
        shot("start.png")
        attached = out.count("attach")
        removed = out.count("detach")
        start = time.monotonic()
        for cycle in range(1, args.cycles + 1):
            for _, serial in devices:
                simctl_run("unplug", serial)
            removed += len(devices)
            if not out.wait("detach", removed, 60):
                raise RuntimeError("cycle %d: removals not all seen" % cycle)
            simctl_run("plug", *["%s:%s" % d for d in devices])
            attached += len(devices)
            if not out.wait("attach", attached, 60) or not out.wait("match_seen", attached, 60):
                listing = subprocess.run([simctl, "list"], env=env, capture_output=True, text=True).stdout
                raise RuntimeError("cycle %d: arrivals not all seen (%d of %d attached, %d told to the UI);"
                                   " the bus:\n%s" % (cycle, out.count("attach"), attached,
                                                      out.count("match_seen"), listing))
            set_values()
            open_page(cycle)
            if cycle in samples:
                out.wait_quiet(1.0, 30)
                kib = rss_kib(app_pid(proc.pid))
                rows.append((cycle, kib))
                print("cycle %4d  VmRSS %8.1f MiB  (%.0f s)" % (cycle, kib / 1024.0, time.monotonic() - start),
                      flush=True)
    finally:
        tiles = out.count("tile")
        errors = dict(out.errors)
        if args.kill:
            # Killed, not quit: whatever is still held stays in a heap
            # profile as not freed.
            os.kill(app_pid(proc.pid), 9)
        else:
            os.kill(app_pid(proc.pid), 15)
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
        if server_dir:
            subprocess.run([os.path.join(HERE, "..", "..", "scripts", "update-server.sh"), "stop", server_dir])
        shutil.rmtree(home, ignore_errors=True)

    if len(rows) >= 2:
        (c0, k0), (c1, k1) = rows[0], rows[-1]
        print("devices %d, page %s, value bytes %d: VmRSS %.1f MiB at cycle %d, %.1f MiB at cycle %d "
              "(%+.1f MiB, %+.1f KiB per cycle)"
              % (args.devices, args.page, args.value_bytes, k0 / 1024.0, c0, k1 / 1024.0, c1,
                 (k1 - k0) / 1024.0, (k1 - k0) / float(c1 - c0)))
    print("tile creation line written %d times" % tiles)
    for text, n in sorted(errors.items(), key=lambda kv: -kv[1])[:10]:
        print("  ERROR x%d: %s" % (n, text))


if __name__ == "__main__":
    main()
