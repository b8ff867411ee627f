#!/usr/bin/env python3
"""Checks every #include of the product code against the allowed layer edges.

The edges live in docs/architecture.md, in the fenced block marked `layers`:
    FOLDER -> TARGET TARGET ...
A file belongs to the longest FOLDER that prefixes its path ("platform/*" stands for each
folder directly under platform/). It may include its own folder and every TARGET, each a folder
or a single header ("*" allows anything). A line "native: FOLDER ..." names the only folders
that may include GTK, GDK or WebKit headers. Exit status 1 lists each offending line.
"""
import pathlib
import re
import sys

TOP = pathlib.Path(__file__).resolve().parent.parent
PRODUCT = ("platform", "reader", "sharing", "facebook", "ads", "app")
NATIVE_HEADER = re.compile(r'#\s*include\s*<(gtk|gdk|webkit|jsc)/')
PROJECT_HEADER = re.compile(r'#\s*include\s*"([^"]+)"')


def read_rules(doc):
    block = re.search(r"```layers\n(.*?)```", doc.read_text(encoding="utf-8"), re.S)
    if not block:
        sys.exit(f"{doc}: no ```layers block")
    edges, native = {}, []
    for line in block.group(1).splitlines():
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        if line.startswith("native:"):
            native += line.split()[1:]
            continue
        source, _, targets = line.partition("->")
        edges[source.strip()] = targets.split()
    return edges, native


def owner(path, edges):
    """The rule key a file falls under, and the folder it may always include."""
    best = None
    for key in edges:
        if key.endswith("/*"):
            base = key[:-1]
            if path.startswith(base):
                folder = base + path[len(base):].split("/", 1)[0]
                if best is None or len(folder) > len(best[1]):  # an exact key wins a tie
                    best = (key, folder)
        elif path == key or path.startswith(key + "/"):
            if best is None or len(key) >= len(best[1]):
                best = (key, key)
    return best


def allowed(include, targets):
    for target in targets:
        if target == "*" or include == target or include.startswith(target.rstrip("/") + "/"):
            return True
    return False


def main():
    edges, native = read_rules(TOP / "docs" / "architecture.md")
    faults = []
    for top in PRODUCT:
        for file in sorted((TOP / top).rglob("*")):
            if file.suffix not in (".h", ".cpp") or not file.is_file():
                continue
            path = file.relative_to(TOP).as_posix()
            rule = owner(path, edges)
            for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
                where = f"{path}:{number}: {line.strip()}"
                if NATIVE_HEADER.search(line) and not any(
                        path.startswith(n.rstrip("/") + "/") for n in native):
                    faults.append(f"{where}  (GTK/WebKit headers belong in {' '.join(native)})")
                found = PROJECT_HEADER.search(line)
                if not found or not found.group(1).startswith(tuple(p + "/" for p in PRODUCT)):
                    continue
                include = found.group(1)
                if rule is None:
                    faults.append(f"{where}  (no layer rule covers {path})")
                elif not (include.startswith(rule[1] + "/") or allowed(include, edges[rule[0]])):
                    faults.append(f"{where}  ({rule[0]} may not include {include})")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
