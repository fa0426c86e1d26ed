#!/usr/bin/env python3
"""Compiler launcher for clang builds of the game.

The game's narrow string literals are Shift-JIS (code page 932); GCC converts
them with -fexec-charset=CP932, which clang does not know. This launcher
preprocesses each C++ file with clang, rewrites every non-ASCII character
inside a string or character literal as CP932 octal escapes (three digits
each, so no escape can swallow the character after it), and compiles the
result. Line markers keep file names and lines the sources' own.

Used as CMAKE_CXX_COMPILER_LAUNCHER: cp932_launcher.py clang++ <args...>
"""
import os
import subprocess
import sys


def escape_literals(text):
    out = []
    i, n = 0, len(text)
    quote = None  # the open literal's quote character
    while i < n:
        c = text[i]
        if quote:
            if c == "\\" and i + 1 < n:
                out.append(text[i : i + 2])
                i += 2
                continue
            if c == quote or c == "\n":
                quote = None
            elif ord(c) > 127:
                out.append("".join("\\%03o" % b for b in c.encode("cp932")))
                i += 1
                continue
            out.append(c)
            i += 1
            continue
        if c == "/" and text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(text[i:j])
            i = j
            continue
        if c == "/" and text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(text[i:j])
            i = j
            continue
        if c == '"' or (c == "'" and not (i > 0 and (text[i - 1].isalnum() or text[i - 1] == "_"))):
            quote = c
        out.append(c)
        i += 1
    return "".join(out)


def main():
    cmd = sys.argv[1:]
    if "-c" not in cmd or "-o" not in cmd:
        return subprocess.call(cmd)
    src = cmd[cmd.index("-c") + 1]
    obj = cmd[cmd.index("-o") + 1]
    flags = [a for a in cmd if not a.startswith("-fexec-charset=")]
    # Preprocess (this also writes the dependency file ninja asks for).
    pre = [a for a in flags]
    pre[pre.index("-o") + 1] = obj + ".ii"
    pre[pre.index("-c")] = "-E"
    rc = subprocess.call(pre)
    if rc:
        return rc
    with open(obj + ".ii", encoding="utf-8", errors="surrogateescape") as f:
        text = escape_literals(f.read())
    with open(obj + ".cp932.ii", "w", encoding="utf-8", errors="surrogateescape") as f:
        f.write(text)
    os.remove(obj + ".ii")
    # Compile the escaped text, without the dependency flags and the source.
    comp, skip = [], 0
    for k, a in enumerate(flags):
        if skip:
            skip -= 1
            continue
        if a in ("-MD", "-MMD"):
            continue
        if a in ("-MT", "-MF", "-MQ"):
            skip = 1
            continue
        if k > 0 and flags[k - 1] == "-c":
            continue
        comp.append(a)
    comp[comp.index("-c")] = "-c"
    comp += ["-Wno-unused-command-line-argument", "-x", "c++-cpp-output", obj + ".cp932.ii"]
    rc = subprocess.call(comp)
    os.remove(obj + ".cp932.ii")
    return rc


if __name__ == "__main__":
    sys.exit(main())
