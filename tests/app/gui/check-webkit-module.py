#!/usr/bin/env python3
"""Checks the split of the program and its WebKit module.

The program must not need WebKit's library (it loads with the module, on first use), and every
symbol the module leaves undefined must be found when the program opens it: among what the program
exports or in a library the module needs. Otherwise the program would end when it shows its first
web page. Usage: check-webkit-module.py PROGRAM MODULE
"""
import re
import subprocess
import sys


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def needed(binary):
    """The paths of the shared libraries `binary` loads, as the dynamic loader finds them."""
    return re.findall(r"=> (/\S+)", run("ldd", binary))


def symbols(binary, which):
    names = set()
    for line in run("nm", "-D", which, binary).splitlines():
        parts = line.split()
        if len(parts) >= 2 and parts[-2] != "w" and parts[-2] != "v":
            names.add(parts[-1].split("@")[0])
    return names


def main(program, module):
    faults = [f"{program} needs {lib}" for lib in needed(program) if "webkit" in lib]
    defined = symbols(program, "--defined-only")
    for lib in needed(module):
        defined |= symbols(lib, "--defined-only")
    missing = sorted(symbols(module, "--undefined-only") - defined)
    faults += [f"{module} needs {name}, which nothing exports" for name in missing]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
