#!/usr/bin/env python3
"""Starts the real program as a process on a generated station and measures, per run: the wall
time from exec to the headless "running without a window" line, the time `cat` takes for the
local log and wsjtx.log in the same run, the bytes the process read (/proc/PID/io rchar) in the
10 s after that line and in all (from exec to 10 s after "ready"), and the time from SIGTERM to
the process's exit.

    process_startup.py PROGRAM STATION [--runs N] [--cpu LIST] [--grow-journal BYTES]

STATION holds WSJT-X/ (a generated station) and viewer/ (the program's data folder, made by a
first run). With --grow-journal, that many bytes of journal lines are appended to WSJT-X's
ALL.TXT before each run (a copy of its last lines), so the journal read after "ready" can be
compared with what was appended."""
import argparse, os, signal, statistics, subprocess, sys, time

READY = b"running without a window"
PAINTED = b"call overview painted"


def rchar(pid):
    try:
        with open(f"/proc/{pid}/io") as f:
            for line in f:
                if line.startswith("rchar:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


def cat_time(files):
    start = time.monotonic()
    for name in files:
        with open(name, "rb") as f:
            while f.read(1 << 20):
                pass
    return time.monotonic() - start


def grow_journal(journal, wanted):
    with open(journal, "rb") as f:
        f.seek(max(0, os.path.getsize(journal) - 65536))
        tail = f.read()
    lines = tail.split(b"\n")[1:-1]
    block = b""
    while len(block) < wanted and lines:
        block += b"\n".join(lines) + b"\n"
    with open(journal, "ab") as f:
        f.write(block[:wanted].rsplit(b"\n", 1)[0] + b"\n")
    return len(block[:wanted].rsplit(b"\n", 1)[0]) + 1


def one_run(program, station, cpu, settle, window=False):
    env = dict(os.environ, LOCALAPPDATA=os.path.join(station, ""),
               VANTREL_SETTINGS=os.path.join(station, "Vantrel.ini"), QT_QPA_PLATFORM="offscreen",
               VANTREL_TRACE_PAINT="1")
    command = [program, "/NVC"] if window else [program, "/HEADLESS", "/NVC"]
    ready_text = PAINTED if window else READY
    if cpu:
        command = ["taskset", "-c", cpu] + command
    viewer = os.path.join(station, "viewer")
    start = time.monotonic()
    proc = subprocess.Popen(command, cwd=viewer, env=env, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL)
    line = b""
    while ready_text not in line:
        line = proc.stderr.readline()
        if not line:
            raise SystemExit("the program ended before it was ready")
    ready = time.monotonic() - start
    catted = cat_time([os.path.join(viewer, "Viewer_local_log.csv"), os.path.join(viewer, "wsjtx.log")])
    before = rchar(proc.pid)
    time.sleep(settle)
    after = rchar(proc.pid)
    stop = time.monotonic()
    proc.send_signal(signal.SIGTERM)
    proc.communicate(timeout=60)
    closed = time.monotonic() - stop
    read = (after - before) if before is not None and after is not None else -1
    return ready, catted, read, closed, after if after is not None else -1


def main():
    p = argparse.ArgumentParser()
    p.add_argument("program")
    p.add_argument("station")
    p.add_argument("--runs", type=int, default=5)
    p.add_argument("--cpu", default="")
    p.add_argument("--grow-journal", type=int, default=0)
    p.add_argument("--settle", type=float, default=10.0)
    p.add_argument("--window", action="store_true",
                   help="start with the main window and time to the first paint of the call overview")
    a = p.parse_args()
    station = os.path.abspath(a.station)
    results = []
    for i in range(a.runs):
        appended = grow_journal(os.path.join(station, "WSJT-X", "ALL.TXT"), a.grow_journal) if a.grow_journal else 0
        r = one_run(os.path.abspath(a.program), station, a.cpu, a.settle, a.window)
        results.append(r)
        print(f"run {i + 1}: ready {r[0] * 1000:.0f} ms, cat {r[1] * 1000:.0f} ms, "
              f"read after ready {r[2] / 1e6:.2f} MB, in all {r[4] / 1e6:.2f} MB "
              f"(journal appended {appended / 1e6:.2f} MB), "
              f"close {r[3] * 1000:.0f} ms", flush=True)
    med = [statistics.median(x[i] for x in results) for i in range(5)]
    print(f"median of {a.runs}{' on CPU ' + a.cpu if a.cpu else ''}: ready {med[0] * 1000:.0f} ms, "
          f"cat {med[1] * 1000:.0f} ms, read after ready {med[2] / 1e6:.2f} MB, in all {med[4] / 1e6:.2f} MB, "
          f"close {med[3] * 1000:.0f} ms")


if __name__ == "__main__":
    sys.exit(main())
