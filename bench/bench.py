#!/usr/bin/env python3
"""Silent-install benchmark: our setup against NSIS and a floor program, the
64-bit builds and (with --win32) the 32-bit ones, the shipped setup against
NSIS's x86 Unicode target, all in one rotation.

Run through `./dev.sh bench`, which installs the tools, builds the programs,
starts one Wine server and Xvfb and exports WINE, WINEPREFIX and the rest.

Every contender is built from the same payload on this machine and installed
silently into a fresh folder, the contenders taking turns (A B C A B C ...)
so that a burst of load from other work hits all of them alike. The tables give
medians; the per-run numbers go to OUT/runs.json.

Usage: bench.py --root REPO --out OUTDIR [--build ORVALIS_OUT] [--runs N] [--scale S] [--skip-big] [--msi]
                [--win32] [--chunks N,N...] [--report-only]
"""
import argparse
import hashlib
import json
import os
import platform
import shutil
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def log(text):
    print("== " + text, file=sys.stderr, flush=True)


def sh(*args, **kw):
    return subprocess.run(list(args), check=True, **kw)


def timed(args, **kw):
    """Runs a Linux command; returns seconds of wall-clock time."""
    t0 = time.perf_counter()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, **kw)
    return time.perf_counter() - t0


# ------------------------------------------------------------------ processes

def cpu_seconds(pid):
    """User + system CPU seconds of a live process, or None."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    except (OSError, ValueError, IndexError):
        return None


def find_wineserver(prefix):
    """The wineserver of this prefix: its working folder is named after the
    prefix's device and inode (server-<dev>-<inode>)."""
    st = os.stat(prefix)
    want = "server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            if os.path.basename(os.readlink("/proc/%s/cwd" % pid)) == want:
                with open("/proc/%s/comm" % pid) as f:
                    if f.read().strip().startswith("wineserver"):
                        return int(pid)
        except OSError:
            pass
    return None


class Runner:
    """Starts Windows programs in the bench's Wine and measures each run."""

    def __init__(self, wine, prefix, xvfb_pid):
        self.wine = wine
        # wine64 hands a 32-bit program to a second process (start.exe
        # /exec); the 32-bit loader runs it in the process it measures.
        self.wine32 = os.path.join(os.path.dirname(wine), "wine")
        self.prefix = prefix
        self.server = find_wineserver(prefix)
        self.xvfb = xvfb_pid

    def run(self, args, capture=False, bits=64):
        """One run: wall-clock seconds; peak resident set of the process (MiB,
        wait4's ru_maxrss, the kernel's VmHWM: the Wine loader runs the Windows
        program in the same Linux process, so that is the program's own peak,
        Wine's DLLs and the mapped setup image included); the largest private
        (anonymous) resident memory seen by sampling /proc/PID/status every
        5 ms; its CPU seconds, and the CPU seconds that the wineserver and the
        X server spent meanwhile."""
        server0 = cpu_seconds(self.server) if self.server else None
        x0 = cpu_seconds(self.xvfb) if self.xvfb else None
        out = open(os.devnull, "wb") if not capture else subprocess.PIPE
        t0 = time.perf_counter()
        loader = self.wine32 if bits == 32 else self.wine
        proc = subprocess.Popen([loader] + args, stdout=out, stderr=subprocess.DEVNULL)
        peak = {"anon": 0}
        done = threading.Event()

        def sample():
            path = "/proc/%d/status" % proc.pid
            while not done.is_set():
                try:
                    with open(path) as f:
                        for line in f:
                            if line.startswith("RssAnon:"):
                                peak["anon"] = max(peak["anon"], int(line.split()[1]))
                                break
                except (OSError, ValueError):
                    pass
                done.wait(0.005)

        sampler = threading.Thread(target=sample, daemon=True)
        sampler.start()
        text = proc.stdout.read().decode(errors="replace") if capture else ""
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - t0
        done.set()
        sampler.join()
        proc.returncode = os.waitstatus_to_exitcode(status)
        server1 = cpu_seconds(self.server) if self.server else None
        x1 = cpu_seconds(self.xvfb) if self.xvfb else None
        return {
            "wall": wall,
            "rss_mib": usage.ru_maxrss / 1024.0,
            "anon_mib": peak["anon"] / 1024.0,
            "cpu": usage.ru_utime + usage.ru_stime,
            "server_cpu": (server1 - server0) if server0 is not None and server1 is not None else None,
            "x_cpu": (x1 - x0) if x0 is not None and x1 is not None else None,
            "exit": proc.returncode,
            "stdout": text.strip(),
        }

    def unix(self, windows_path):
        """C:\\bench\\x -> the folder inside the prefix."""
        assert windows_path[:3].upper() == "C:\\"
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))


# ------------------------------------------------------------------ payloads

def make_payload(out, scale):
    stamp = out + ".made"  # beside the tree: everything inside it is packed
    want = "make-payload.py --scale %s" % scale
    if os.path.exists(stamp) and open(stamp).read() == want:
        return
    shutil.rmtree(out, ignore_errors=True)
    log("generating the payload (%s)" % want)
    sh(sys.executable, "/work/shared/bench/make-payload.py", out, "--scale", str(scale))
    open(stamp, "w").write(want)


def make_big_text(out, megabytes=200):
    """One deterministic text of `megabytes` MiB that zlib compresses about 11
    times: numbered records with a few random fields and a constant remark."""
    import random
    path = os.path.join(out, "BIG.TXT")
    stamp = out + ".made"
    want = "big text %d MiB v1" % megabytes
    if os.path.exists(stamp) and open(stamp).read() == want:
        return
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    log("generating the large text (%d MiB)" % megabytes)
    rng = random.Random(20261208)
    status = ["open", "closed", "paid", "pending"]
    region = ["Amsterdam", "Utrecht", "Rotterdam", "Zwolle"]
    total = megabytes * 1024 * 1024
    written, i = 0, 0
    with open(path, "wb") as f:
        while written < total:
            lines = []
            for _ in range(20000):
                lines.append("record %08d status=%s region=%s amount=%d.%02d note=processed by the nightly batch "
                             "without remarks\r\n" % (i, rng.choice(status), rng.choice(region),
                                                      rng.randrange(1000000), rng.randrange(100)))
                i += 1
            block = "".join(lines).encode("ascii")[: total - written]
            f.write(block)
            written += len(block)
    open(stamp, "w").write(want)


def payload_files(root):
    """Relative paths (with "\\") and sizes of every file under root."""
    files = []
    for folder, dirs, names in os.walk(root):
        dirs.sort()
        for name in sorted(names):
            full = os.path.join(folder, name)
            files.append((os.path.relpath(full, root).replace(os.sep, "\\"), full))
    return files


# ------------------------------------------------------------------ contenders

NSI = r"""; Generated by bench.py: the same payload as an NSIS installer.
Unicode true
Target {target}
SetCompressor zlib
Name "Bench"
OutFile "{out}"
InstallDir "C:\bench\nsis"
RequestExecutionLevel user
ShowInstDetails nevershow
Section
  SetOutPath "$INSTDIR"
  File /r "{payload}/*.*"
  ; what our unattended run records as well: a few per-user values
  WriteRegStr HKCU "Software\Bench" "Path" "$INSTDIR"
  WriteRegDWORD HKCU "Software\Bench" "ReleaseNotes" 1
  WriteRegStr HKCU "Software\Bench" "Language" "NLD"
SectionEnd
"""


def write_wxs(path, payload, name):
    """A .wxs for wixl: one component per file, installed under INSTALLDIR."""
    import uuid
    from xml.sax.saxutils import quoteattr
    ns = uuid.UUID("6f1f3c52-8a0e-4a55-9a56-1c1b7bde0b11")
    files = payload_files(payload)
    tree = {}
    for rel, full in files:
        parts = rel.split("\\")
        node = tree
        for part in parts[:-1]:
            node = node.setdefault(part, {})
        node.setdefault("", []).append((parts[-1], full, rel))
    lines, refs, counter = [], [], [0]

    def emit(node, indent, dir_path):
        for leaf, full, rel in node.get("", []):
            counter[0] += 1
            n = counter[0]
            guid = str(uuid.uuid5(ns, name + "/" + rel)).upper()
            # wixl takes sources relative to the folder it runs in (the payload).
            source = os.path.relpath(full, payload)
            lines.append('%s<Component Id="c%d" Guid="%s" Win64="yes"><File Id="f%d" Name=%s Source=%s KeyPath="yes"/></Component>'
                         % (indent, n, guid, n, quoteattr(leaf), quoteattr(source)))
            refs.append("c%d" % n)
        for sub in sorted(k for k in node if k):
            counter[0] += 1
            lines.append('%s<Directory Id="d%d" Name=%s>' % (indent, counter[0], quoteattr(sub)))
            emit(node[sub], indent + "  ", dir_path + "\\" + sub)
            lines.append("%s</Directory>" % indent)

    emit(tree, "          ", "")
    product = str(uuid.uuid5(ns, name + "/product")).upper()
    upgrade = str(uuid.uuid5(ns, name + "/upgrade")).upper()
    text = """<?xml version="1.0" encoding="utf-8"?>
<!-- Generated by bench.py: the same payload as a Windows Installer package. -->
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="%s" Name="Bench %s" Language="1033" Version="1.0.0" Manufacturer="Bench" UpgradeCode="%s">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="payload.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLDIR" Name="Bench">
%s
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1">
%s
    </Feature>
  </Product>
</Wix>
""" % (product, name, upgrade, "\n".join(lines), "\n".join('      <ComponentRef Id="%s"/>' % r for r in refs))
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def build(build_dir, work, payload, program, floor=True, msi=True, win32=False):
    """Packs every contender from `payload` into `work` (with win32, the
    32-bit ones too); returns the pack times (seconds) and the setup sizes
    (bytes)."""
    os.makedirs(work, exist_ok=True)
    pack = os.path.join(build_dir, "linux/orvalis-pack")
    disk_id = os.path.join(work, "DISK.ID")
    with open(disk_id, "w", newline="") as f:
        f.write("Product=Bench\r\nProgram=%s\r\n" % program)
    times, sizes = {}, {}
    exe = os.path.join(work, "ours.exe")
    for bits in (64, 32) if win32 else (64,):
        tree, suffix = ("win64", "") if bits == 64 else ("win32", "32")
        exe = os.path.join(work, "ours%s.exe" % suffix)
        times["ours" + suffix] = timed([pack, "--stub", os.path.join(build_dir, tree, "OrvalisSetup.exe"),
                                        "--descriptor", disk_id, "--files", payload, "-o", exe])
        sizes["ours" + suffix] = os.path.getsize(exe)
        if floor:
            exe = os.path.join(work, "floor%s.exe" % suffix)
            timed([pack, "--stub", os.path.join(build_dir, tree, "orvalis-bench-floor.exe"), "--descriptor", disk_id,
                   "--files", payload, "-o", exe])
            sizes["floor" + suffix] = os.path.getsize(exe)
        nsi = os.path.join(work, "bench%s.nsi" % suffix)
        with open(nsi, "w") as f:
            f.write(NSI.format(out=os.path.join(work, "nsis%s.exe" % suffix), payload=payload,
                               target="amd64-unicode" if bits == 64 else "x86-unicode"))
        times["nsis" + suffix] = timed(["makensis", "-V1", "-NOCD", nsi])
        sizes["nsis" + suffix] = os.path.getsize(os.path.join(work, "nsis%s.exe" % suffix))
    if msi:
        wxs = os.path.join(work, "bench.wxs")
        write_wxs(wxs, payload, os.path.basename(work))
        times["msi"] = timed(["wixl", "-a", "x64", "-o", os.path.join(work, "bench.msi"), wxs], cwd=payload)
        sizes["msi"] = os.path.getsize(os.path.join(work, "bench.msi"))
    return times, sizes


def bits_of(kind):
    """The 32-bit contenders' names end in 32: ours32, nsis32, floor32."""
    return 32 if kind.endswith("32") else 64


def contender_args(kind, work, target):
    z = lambda p: "Z:" + p.replace("/", "\\")
    if kind in ("ours", "ours32"):
        return [os.path.join(work, kind + ".exe"), "/U", "/P:" + target]
    if kind in ("nsis", "nsis32"):
        return [os.path.join(work, kind + ".exe"), "/S", "/D=" + target]
    if kind == "msi":
        return ["msiexec", "/qn", "/i", z(os.path.join(work, "bench.msi")), "INSTALLDIR=" + target]
    mode, extra = FLOORS[kind]
    exe = "floor32.exe" if bits_of(kind) == 32 else "floor.exe"
    return [os.path.join(work, exe), mode, target] + extra


# Floor variants: mode and options (see bench/floor/floor.cpp); --chunks adds
# "floor-c<bytes>" variants.
FLOORS = {
    "floor": ("stream", []),
    "floor32": ("stream", []),
    "floor-window": ("stream", ["--window"]),
    "floor-none": ("none", []),
}


def floor_kind(kind):
    """Registers a floor variant named floor-c<bytes> with that chunk size."""
    if kind.startswith("floor-c") and kind not in FLOORS:
        FLOORS[kind] = ("stream", ["--chunk=" + kind[len("floor-c"):]])
    return kind


def after_run(runner, kind, work, target):
    """Puts the machine back as it was: the MSI's product registration goes with
    an uninstall (not timed); the install folder is deleted."""
    if kind == "msi":
        subprocess.run([runner.wine, "msiexec", "/qn", "/x", "Z:" + os.path.join(work, "bench.msi").replace("/", "\\")],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shutil.rmtree(runner.unix(target), ignore_errors=True)


_digests = {}


def digest(path, cache=False):
    if cache and path in _digests:
        return _digests[path]
    h = hashlib.sha1()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    if cache:
        _digests[path] = h.hexdigest()
    return h.hexdigest()


def verify(runner, kind, target, payload):
    """The installed tree holds every payload file with the same bytes (names
    compared without case: our setup writes display names)."""
    folder = runner.unix(target)
    installed = {}
    for rel, full in payload_files(folder):
        installed[rel.upper()] = full
    problems = []
    for rel, full in payload_files(payload):
        got = installed.pop(rel.upper(), None)
        if got is None:
            problems.append("missing " + rel)
        elif os.path.getsize(got) != os.path.getsize(full) or digest(got) != digest(full, cache=True):
            problems.append("differs " + rel)
    extra = sorted(installed)
    if problems or extra:
        raise SystemExit("bench: %s installed a wrong tree: %s%s" % (kind, "; ".join(problems[:5]),
                                                                      " extra: %s" % extra[:5] if extra else ""))


def rounds(runner, kinds, work, payload, runs, label):
    """One warm-up round (checked against the payload), then `runs` rounds in
    turn. Returns {kind: [run, ...]}."""
    results = {k: [] for k in kinds}
    counter = 0
    for r in range(runs + 1):
        for kind in kinds:
            counter += 1
            target = "C:\\bench\\%s-%s-%d" % (label, kind, counter)
            shutil.rmtree(runner.unix(target), ignore_errors=True)
            res = runner.run(contender_args(kind, work, target), capture=kind.startswith("floor"), bits=bits_of(kind))
            res["load"] = os.getloadavg()[0]
            if r == 0:
                if FLOORS.get(kind, ("", []))[0] != "none":
                    verify(runner, kind, target, payload)
                log("%s: warm-up %s %.2f s, tree checked" % (label, kind, res["wall"]))
            else:
                results[kind].append(res)
                log("%s: round %d %s %.2f s" % (label, r, kind, res["wall"]))
            after_run(runner, kind, work, target)
    return results


# ------------------------------------------------------------------ report

def med(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def fmt(v, pattern="%.2f"):
    return "-" if v is None else pattern % v


def floor_profile(runs):
    """The floor's own phase times (median per field) from its output line."""
    fields = {}
    for r in runs:
        for part in r["stdout"].split():
            if "=" in part:
                k, v = part.split("=", 1)
                try:
                    value = float(v)
                except ValueError:
                    continue
                fields.setdefault(k, []).append(value)
    return {k: statistics.median(v) for k, v in fields.items()}


def machine():
    cpu = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    free = subprocess.run(["free", "-h"], capture_output=True, text=True).stdout.strip()
    return {"cpu": cpu, "nproc": os.cpu_count(), "free": free, "kernel": platform.release()}


def wine_version(wine):
    try:
        return subprocess.run([wine, "--version"], capture_output=True, text=True).stdout.strip()
    except OSError:
        return "?"


def unmanaged(prefix):
    """Whether the prefix has Managed=N for Wine's X11 driver, as the tests have."""
    try:
        text = open(os.path.join(prefix, "user.reg"), encoding="utf-8", errors="replace").read()
    except OSError:
        return False
    at = text.find("[Software\\\\Wine\\\\X11 Driver]")
    return at >= 0 and '"Managed"="N"' in text[at:].split("\n\n", 1)[0]


def table(title, results, names):
    rows = ["| contender | median s | min s | max s | CPU s (process) | wineserver CPU s | peak RSS MiB | peak private MiB |",
            "|---|---:|---:|---:|---:|---:|---:|---:|"]
    for kind in results:
        runs = results[kind]
        walls = [r["wall"] for r in runs]
        rows.append("| %s | %s | %s | %s | %s | %s | %s | %s |" % (
            names.get(kind, kind), fmt(med(walls)), fmt(min(walls)), fmt(max(walls)),
            fmt(med([r["cpu"] for r in runs])), fmt(med([r["server_cpu"] for r in runs])),
            fmt(max(r["rss_mib"] for r in runs), "%.0f"), fmt(max(r.get("anon_mib", 0) for r in runs), "%.0f")))
    return "### %s\n\n%s\n" % (title, "\n".join(rows))


def stream_ratio(build_dir, work):
    """How far the packed streams of ours.exe compress, from orvalis-pack --list."""
    listing = subprocess.run([os.path.join(build_dir, "linux/orvalis-pack"), "--list", os.path.join(work, "ours.exe")],
                             capture_output=True, text=True).stdout
    for line in listing.splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[-1].upper() == "BIG.TXT" and parts[0].isdigit() and parts[1].isdigit():
            return "stream %.1f MB, compresses %.1f times" % (int(parts[0]) / 1e6, int(parts[1]) / int(parts[0]))
    return "compression unknown"


def ratio(results, a, b):
    if a not in results or b not in results:
        return None
    ma, mb = med([r["wall"] for r in results[a]]), med([r["wall"] for r in results[b]])
    return ma / mb if ma and mb else None


NAMES = {"ours": "ours (OrvalisSetup /U /P:)", "nsis": "NSIS zlib, /S /D=", "msi": "MSI (wixl), msiexec /qn /i",
         "floor": "floor (one pass, 128 KiB chunks, no window)",
         "ours32": "ours, 32-bit (the shipped OrvalisSetup /U /P:)", "nsis32": "NSIS zlib x86-unicode, /S /D=",
         "floor32": "floor, 32-bit",
         "floor-window": "floor + the setup's progress window",
         "floor-none": "floor: start, list payload, exit"}
# Goals: ours/NSIS per part, ours/floor, peak memory of the setup process.
GOALS = {"standard": 0.9, "big": 1.2}
GOAL_FLOOR = 1.1
GOAL_MIB = 100


def ratios(part, results, suffix=""):
    """The ratios of one build's contenders: suffix "" the 64-bit ones, "32" the 32-bit ones."""
    ours, nsis, floor = "ours" + suffix, "nsis" + suffix, "floor" + suffix
    rows = ["| ratio of medians | value | goal |", "|---|---:|---:|"]
    rows.append("| %s / %s | %s | <= %.1f |" % (ours, nsis, fmt(ratio(results, ours, nsis)), GOALS[part]))
    rows.append("| %s / %s | %s | <= %.1f |" % (ours, floor, fmt(ratio(results, ours, floor)), GOAL_FLOOR))
    if not suffix and "msi" in results:
        rows.append("| ours / MSI | %s | |" % fmt(ratio(results, "ours", "msi")))
    if not suffix and "floor-window" in results:
        rows.append("| ours / floor with window | %s | |" % fmt(ratio(results, "ours", "floor-window")))
    runs = results[ours]
    rows.append("| %s: peak RSS, MiB | %.0f | <= %d |" % (ours, max(r["rss_mib"] for r in runs), GOAL_MIB))
    rows.append("| %s: peak private memory, MiB | %.0f | <= %d |" % (ours, max(r.get("anon_mib", 0) for r in runs),
                                                                     GOAL_MIB))
    return "\n".join(rows) + "\n"


def split_bits(results):
    """The 64-bit contenders' results and the 32-bit ones'."""
    return ({k: v for k, v in results.items() if bits_of(k) == 64},
            {k: v for k, v in results.items() if bits_of(k) == 32})


def floor_lines(results):
    lines = []
    for kind in results:
        if not kind.startswith("floor") or kind == "floor-none":
            continue
        p = floor_profile(results[kind])
        lines.append("- %s: inflate %s ms, write %s ms, create %s ms, close %s ms, folders %s ms, paint %s ms "
                     "(%s repaints); %.1f MB inflated" % (
                         NAMES.get(kind, kind), fmt(p.get("inflate_ms"), "%.0f"), fmt(p.get("write_ms"), "%.0f"),
                         fmt(p.get("create_ms"), "%.0f"), fmt(p.get("close_ms"), "%.0f"),
                         fmt(p.get("folders_ms"), "%.0f"), fmt(p.get("paint_ms"), "%.0f"),
                         fmt(p.get("repaints"), "%.0f"), p.get("inflated", 0) / 1e6))
    return "\n".join(lines) + "\n"


def report(state):
    """The tables of one run, in Markdown."""
    m = state["machine"]
    every, big = state["standard"], state["big"]
    sizes, pack_times = state["sizes"], state["pack_times"]
    report = []
    report.append("## Last run: %s\n" % state["started"])
    report.append("Machine: %s, nproc %s, kernel %s, %s; the prefix has Managed=N: %s. %d runs per contender "
                  "after one warm-up, in turn.\n" % (m["cpu"], m["nproc"], m["kernel"], m.get("wine", "?"),
                                                     "yes" if m.get("unmanaged") else "NO", state["runs"]))
    report.append("Load average (1, 5, 15 min) before: %s; after: %s.\n" % (" ".join(state["load_before"]), " ".join(state["load_after"])))
    report.append("Payload: make-payload.py --scale %s, %d files, %.1f MB.\n" % (state["scale"], state["files"], state["payload_bytes"] / 1e6))
    every64, every32 = split_bits(every)
    report.append(table("Silent install of the reference payload, 64-bit", every64, NAMES))
    report.append(ratios("standard", every))
    if every32:
        report.append(table("Silent install of the reference payload, 32-bit", every32, NAMES))
        report.append(ratios("standard", every, "32"))
    report.append("| package | setup size MB | pack time s |\n|---|---:|---:|")
    for kind in ("ours", "nsis", "msi", "floor", "ours32", "nsis32", "floor32"):
        if kind in sizes:
            report.append("| %s | %.2f | %s |" % (kind, sizes[kind] / 1e6, fmt(pack_times.get(kind))))
    report.append("")
    report.append("Floor's own phase times, median:\n")
    report.append(floor_lines(every))
    if big:
        big64, big32 = split_bits(big)
        title = "One %d MiB text alone (%s)" % (state["big_mib"], state["big_stream"])
        report.append(table(title + ", 64-bit", big64, NAMES))
        report.append(ratios("big", big))
        if big32:
            report.append(table(title + ", 32-bit", big32, NAMES))
            report.append(ratios("big", big, "32"))
        report.append("| package | setup size MB | pack time s |\n|---|---:|---:|")
        for kind in ("ours", "nsis", "ours32", "nsis32"):
            if kind in state["big_sizes"]:
                report.append("| %s | %.2f | %s |" % (kind, state["big_sizes"][kind] / 1e6,
                                                     fmt(state["big_pack"].get(kind))))
        report.append("")
        report.append(floor_lines(big))
    return "\n".join(report)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--build", help="the build output (ORVALIS_OUT); ROOT/out by default")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--scale", default="1")
    ap.add_argument("--big-mib", type=int, default=200)
    ap.add_argument("--skip-big", action="store_true")
    ap.add_argument("--msi", action="store_true", help="also a Windows Installer package of the reference payload")
    ap.add_argument("--win32", action="store_true",
                    help="also the 32-bit setup, NSIS's x86-unicode target and the 32-bit floor, in the same rotation")
    ap.add_argument("--chunks", default="", help="floor variants with these chunk sizes (bytes, comma-separated)")
    ap.add_argument("--report-only", action="store_true", help="print the tables of OUT/runs.json again")
    args = ap.parse_args()
    out = os.path.abspath(args.out)
    if args.report_only:
        with open(os.path.join(out, "runs.json")) as f:
            state = json.load(f)
        print(report(state))
        return
    build_dir = os.path.abspath(args.build or os.environ.get("ORVALIS_OUT") or os.path.join(args.root, "out"))

    os.makedirs(out, exist_ok=True)
    runner = Runner(os.environ["WINE"], os.environ["WINEPREFIX"], int(os.environ.get("BENCH_XVFB_PID") or 0) or None)
    if runner.server is None:
        log("warning: the prefix's wineserver was not found; its CPU time is not reported")
    load_before = open("/proc/loadavg").read().split()[:3]
    started = time.strftime("%Y-%m-%d %H:%M:%S")
    m = machine()
    m["wine"] = wine_version(runner.wine)
    m["unmanaged"] = unmanaged(runner.prefix)
    if not m["unmanaged"]:
        log("warning: the prefix lacks Managed=N; every hidden window waits for a window manager")

    payload = os.path.join(out, "payload")
    make_payload(payload, args.scale)
    files = payload_files(payload)
    payload_bytes = sum(os.path.getsize(f) for _, f in files)
    log("building the contenders (%d files, %.1f MB)" % (len(files), payload_bytes / 1e6))
    std_work = os.path.join(out, "standard")
    pack_times, sizes = build(build_dir, std_work, payload, "PROGRAM.EXE", msi=args.msi, win32=args.win32)

    chunks = [floor_kind("floor-c%d" % int(c)) for c in args.chunks.split(",") if c.strip()]
    bits32 = ["ours32", "nsis32", "floor32"] if args.win32 else []
    kinds = ["ours", "nsis", "floor"] + bits32 + (["msi"] if args.msi else []) + ["floor-window", "floor-none"] + chunks
    every = rounds(runner, kinds, std_work, payload, args.runs, "std")

    big = None
    if not args.skip_big:
        big_payload = os.path.join(out, "bigpayload")
        make_big_text(big_payload, args.big_mib)
        log("building the large-file contenders")
        big_work = os.path.join(out, "big")
        big_pack, big_sizes = build(build_dir, big_work, big_payload, "BIG.TXT", msi=False, win32=args.win32)
        big = rounds(runner, ["ours", "nsis", "floor"] + bits32 + chunks, big_work, big_payload, args.runs, "big")

    load_after = open("/proc/loadavg").read().split()[:3]
    state = {"started": started, "load_before": load_before, "load_after": load_after, "machine": m,
             "runs": args.runs, "scale": args.scale, "files": len(files), "payload_bytes": payload_bytes,
             "standard": every, "pack_times": pack_times, "sizes": sizes, "big": big}
    if big:
        state.update({"big_mib": args.big_mib, "big_pack": big_pack, "big_sizes": big_sizes,
                      "big_stream": stream_ratio(build_dir, big_work)})
    with open(os.path.join(out, "runs.json"), "w") as f:
        json.dump(state, f, indent=1)
    text = report(state)
    print(text)
    with open(os.path.join(out, "last-run.md"), "w") as f:
        f.write(text + "\n")


if __name__ == "__main__":
    main()
