"""What Debian knows of the files a release is made with: the files a link took code from and
the component each belongs to, the package that installed a file, that package's version, and
the Debian release itself."""
import os
import platform
import re
import subprocess
import sys

from components import BY_FILE


def fail(message):
    sys.exit(f"FAIL: {message}")


def linked_files(map_file):
    """The toolchain files the link took code from, from its map: archives with a member
    included, and objects loaded as they are. The program's own (relative paths) are not
    third-party. GNU ld's map lists them apart; wasm-ld's names each with the code it gave."""
    map_text = open(map_file, encoding="utf-8", errors="replace").read()
    if "Archive member included" in map_text:
        included = map_text.split("Archive member included", 1)[1].split("\n\n", 2)[1]
        files = set(re.findall(r"^(/\S+?\.a)\(", included, re.M))
        files |= set(re.findall(r"^LOAD (/\S+\.o)$", map_text, re.M))
    else:
        files = set(re.findall(r"\s(/[^\s:(]+\.[ao])[(:]", map_text))
    return sorted({os.path.realpath(f) for f in files})


def owner_package(path):
    """The package that installed <path>, as dpkg names it (with ":arch" where it is
    multi-arch): of the file <path> leads to, else of <path> itself."""
    for candidate in dict.fromkeys([os.path.realpath(path), path]):
        found = subprocess.run(["dpkg", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(": ")[0].split(", ")[0]
    return fail(f"{path} belongs to no Debian package")


def linked(map_file, holder):
    """(file, component, package without its architecture) of each toolchain file the link
    took code from; a file of no known component stops the release."""
    for path in linked_files(map_file):
        component = BY_FILE.get(os.path.basename(path))
        if component is None:
            fail(f"{path} is linked into {holder} but has no notice")
        yield path, component, owner_package(path).split(":")[0]


def package_version(package):
    """The version and the architecture of an installed package."""
    return subprocess.run(["dpkg-query", "-W", "-f=${Version} ${Architecture}", package],
                          capture_output=True, text=True, check=True).stdout.split()


def os_release():
    """/etc/os-release's fields: {"VERSION_ID": "12", "PRETTY_NAME": ...}."""
    return platform.freedesktop_os_release()
