#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt for one exe, or the notices the page carries for its
WebAssembly module, from the linker's map of that very build.

Every toolchain file the link took code from must belong to a component below; the notice
texts come from the Debian packages that installed those files (/usr/share/doc/<package>/
copyright), never from this repository. A file with no component stops the release.

Usage: third_party_notices.py <map> <version> <architecture label> [<file name>]
  (the file name that holds the code: Quorvel.exe unless named)
"""
import os
import re
import sys
import textwrap

from components import COMPONENTS
from debian_files import fail, linked


# Debian's copyright file of GCC is free text: the statement, the list of runtime libraries
# under the exception, and the exception itself, between these lines. The GPL's text is
# Debian's own copy.
GCC_PARTS = [("GCC is Copyright (C)", "The libbacktrace library"),
             ("GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/")]
GPL3 = "/usr/share/common-licenses/GPL-3"


def dep5_notice(copyright_file, patterns):
    paragraphs = open(copyright_file, encoding="utf-8").read().split("\n\n")
    # Each paragraph as field name to value, continuation lines kept.
    fields = [dict(re.findall(r"^(\S+?):[ \t]*(.*(?:\n[ \t].*)*)", p, re.M)) for p in paragraphs]
    licences = {f["License"].split("\n")[0]: f["License"] for f in fields if "Files" not in f
                and "License" in f}
    out = []
    for pattern in patterns:
        match = [f for f in fields if f.get("Files", "").split()[:1] == [pattern]]
        if not match:
            fail(f"{copyright_file} has no paragraph for {pattern}")
        licence = match[0]["License"]
        if "\n" not in licence:  # a short name: its text stands in a paragraph of its own
            licence = licences.get(licence) or fail(f"{copyright_file}: no text of {licence}")
        copyright = "\n".join(line.strip() for line in match[0]["Copyright"].split("\n"))
        name, _, text = licence.partition("\n")
        text = "\n".join("" if line.strip() == "." else line[1:] for line in text.split("\n"))
        out.append(f"Files: {pattern}\nCopyright: {copyright}\nLicence: {name}\n\n{text}")
    return "\n\n".join(out)


def gcc_notice(copyright_file):
    lines = open(copyright_file, encoding="utf-8").read().split("\n")
    out = []
    for first, after in GCC_PARTS:
        start = next((i for i, line in enumerate(lines) if line.startswith(first)), None)
        if start is None:
            fail(f"{copyright_file} has no line starting {first!r}")
        end = next((i for i in range(start, len(lines)) if lines[i].startswith(after)), None)
        if end is None:
            fail(f"{copyright_file} has no line starting {after!r} after {first!r}")
        out.append("\n".join(lines[start:end]).strip())
    return "\n\n".join(out)


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__.strip().split("\n\n")[-1])
    map_file, version, label = sys.argv[1:4]
    holder = sys.argv[4] if len(sys.argv) == 5 else "Quorvel.exe"
    used = {}  # component name -> (component, files, copyright file)
    for path, component, package in linked(map_file, holder):
        entry = used.setdefault(component[0], (component, [], f"/usr/share/doc/{package}/copyright"))
        entry[1].append(os.path.basename(path))

    bar = "=" * 78
    out = [f"Quorvel {version} ({label}): third-party notices",
           "",
           *textwrap.wrap(f"{holder} съдържа код на следните компоненти от трети страни. "
                          "Лицензите им изискват този текст да придружава програмата.", 78),
           "",
           *textwrap.wrap(f"{holder} contains code of the third-party components below, linked "
                          "in by the compiler. Their licences ask for these notices to go with "
                          "the program.", 78),
           ""]
    ordered = [used[c[0]] for c in COMPONENTS if c[0] in used]
    for (name, what, licence, _, _, _), files, _ in ordered:
        out += textwrap.wrap(f"- {name}: {what} ({', '.join(sorted(files))}); {licence}", 78,
                             subsequent_indent="  ", break_on_hyphens=False)
    printed_gcc = False
    for (name, _, _, _, (kind, patterns), _), _, copyright_file in ordered:
        if kind == "none":
            continue
        if kind == "gcc":
            if printed_gcc:
                continue
            printed_gcc = True
            names = ", ".join(c[0][0] for c in ordered if c[0][4][0] == "gcc")
            title, text = f"GCC runtime libraries: {names}", gcc_notice(copyright_file)
        else:
            title, text = name, dep5_notice(copyright_file, patterns)
        out += ["", bar, title, f"(from {copyright_file})", bar, "", text]
    if printed_gcc:
        out += ["", bar, "GNU General Public License, version 3", f"(from {GPL3})", bar, "",
                open(GPL3, encoding="utf-8").read().strip("\n")]
    sys.stdout.write("\n".join(line.rstrip() for line in out) + "\n")


main()
