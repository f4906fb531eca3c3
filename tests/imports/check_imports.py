#!/usr/bin/env python3
"""Refuses a Windows executable that the oldest release it is built for could not load.

The Windows loader refuses a program that imports a function its system DLLs do not export, or whose
PE header asks for a newer subsystem, before a line of the program runs. Nothing here runs those
old releases, so this reads the executable instead: every DLL!function it imports must stand in the
list of what the oldest releases export (oldest-windows.txt) at or below the build's release.

    check_imports.py LIST OLDEST OBJDUMP EXE

OLDEST is the release the build must load on, such as 5.0 (Windows 2000) or 5.2 (XP x64). Prints
the imports per DLL; exits with 1, naming each offending import and what it needs, on a refusal."""
import re
import subprocess
import sys

RELEASES = {
    (5, 0): "Windows 2000",
    (5, 1): "Windows XP",
    (5, 2): "Windows XP x64 / Server 2003",
    (6, 0): "Windows Vista",
    (6, 1): "Windows 7",
    (6, 2): "Windows 8",
    (6, 3): "Windows 8.1",
    (10, 0): "Windows 10",
}


def release(text):
    major, minor = text.split(".")
    return int(major), int(minor)


def describe(version):
    return "%s (%d.%d)" % (RELEASES.get(version, "Windows"), *version)


def read_list(path):
    """{(DLL in capitals, function): release} from the list file."""
    known = {}
    with open(path) as lines:
        for number, line in enumerate(lines, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) != 3:
                raise SystemExit("%s:%d: expected DLL, function and release" % (path, number))
            known[(words[0].upper(), words[1])] = release(words[2])
    return known


def read_executable(objdump, exe):
    """The PE header's subsystem version and the imports as (DLL, function or None by ordinal)."""
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    major = int(re.search(r"^MajorSubsystemVersion\s+(\d+)", dump, re.M).group(1))
    minor = int(re.search(r"^MinorSubsystemVersion\s+(\d+)", dump, re.M).group(1))
    imports = []
    dll = None
    for line in dump.splitlines():
        named = re.match(r"^\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1)
            continue
        entry = re.match(r"^\t[0-9a-f]+\t\s*(\d+)(?:\s+(\S+))?\s*$", line)
        if dll and entry:
            imports.append((dll, entry.group(2)))
        elif dll and not line.strip():
            dll = None  # a blank line ends a DLL's table
    return (major, minor), imports


def refusals(subsystem, imports, known, oldest):
    found = []
    if subsystem > oldest:
        found.append("the PE header asks for subsystem %d.%d, which %s refuses to load" % (*subsystem, describe(oldest)))
    for dll, function in imports:
        if function is None:
            found.append("%s is imported by ordinal, which the list cannot vouch for" % dll)
            continue
        needs = known.get((dll.upper(), function))
        if needs is None:
            found.append("%s!%s is not on the list: look up its minimum release and add it to the list" % (dll, function))
        elif needs > oldest:
            found.append("%s!%s needs %s; this build must load on %s" % (dll, function, describe(needs), describe(oldest)))
    return found


def main(argv):
    if len(argv) != 5:
        raise SystemExit(__doc__)
    list_path, oldest_text, objdump, exe = argv[1:]
    oldest = release(oldest_text)
    subsystem, imports = read_executable(objdump, exe)
    found = refusals(subsystem, imports, read_list(list_path), oldest)
    by_dll = {}
    for dll, function in imports:
        by_dll.setdefault(dll, []).append(function or "(ordinal)")
    print("%s: subsystem %d.%d, %d imports" % (exe, *subsystem, len(imports)))
    for dll in sorted(by_dll, key=str.upper):
        print("  %s (%d): %s" % (dll, len(by_dll[dll]), " ".join(sorted(by_dll[dll]))))
    for refusal in found:
        print("REFUSED: " + refusal)
    if found:
        return 1
    print("every import is in %s" % describe(oldest))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
