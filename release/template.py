#!/usr/bin/env python3
"""Fills a template of the release's (README.txt, the download page): a line that starts with a
mark named in <keep> (@SIGNED@, say) is kept without the mark where the mark is on and left out
where it is off; every @NAME@ in <facts> is replaced by its value; a @NAME@ left over stops the
release.

Usage: template.py <template> [@MARK@=on|off]... [@NAME@=<value>]...   (the text on stdout)
"""
import re
import sys


def fill(text, keep, facts):
    out = []
    for line in text.splitlines():
        mark = next((m for m in keep if line.startswith(m)), None)
        if mark:
            if not keep[mark]:
                continue
            line = line[len(mark):]
        for name, value in facts.items():
            line = line.replace(name, value)
        out.append(line)
    text = "\n".join(out) + "\n"
    left = re.findall(r"@[A-Z_]+@", text)
    if left:
        sys.exit(f"FAIL: the template has {left[0]}, which nothing fills")
    return text


if __name__ == "__main__":
    pairs = dict(argument.split("=", 1) for argument in sys.argv[2:])
    keep = {mark: value == "on" for mark, value in pairs.items() if value in ("on", "off")}
    facts = {name: value for name, value in pairs.items() if name not in keep}
    sys.stdout.write(fill(open(sys.argv[1], encoding="utf-8").read(), keep, facts))
