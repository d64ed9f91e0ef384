#!/usr/bin/env python3
"""Writes BUILDINFO.txt: the record of how a release was made, so that anyone can make it
again bit for bit, or tell a changed toolchain from a changed program.

Every version in it is read from dpkg at release time, for the files really used: the
compilers, assemblers, linkers and resource compilers that CMake chose for each build, the
headers they read, the libraries and objects that each link map names, and the programs that
packed (and signed) the release, the emulator that ran the 32-bit tests where the machine
could not run them itself, and the browser the page's tests ran in.

Usage: build_info.py <version> <commit> <commit time, seconds since 1970> <build folder>...
                     [--signed-by <program>...]
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import time
from xml.etree import ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from debian_files import fail, linked_files, os_release, owner_package, package_version
from product import ARCHITECTURES

PACKING = ["zip", "wixl", "msibuild", "faketime"]
# What the page's tests ran it in: each engine and its driver.
BROWSERS = ["chromium", "chromedriver", "firefox-esr", "WebKitWebDriver",
            "/usr/lib/*/webkit2gtk-4.1/MiniBrowser"]
IN_BROWSERS = "in Chromium, Firefox and WebKit"
# The faketime command preloads this library, which does the work.
FAKETIME_LIBRARY = "/usr/lib/*/faketime/libfaketime.so.1"
# The notices' GPL text.
GPL3 = "/usr/share/common-licenses/GPL-3"


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, check=True)


def toolchain_files(folder):
    """The programs and files one build was made with, as CMake chose them (toolchain.txt): for
    an exe, the MinGW-w64 compiler, its assembler, linker, resource compiler and Windows headers;
    for the page, clang for WebAssembly, its linker and the C++ headers; and what each link map
    names."""
    chosen = dict(line.split("=", 1) for line in
                  open(os.path.join(folder, "toolchain.txt"), encoding="utf-8").read().splitlines())
    cxx = chosen["cxx"]
    files = [chosen["cmake"], cxx]
    page_map = os.path.join(folder, "quorvel_core.map")
    if os.path.exists(page_map):
        target = ["--target=" + chosen["target"]]
        files += [run(cxx, *target, "-print-prog-name=wasm-ld").stdout.strip()]
        first_header = "#include <string>\n"
        map_file = page_map
    else:
        target = []
        files += [chosen["rc"]]
        files += [run(cxx, f"-print-prog-name={p}").stdout.strip() for p in ("cc1plus", "as", "ld")]
        first_header = "#include <windows.h>\n"
        map_file = os.path.join(folder, "Quorvel.map")
    # The first header the compiler reads is that of the library it compiles against.
    headers = subprocess.run([cxx, *target, "-H", "-fsyntax-only", "-x", "c++", "-"],
                             input=first_header, capture_output=True, text=True)
    files += re.findall(r"^\. (\S+)$", headers.stderr, re.M)[:1]
    files += linked_files(map_file)
    return [shutil.which(f) or f if "/" not in f else f for f in files]


def how_tested(folder):
    """How the tests of the build in <folder> ran, from CTest's JUnit file there: natively,
    under the emulator that scripts/setup.sh registered (its path), in the browsers, or not here."""
    try:
        cases = list(ElementTree.parse(os.path.join(folder, "tests.xml")).getroot()
                     .iter("testcase"))
    except FileNotFoundError:
        return "not run here"
    ran = {c.get("name").split(".")[0] for c in cases if c.get("status") == "run"}
    if "Page" in ran:
        return IN_BROWSERS
    # The window's tests start the build's programs; some checks of the exe run without them.
    if "WindowTest" not in ran:
        return "not run here"
    setup = open(os.path.join(os.path.dirname(folder), "setup.env"), encoding="utf-8").read()
    emulator = re.search(r"^QUORVEL_32BIT_EMULATOR=([^'\s]\S*)$", setup, re.M)
    bits32 = {r["preset"]: r["bits"] == "32" for r in ARCHITECTURES}[os.path.basename(folder)]
    return emulator.group(1) if emulator and bits32 else "natively"


def main():
    args = sys.argv[1:]
    signers = args[args.index("--signed-by") + 1:] if "--signed-by" in args else []
    args = args[:args.index("--signed-by")] if signers else args
    if len(args) < 4:
        sys.exit(__doc__.strip().split("\n\n")[-1])
    version, commit, epoch, folders = args[0], args[1], int(args[2]), args[3:]

    files = [f for folder in folders for f in toolchain_files(folder)]
    tested = []
    for folder in folders:
        how = how_tested(folder)
        if how.startswith("/"):
            # A host's emulator may serve a chroot or container without being in it.
            files += [how] if os.path.exists(how) else []
            how = f"under the emulator {how} (this machine executes no 32-bit code)"
        elif how == IN_BROWSERS:
            files += [(next(iter(glob.glob(p)), None) if "/" in p else shutil.which(p)) or
                      fail(f"{p} is not installed") for p in BROWSERS]
        tested.append(f"{os.path.basename(folder)}: {how}")
    programs = PACKING + signers
    files += [shutil.which(p) or fail(f"{p} is not installed") for p in programs]
    files += glob.glob(FAKETIME_LIBRARY)[:1] + [sys.executable, GPL3]
    used = {}  # package -> names of the files it gave
    for path in files:
        used.setdefault(owner_package(path), set()).add(os.path.basename(path))

    point = open("/etc/debian_version").read().strip()
    arch = run("dpkg", "--print-architecture").stdout.strip()
    out = [f"Quorvel {version}: build record",
           "",
           f"version       {version}",
           f"commit        {commit}",
           f"commit time   {time.strftime('%Y-%m-%d %H:%M:%S UTC', time.gmtime(epoch))} "
           f"({epoch}), the date of every file in the release",
           f"built on      {os_release()['PRETTY_NAME']}, version {point}, {arch}",
           f"signed with   {', '.join(signers) if signers else 'nothing: unsigned'}",
           f"tests ran     {tested[0]}",
           *[f"              {line}" for line in tested[1:]],
           "",
           "The Debian packages whose programs or files made the release, as installed:",
           ""]
    rows = [("package", "version", "arch", "files used")]
    rows += [(p, *package_version(p), ", ".join(sorted(used[p]))) for p in sorted(used)]
    width = [max(len(r[i]) for r in rows) for i in range(3)]
    out += ["  ".join(f"{c:<{w}}" for c, w in zip(r, width + [0])).rstrip() for r in rows]
    sys.stdout.write("\n".join(out) + "\n")


main()
