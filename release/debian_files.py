"""What Debian knows of the files a release is made with: the files a link took code from,
the package that installed a file, and that package's version."""
import os
import re
import subprocess
import sys


def fail(message):
    sys.exit(f"FAIL: {message}")


def linked_files(map_text):
    """The toolchain files the link took code from: archives with a member included, and
    objects loaded as they are. The program's own (relative paths) are not third-party.
    GNU ld's map lists them apart; wasm-ld's names each with the code it gave."""
    if "Archive member included" in map_text:
        included = map_text.split("Archive member included", 1)[1].split("\n\n", 2)[1]
        files = set(re.findall(r"^(/\S+?\.a)\(", included, re.M))
        files |= set(re.findall(r"^LOAD (/\S+\.o)$", map_text, re.M))
    else:
        files = set(re.findall(r"\s(/[^\s:(]+\.[ao])[(:]", map_text))
    return sorted({os.path.realpath(f) for f in files})


def owner_package(path):
    """The package that installed <path>, as dpkg names it (with ":arch" where it is
    multi-arch), or None: of the file <path> leads to, else of <path> itself."""
    for candidate in dict.fromkeys([os.path.realpath(path), path]):
        found = subprocess.run(["dpkg", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(": ")[0].split(", ")[0]
    return None


def package_version(package):
    """The version and the architecture of an installed package."""
    return subprocess.run(["dpkg-query", "-W", "-f=${Version} ${Architecture}", package],
                          capture_output=True, text=True, check=True).stdout.split()
