#!/usr/bin/env python3
"""Where the bytes of a MinGW program go, from the GNU linker's map file (-Wl,-Map=FILE).

    python3 bench/map-breakdown.py MAP [--members N] [--symbols N]

Prints the input sections that went into the image, summed three ways:
  by group    our code (the link-time optimised objects and any plain ones), the C++ runtime
              (libstdc++), libgcc, the threads library, the C runtime start-up and its
              helpers, import thunks, resources;
  by member   each object file, or each member of a library as "lib.a(member.o)";
  by symbol   the largest functions and data of the program's own objects, when they kept a
              section each (the link options ask the code generator for that).
Only sections of the image count: debug records and sections the linker dropped do not. The
sizes are of the sections as linked, before the file's alignment to 512 bytes, so the sum is a
little less than the unstripped file's loaded sections.
"""
import argparse
import collections
import os
import re
import subprocess
import sys

# An input section line: " .name  0xADDRESS  0xSIZE  file", the name sometimes on a line of its own.
ENTRY = re.compile(r"^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
NAME_ONLY = re.compile(r"^ (\.\S+)\s*$")
# Output sections that are no part of the loaded image.
NOT_IMAGE = (".debug", ".zdebug", ".stab", ".comment", ".gnu.lto", ".note")


def group_of(path):
    base = os.path.basename(path)
    member = re.match(r"^(.*)\((.*)\)$", base)
    lib = member.group(1) if member else None
    if base.endswith(".res") or base.endswith(".res)"):
        return "resources (icons, dialogs, manifest, version)"
    if base == "dll stuff":
        return "linker-made (base relocations)"
    if lib is None:
        if ".ltrans" in base or base.endswith(".obj"):
            return "program (own objects)"
        return "C runtime start-up (crt*.o)"
    if lib == "libstdc++.a":
        return "C++ runtime (libstdc++)"
    if lib in ("libgcc.a", "libgcc_eh.a"):
        return "libgcc (unwinder, helpers)"
    if lib.startswith("libwinpthread") or lib.startswith("libpthread"):
        return "threads library (winpthread)"
    if lib in ("libmingw32.a", "libmingwex.a", "libmsvcrt.a", "libmoldname.a"):
        # Import thunks of msvcrt.dll sit in libmsvcrt.a beside real code.
        return "C runtime helpers (mingw32, mingwex, msvcrt)"
    if lib.endswith(".a"):
        return "import libraries (system DLLs)"
    return "other"


def member_of(path):
    base = os.path.basename(path)
    if ".ltrans" in base:
        return "link-time optimised program code"
    # Import libraries have one member per function: count them per library.
    m = re.match(r"^(lib\w+?)\.a\((.*)\)$", base)
    if m and group_of(path) == "import libraries (system DLLs)":
        return m.group(1) + ".a (imports)"
    if m and m.group(1) == "libmsvcrt" and re.match(r"^d\w+\.o$|^lib64_libmsvcrt", m.group(2)) is None:
        return m.group(1) + ".a (imports)"
    return base


def demangle(names):
    if not names:
        return {}
    try:
        out = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True, text=True,
                             check=True).stdout.splitlines()
        return dict(zip(names, out))
    except (OSError, subprocess.CalledProcessError):
        return {n: n for n in names}


def pulled_in(path):
    """For each library member: the file and symbol whose reference brought it into the link."""
    why = {}
    member = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("Archive member included"):
                continue
            if line.startswith(("Discarded input sections", "Memory Configuration")):
                break
            if line and not line.startswith(" "):
                head, _, rest = line.partition(" ")
                member, line = os.path.basename(head), rest
            if member and line.strip() and member not in why:
                ref = re.sub(r" \(symbol from plugin\)", "", line.strip())
                m = re.match(r"^(\S+) \((.*)\)$", ref)
                why[member] = f"{os.path.basename(m.group(1))}: {m.group(2)}" if m else ref
    return why


def parse(path):
    rows = []  # (output section, input section, size, file)
    out_section = None
    pending = None
    started = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if not started:
                started = line.startswith("Linker script and memory map")
                continue
            if line and not line.startswith(" "):
                # An output section: ".text  0x... 0x..." or a bare name on its own line.
                out_section = line.split()[0]
                pending = None
                continue
            m = NAME_ONLY.match(line)
            if m:
                pending = m.group(1)
                continue
            m = ENTRY.match(line)
            if not m:
                pending = None
                continue
            name = m.group(1) or pending
            pending = None
            if name is None or name.startswith("*"):
                continue
            address, size, where = int(m.group(2), 16), int(m.group(3), 16), m.group(4)
            if size == 0 or address == 0 or where.startswith("load address"):
                continue
            if out_section is None or out_section.startswith(NOT_IMAGE):
                continue
            rows.append((out_section, name, size, where.strip()))
    return rows


def table(title, sums, total, limit=None, why=None):
    extra = " pulled in by |" if why is not None else ""
    print(f"\n| {title} | bytes | KB | share |{extra}")
    print("|---|---:|---:|---:|" + ("---|" if why is not None else ""))
    items = sorted(sums.items(), key=lambda kv: -kv[1])
    rest = 0
    for i, (key, size) in enumerate(items):
        if limit is not None and i >= limit:
            rest += size
            continue
        reason = f" {why.get(key, '')} |" if why is not None else ""
        print(f"| {key} | {size} | {size / 1024:.1f} | {100.0 * size / total:.1f} % |{reason}")
    if rest:
        print(f"| (the other {len(items) - limit}) | {rest} | {rest / 1024:.1f} | "
              f"{100.0 * rest / total:.1f} % |")
    print(f"| **total** | {total} | {total / 1024:.1f} | |")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("map")
    ap.add_argument("--members", type=int, default=30, help="rows of the member table")
    ap.add_argument("--symbols", type=int, default=25, help="rows of the symbol table (0: none)")
    args = ap.parse_args()

    rows = parse(args.map)
    if not rows:
        sys.exit(f"{args.map}: no input sections found (not a GNU ld map file?)")
    total = sum(r[2] for r in rows)
    by_group = collections.Counter()
    by_member = collections.Counter()
    by_kind = collections.Counter()
    own = collections.Counter()
    for out_section, name, size, where in rows:
        g = group_of(where)
        by_group[g] += size
        by_member[member_of(where)] += size
        by_kind[f"{g}: {out_section}"] += size
        if g == "program (own objects)":
            # ".text$_Z..." or ".text._Z..." when each function kept a section of its own.
            m = re.match(r"^\.(?:text|rdata|data|bss|xdata|pdata)[.$](.+)$", name)
            own[m.group(1) if m else name] += size

    print(f"Map file: {os.path.basename(args.map)}")
    table("group", by_group, total)
    table("group: output section", by_kind, total)
    table("object or library member", by_member, total, args.members, pulled_in(args.map))
    if args.symbols and len(own) > 1:
        names = demangle(list(own))
        table("own symbol (section)", {names[k]: v for k, v in own.items()}, total, args.symbols)


if __name__ == "__main__":
    main()
