#!/usr/bin/env python3
"""Writes a release's download page from release/download_page.html and the files already in
the release folder: every size and SHA-256 on it is read from the file itself and the Debian
release from BUILDINFO.txt, so the page cannot disagree with the files it describes.

In the template (filled by release/template.py), a line that starts with @SIGNED@ or
@UNSIGNED@ is kept for a signed or an unsigned release, one with @GPG@ when SHA256SUMS gets a
GnuPG signature, one with @URL@ when the release has a download address (and the package
managers' manifests); a line "@FILES bg@" or "@FILES en@" becomes the table of the release's
files (release/files.py), one row a file.

Usage: download_page.py <release folder> <version> <commit> <commit time, seconds since 1970>
                        [--signer <name>] [--gpg] [--url <download address>]
"""
import argparse
import hashlib
import html
import os
import re
import struct
import sys
import time

from files import SCOOP_MANIFEST, release_files
from product import WINGET_ID
from template import fill

TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "download_page.html")
PICTURE = "window.png"


def fail(message):
    sys.exit(f"FAIL: {message}")


def row(folder, name, purpose):
    path = os.path.join(folder, name)
    if not os.path.isfile(path):
        fail(f"the page lists {name}, which is not in {folder}")
    data = open(path, "rb").read()
    kib = (len(data) + 1023) // 1024
    path_class = ' class="path"' if "/" in name else ""
    return (f'<tr><th scope="row"{path_class}><a href="{name}">{name}</a></th><td>{purpose}</td>'
            f'<td class="size"><data value="{len(data)}">{kib} KiB</data></td>'
            f'<td class="sum"><code>{hashlib.sha256(data).hexdigest()}</code></td></tr>')


def built_on(folder):
    """The Debian release BUILDINFO.txt names: "Debian GNU/Linux 12 (bookworm), 12.12, amd64"."""
    text = open(os.path.join(folder, "BUILDINFO.txt"), encoding="utf-8").read()
    found = re.search(r"^built on +(.+), version (\S+), (\S+)$", text, re.M)
    return ", ".join(found.groups()) if found else fail("BUILDINFO.txt names no Debian release")


def main():
    parser = argparse.ArgumentParser()
    for name in ("folder", "version", "commit", "epoch"):
        parser.add_argument(name)
    parser.add_argument("--signer", default="")
    parser.add_argument("--gpg", action="store_true")
    parser.add_argument("--url", default="")
    args = parser.parse_args()

    keep = {"@SIGNED@": bool(args.signer), "@UNSIGNED@": not args.signer, "@GPG@": args.gpg,
            "@URL@": bool(args.url)}
    width, height = struct.unpack(">II", open(os.path.join(args.folder, PICTURE), "rb").read(24)[16:])
    facts = {"@VERSION@": args.version, "@COMMIT@": args.commit,
             "@DATE@": time.strftime("%Y-%m-%d", time.gmtime(int(args.epoch))),
             "@BUILT_ON@": built_on(args.folder), "@SIGNER@": html.escape(args.signer),
             "@WIDTH@": str(width), "@HEIGHT@": str(height), "@WINGET_ID@": WINGET_ID,
             "@SCOOP_MANIFEST@": SCOOP_MANIFEST,
             "@ADDRESS@": html.escape(args.url if args.url.endswith("/") else args.url + "/")}
    out = []
    for line in fill(open(TEMPLATE, encoding="utf-8").read(), keep, facts).splitlines():
        found = re.fullmatch(r"@FILES (bg|en)@", line)
        if found:
            out += [row(args.folder, path, purpose[found.group(1)])
                    for path, _, purpose in release_files(args.version, bool(args.url))]
        else:
            out.append(line)
    sys.stdout.write("\n".join(out) + "\n")


main()
