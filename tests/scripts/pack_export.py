#!/usr/bin/env python3
"""pallo-check --export, read back with zipfile: the demo pack and the full
generated pack give exactly Cfg.ini (without [Config] X and Y), README.txt,
the used pictures byte for byte and the program files; twice the same bytes;
refusals leave no file behind.

    pack_export.py PALLO_CHECK DEMO_DIR [MAKE_FULL_PACK]
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

CHECK, DEMO = sys.argv[1], sys.argv[2]
MAKE_FULL = sys.argv[3] if len(sys.argv) > 3 else ""
failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def export(out, pack, *extra):
    return subprocess.run([CHECK, "--export", out, pack, *extra], capture_output=True, text=True)


def without_place(cfg):
    """The Cfg.ini bytes with [Config]'s X and Y lines left out, by hand."""
    out, section = [], None
    for line in cfg.splitlines(keepends=True):
        m = re.match(rb"\s*\[([^\]]*)\]", line)
        if m:
            section = m.group(1).strip().lower()
        elif section == b"config" and re.match(rb"\s*[xyXY]\s*(=|\r|\n|$)", line):
            continue
        out.append(line)
    return b"".join(out)


def read_ini(path):
    """Lower-cased section -> lower-cased key -> value; the first of each wins."""
    sections, current = {}, None
    with open(path, "rb") as f:
        for line in f.read().decode("utf-8-sig").splitlines():
            line = line.strip()
            if line.startswith("["):
                current = sections.setdefault(line[1:line.rfind("]")].strip().lower(), {})
            elif current is not None and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                current.setdefault(key.strip().lower(), value.strip())
    return sections


def used_pictures(pack):
    """Entry name -> file: the menu pictures, each child's picture (a Link 2
    child's stand-in entry's, in the topic's folder) and the catalogs'."""
    ini = read_ini(os.path.join(pack, "Cfg.ini"))
    catalogs = {c: {int(k): v.split("|")[0] for k, v in ini.get(c.lower(), {}).items() if k.isdigit()}
                for c in ("Item", "Hero")}
    used = {f"Img/{c}/{p}" for c, entries in catalogs.items() for p in entries.values() if p}
    for i in range(1, 11):
        topic = ini.get(str(i), {})
        name = topic.get("name", "")
        if len(name) > 1 and len(topic.get("pic", "")) > 3:
            used.add(f"Img/Menu/{topic['pic']}")
        for key, value in topic.items():
            if not key.isdigit():
                continue
            parts = value.split("|")
            ids = [int(m) for m in (parts[3] if len(parts) > 3 else "").split(",") if m.strip().isdigit()]
            first = next((m for m in ids if m > 0), 0)
            stand_in = catalogs.get(topic.get("in"), {}).get(first) if topic.get("link") == "2" else None
            if stand_in or parts[0]:
                used.add(f"Img/{name}/{stand_in or parts[0]}")
    return {n: os.path.join(pack, *n.split("/")) for n in used}


def check_pack(name, pack, tmp):
    """Exports pack (with an unused picture and program files added) and reads it back."""
    used = used_pictures(pack)
    unused = os.path.join(pack, "Img", "Menu", "unused.png")
    shutil.copy(next(iter(used.values())), unused)
    bin_dir = os.path.join(tmp, name + "-bin")
    os.makedirs(bin_dir)
    programs = {"pallo.exe": b"MZ program", "pallo-check.exe": b"MZ checker"}
    for n, data in programs.items():
        with open(os.path.join(bin_dir, n), "wb") as f:
            f.write(data)
    out = os.path.join(tmp, name + ".zip")
    r = export(out, pack, "--with-exe", os.path.join(bin_dir, "pallo.exe"))
    expect(r.returncode == 0, f"{name}: exit {r.returncode}: {r.stdout}{r.stderr}")
    if r.returncode != 0:
        return
    with zipfile.ZipFile(out) as z:
        names = z.namelist()
        expect(names == sorted(names), f"{name}: entries not in name order")
        expect(set(names) == {"Cfg.ini", "README.txt", *programs, *used},
               f"{name}: entries {sorted(set(names) ^ {'Cfg.ini', 'README.txt', *programs, *used})[:5]} differ")
        expect(z.testzip() is None, f"{name}: a CRC does not match")
        for n, path in used.items():
            with open(path, "rb") as f:
                expect(z.read(n) == f.read(), f"{name}: {n} differs from the original")
            expect(z.getinfo(n).compress_type == zipfile.ZIP_STORED, f"{name}: {n} is not stored")
        for n, data in programs.items():
            expect(z.read(n) == data, f"{name}: {n} differs")
        with open(os.path.join(pack, "Cfg.ini"), "rb") as f:
            cfg = f.read()
        expect(z.read("Cfg.ini") == without_place(cfg), f"{name}: Cfg.ini is not the file without X and Y")
        expect(z.read("Cfg.ini") != cfg, f"{name}: Cfg.ini kept its X and Y")
        expect(z.getinfo("Cfg.ini").compress_type == zipfile.ZIP_DEFLATED, f"{name}: Cfg.ini not deflated")
        readme = z.read("README.txt").decode("utf-8-sig")
        expect("pallo.exe" in readme and "pallo-check.exe" in readme and "content guide" in readme,
               f"{name}: README.txt lacks how to start and check")
        expect({i.date_time for i in z.infolist()} == {(1980, 1, 1, 0, 0, 0)}, f"{name}: dates are not fixed")
    again = os.path.join(tmp, name + "-again.zip")
    export(again, pack, "--with-exe", os.path.join(bin_dir, "pallo.exe"))
    with open(out, "rb") as a, open(again, "rb") as b:
        expect(a.read() == b.read(), f"{name}: two exports differ")
    if shutil.which("unzip"):
        t = subprocess.run(["unzip", "-tq", out], capture_output=True, text=True)
        expect(t.returncode == 0, f"{name}: unzip -t: {t.stdout}{t.stderr}")


def check_refusals(tmp):
    pack = os.path.join(tmp, "refused")
    shutil.copytree(DEMO, pack)
    # Targets that cannot be written: a folder, a file in no folder, and
    # (unless root, who may write anyway) a file in a read-only folder.
    folder, locked = os.path.join(tmp, "is-a-folder"), os.path.join(tmp, "read-only")
    os.makedirs(folder)
    os.makedirs(locked)
    targets = [folder, os.path.join(tmp, "no", "such", "folder.zip")]
    if os.geteuid() != 0:
        os.chmod(locked, 0o555)
        targets.append(os.path.join(locked, "pack.zip"))
    for target in targets:
        r = export(target, pack)
        expect(r.returncode == 4 and "No file was left behind" in r.stderr, f"unwritable {target}: {r.returncode} {r.stderr}")
    os.chmod(locked, 0o755)
    expect(sorted(os.listdir(tmp)) == ["is-a-folder", "read-only", "refused"] and os.listdir(folder) == []
           and os.listdir(locked) == [], "a file was left behind")
    os.remove(os.path.join(pack, "Img", "Menu", "maps.png"))
    out = os.path.join(tmp, "missing.zip")
    r = export(out, pack)
    expect(r.returncode == 2 and "maps.png" in r.stdout and "[picture-missing]" in r.stdout,
           f"missing picture: exit {r.returncode}: {r.stdout}")
    expect(not os.path.exists(out), "a pack with errors was exported")


with tempfile.TemporaryDirectory() as tmp:
    demo = os.path.join(tmp, "demo")
    shutil.copytree(DEMO, demo)
    check_pack("demo", demo, tmp)
    if MAKE_FULL:
        full = os.path.join(tmp, "full")
        subprocess.run([MAKE_FULL, full, "16"], check=True)  # its shape, small pictures
        check_pack("full", full, tmp)
    refusals = os.path.join(tmp, "refusals")
    os.makedirs(refusals)
    check_refusals(refusals)

print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
