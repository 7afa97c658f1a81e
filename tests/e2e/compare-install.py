#!/usr/bin/env python3
"""A setup installed by `kpack install` into a host prefix must leave what it
leaves under Wine, installed through its wizard: the same files with the same
bytes, the same links pointing at the same files, and the same registry values.

    compare-install WINE_INSTALL KPACK SETUP WORKDIR

installs SETUP with KPACK into the fresh prefix WORKDIR/prefix, making the
choices the wizard made, and compares it with what the Wine end-to-end run kept
of its installation in WINE_INSTALL (wizard-e2e, with lib.sh's
e2e_wine_snapshot and e2e_wine_keep_changes):

    before/, after/     files.txt (path under drive_c, size, time) and the
                        exports HKLM.reg and HKCU.reg, taken just before the
                        setup started and just after it ended
    files/              a copy of every file the installation added or changed
    short-names.txt     "long<TAB>short" Windows path of each of those files
    choices             kpack's arguments for the wizard's choices

Wine's own prefix already holds keys and files of its own, so its side is the
difference between after and before; the host's machine starts with the owners
Wine's had of the extensions the installation changed, which the setup records
and lists. Both sides are one Windows machine seen
from two roots: the host prefix's drive_c and Wine's drive_c are both C:.
Paths are compared without regard to case, as Windows does; both sides' registry
exports are read with `kpack registry`. A value or a link
may name a file by its 8.3 short name on the Windows side where the host, whose
files have no short names, gives the long one (quoted when it holds a blank, so
that it still reads as one path).
"""

import hashlib
import json
import os
import shutil
import subprocess
import sys

# What Wine itself writes when the first window of a session opens, whatever
# the program: its display driver records the X screen as a video adapter and
# a monitor, with their device classes and today's driver date.
WINE_OWN_KEYS = (
    "hkey_local_machine\\hardware\\devicemap\\video",
    "hkey_local_machine\\system\\currentcontrolset\\",
)

HIVES = ("HKLM.reg", "HKCU.reg")
CLASSES = "HKEY_LOCAL_MACHINE\\Software\\Classes"


def read_reg(kpack, path):
    """The values of a registry export as kpack registry reads it, as
    {(key, name) in lower case: (key, name, data)}: the data of REG_SZ and
    REG_EXPAND_SZ as text, of any other type as "TYPE:DATA" (dword as a number)."""
    done = subprocess.run([kpack, "registry", path], capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        sys.exit(f"kpack registry {path} failed ({done.returncode}): {done.stderr.strip()}")
    values = {}
    for key in json.loads(done.stdout)["keys"]:
        for value in key["values"]:
            data = value["data"]
            if value["type"] not in ("REG_SZ", "REG_EXPAND_SZ"):
                data = f"{value['type']}:{json.dumps(data)}"
            values[(key["key"].lower(), value["name"].lower())] = (key["key"], value["name"], data)
    return values


def wine_values(kpack, snapshot):
    """All values after the installation, those it added or changed, and those
    it removed."""
    everything, added, removed = {}, {}, {}
    for hive in HIVES:
        before = read_reg(kpack, os.path.join(snapshot, "before", hive))
        after = read_reg(kpack, os.path.join(snapshot, "after", hive))
        everything.update(after)
        for k, v in after.items():
            if k not in before or before[k][2] != v[2]:
                added[k] = v
        for k, v in before.items():
            if k not in after:
                removed[k] = v
    return everything, added, removed


def wine_own(key):
    return key.lower().startswith(WINE_OWN_KEYS)


def read_short_names(snapshot):
    pairs = []
    with open(os.path.join(snapshot, "short-names.txt"), encoding="utf-8") as f:
        for line in f:
            long, _, short = line.rstrip("\n").partition("\t")
            if short and short.lower() != long.lower():
                pairs.append((long, short))
    # The longest first, so that a folder never replaces part of a file's path.
    return sorted(pairs, key=lambda p: -len(p[0]))


def windows_forms(text, short_names):
    """The ways the Windows side may write a host text: as it is, or with its
    paths in 8.3 form, then needing no quotes."""
    quoted, bare = text, text
    for long, short in short_names:
        quoted = quoted.replace(f'"{long}"', short).replace(long, short)
        bare = bare.replace(long, short)
    return {text, quoted, bare}


def files_of(listing):
    """{path under drive_c: (size, time)} of a files.txt."""
    files = {}
    with open(listing, encoding="utf-8", errors="surrogateescape") as f:
        for line in f:
            path, size, time = line.rstrip("\n").rsplit("\t", 2)
            files[path] = (size, time)
    return files


def added_files(snapshot):
    before = files_of(os.path.join(snapshot, "before", "files.txt"))
    after = files_of(os.path.join(snapshot, "after", "files.txt"))
    root = os.path.join(snapshot, "files")
    return {p.lower(): (p, os.path.join(root, p)) for p, facts in after.items()
            if before.get(p) != facts}


def host_files(prefix):
    root = os.path.join(prefix, "drive_c")
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.relpath(os.path.join(folder, name), root)
            files[path.lower()] = (path, os.path.join(folder, name))
    return files


def link_target(path):
    """The local path a link points at, as an independent reader sees it."""
    out = subprocess.run(["lnkinfo", path], capture_output=True, text=True, timeout=30)
    for line in out.stdout.splitlines():
        if line.strip().startswith("Local path"):
            return line.split(":", 1)[1].strip()
    return f"<no local path: {out.stdout.strip() or out.stderr.strip()}>"


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def compare_files(wine, host, short_names, findings):
    links = 0
    for k in sorted(set(wine) | set(host)):
        if k not in host:
            findings.append(f"file only under Wine: {wine[k][0]}")
        elif k not in wine:
            findings.append(f"file only on the host: {host[k][0]}")
        elif k.endswith(".lnk"):
            links += 1
            h, w = link_target(host[k][1]), link_target(wine[k][1])
            if w not in windows_forms(h, short_names):
                findings.append(f"link {host[k][0]}: host {h!r}, Wine {w!r}")
        elif digest(host[k][1]) != digest(wine[k][1]):
            findings.append(f"file {host[k][0]} differs")
    return links


def compare_registry(wine_after, added, removed, host, short_names, findings):
    for k, (key, name, data) in sorted(host.items()):
        other = wine_after.get(k)
        if other is None:
            findings.append(f"value only on the host: [{key}] {name or '@'} = {data!r}")
        elif other[2] not in windows_forms(data, short_names):
            findings.append(f"value [{key}] {name or '@'}: host {data!r}, Wine {other[2]!r}")
    for k, (key, name, data) in sorted(added.items()):
        if k not in host and not wine_own(key):
            findings.append(f"value only under Wine: [{key}] {name or '@'} = {data!r}")
    for k, (key, name, data) in sorted(removed.items()):
        if not wine_own(key):
            findings.append(f"value removed under Wine: [{key}] {name or '@'}")


def prior_owners(kpack, snapshot):
    """The extensions the installation changed that Wine's prefix had before it,
    with the ProgID that owned each then: a fresh Wine prefix owns some (.txt,
    .ini), the host's emulated machine none, and the setup records and gives
    back what it finds."""
    _, added, removed = wine_values(kpack, snapshot)
    touched = set()
    for key, _, _ in list(added.values()) + list(removed.values()):
        if key.lower().startswith(CLASSES.lower() + "\\."):
            touched.add(CLASSES + "\\" + key[len(CLASSES) + 1:].split("\\")[0])
    before = {}
    for hive in HIVES:
        before.update(read_reg(kpack, os.path.join(snapshot, "before", hive)))
    owners = []
    for key in sorted(touched):
        value = before.get((key.lower(), ""))
        if value is not None and value[2] and not value[2].startswith("REG_"):
            owners.append((key, value[2]))
    return owners


def seed_registry(prefix, owners):
    """Starts the host machine with those owners, as a registry export."""
    os.makedirs(prefix, exist_ok=True)
    text = "Windows Registry Editor Version 5.00\r\n"
    for key, owner in owners:
        escaped = owner.replace("\\", "\\\\").replace('"', '\\"')
        text += f"\r\n[{key}]\r\n@=\"{escaped}\"\r\n"
    with open(os.path.join(prefix, "registry.reg"), "wb") as f:
        f.write(b"\xff\xfe" + (text + "\r\n").encode("utf-16-le"))


def kpack_install(kpack, setup, prefix, choices, owners):
    shutil.rmtree(prefix, ignore_errors=True)
    seed_registry(prefix, owners)
    done = subprocess.run([kpack, "install", setup, "--prefix", prefix, *choices],
                          capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        sys.exit(f"kpack install failed ({done.returncode}):\n{done.stdout}{done.stderr}")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__.split("\n\n")[1])
    snapshot, kpack, setup, work = sys.argv[1:]
    if not os.path.isfile(os.path.join(snapshot, "choices")):
        sys.exit(f"{snapshot} holds no installation under Wine: run wizard-e2e wine first")
    with open(os.path.join(snapshot, "choices"), encoding="utf-8") as f:
        choices = f.read().split()
    prefix = os.path.join(work, "prefix")
    kpack_install(kpack, setup, prefix, choices, prior_owners(kpack, snapshot))

    short_names = read_short_names(snapshot)
    findings = []
    wine = added_files(snapshot)
    links = compare_files(wine, host_files(prefix), short_names, findings)
    host = read_reg(kpack, os.path.join(prefix, "registry.reg"))
    compare_registry(*wine_values(kpack, snapshot), host, short_names, findings)
    for finding in findings:
        print(finding, file=sys.stderr)
    if findings:
        return 1
    print(f"ok: {len(wine)} files ({links} of them links) and {len(host)} registry values "
          "are the same on the host and under Wine")
    return 0


if __name__ == "__main__":
    sys.exit(main())
