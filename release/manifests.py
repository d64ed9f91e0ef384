#!/usr/bin/env python3
"""Writes the package managers' manifests of a release from its own files: for winget, a
multi-file manifest in the folders of winget's community repository, under <folder>/winget/;
for Scoop, an app manifest, <folder>/scoop/quorvel.json. Every address is the download address
plus the file's name, every hash the file's own, and each MSI's product and upgrade code is read
from the MSI with msiinfo.

With --check, only checks the download address: HTTPS, and one that winget's schema takes.

Usage: manifests.py <release folder> <version> <download address> <commit time, seconds>
       manifests.py --check <download address>
"""
import hashlib
import json
import os
import re
import subprocess
import sys
import time

import yaml

from files import SCOOP_MANIFEST, winget_manifests
from product import ARCHITECTURES, PUBLISHER, WINGET_ID as IDENTIFIER

LICENSE = "MIT"
MANIFEST_VERSION = "1.12.0"  # the version winget's community repository asks for
DESCRIPTION = {
    "en-US": "A Vigenère-type XOR cipher shown letter by letter, for informatics lessons",
    "bg-BG": "Шифър на Виженер с XOR, показан буква по буква, за часовете по информатика",
}
# The MSI's folder, a public property of release/quorvel.wxs that msiexec takes on its command
# line.
INSTALL_FOLDER = "INSTALLDIR"
DOWNLOAD_PAGE = {"en-US": "Download page", "bg-BG": "Страница за изтегляне"}


def fail(message):
    sys.exit(f"FAIL: {message}")


def check_address(address):
    """The address with its closing slash, or the reason it is refused."""
    if not address.startswith("https://"):
        fail(f"QUORVEL_DOWNLOAD_URL must be an https:// address, not {address!r}")
    # winget's schema: an http(s) address of at most 2048 characters; nothing here may need
    # quoting in a URL, a YAML or a JSON string.
    if not re.fullmatch(r"https://[A-Za-z0-9.-]+(:[0-9]+)?(/[A-Za-z0-9._~%!$&'()*+,;=:@/-]*)?",
                        address) or len(address) > 1900:
        fail(f"QUORVEL_DOWNLOAD_URL is not an address winget takes: {address!r}")
    return address if address.endswith("/") else address + "/"


def sha256(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest().upper()


def msi_property(path, name):
    table = subprocess.run(["msiinfo", "export", path, "Property"], check=True,
                           capture_output=True, text=True).stdout
    found = re.search(rf"^{name}\t(\{{[0-9A-F-]+\}})\r?$", table, re.M)
    return found.group(1) if found else fail(f"{path} has no {name}")


def manifest(kind, fields):
    """A winget manifest file of the kind: its schema line, then the fields. PyYAML quotes a
    string that would read as another type, so "1.00" stays text, not the number 1."""
    schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
    body = yaml.safe_dump({**fields, "ManifestType": kind, "ManifestVersion": MANIFEST_VERSION},
                          allow_unicode=True, sort_keys=False, width=1000)
    return f"# yaml-language-server: $schema={schema}\n{body}"


def main():
    if sys.argv[1:2] == ["--check"] and len(sys.argv) == 3:
        check_address(sys.argv[2])
        return
    if len(sys.argv) != 5:
        sys.exit(__doc__.strip().split("\n\n")[-1])
    folder, version, address = sys.argv[1], sys.argv[2], check_address(sys.argv[3])
    released = time.strftime("%Y-%m-%d", time.gmtime(int(sys.argv[4])))
    package = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}
    documents = {locale: [{"DocumentLabel": label, "DocumentUrl": address + "index.html"}]
                 for locale, label in DOWNLOAD_PAGE.items()}

    installers = []
    for row in ARCHITECTURES:
        arch, msi = row["msi_arch"], f"Quorvel-{version}-{row['suffix']}.msi"
        path = os.path.join(folder, msi)
        installers.append({
            "Architecture": arch, "InstallerType": "msi", "Scope": "machine",
            "InstallerUrl": address + msi, "InstallerSha256": sha256(path),
            "ElevationRequirement": "elevatesSelf",
            "InstallerSwitches": {"InstallLocation": f'{INSTALL_FOLDER}="<INSTALLPATH>"'},
            "ProductCode": msi_property(path, "ProductCode"), "UpgradeBehavior": "install",
            "AppsAndFeaturesEntries": [{"UpgradeCode": msi_property(path, "UpgradeCode")}]})
    zips = {row["msi_arch"]: f"Quorvel-{version}-{row['suffix']}.zip" for row in ARCHITECTURES}
    for arch, zip_name in zips.items():
        installers.append({
            "Architecture": arch, "InstallerType": "zip", "NestedInstallerType": "portable",
            "NestedInstallerFiles": [{"RelativeFilePath": "Quorvel.exe",
                                      "PortableCommandAlias": "quorvel"}],
            "InstallerUrl": address + zip_name,
            "InstallerSha256": sha256(os.path.join(folder, zip_name))})
    paths = winget_manifests(version)
    files = {
        paths["version"]: manifest("version", {**package, "DefaultLocale": "en-US"}),
        paths["installer"]: manifest("installer", {**package, "ReleaseDate": released,
                                                   "Installers": installers}),
        paths["defaultLocale"]: manifest("defaultLocale", {
            **package, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PackageName": "Quorvel",
            "PackageUrl": address, "License": LICENSE, "ShortDescription": DESCRIPTION["en-US"],
            "Moniker": "quorvel", "Tags": ["cipher", "education", "informatics", "xor"],
            "Documentations": documents["en-US"]}),
        paths["locale"]: manifest("locale", {
            **package, "PackageLocale": "bg-BG", "Publisher": PUBLISHER, "PackageName": "Quorvel",
            "License": LICENSE, "ShortDescription": DESCRIPTION["bg-BG"],
            "Documentations": documents["bg-BG"]}),
        SCOOP_MANIFEST: json.dumps({
            "version": version, "description": DESCRIPTION["en-US"], "homepage": address,
            "license": LICENSE,
            "architecture": {
                f"{row['bits']}bit": {"url": address + zips[row["msi_arch"]], "hash": sha256(
                    os.path.join(folder, zips[row["msi_arch"]])).lower()}
                for row in ARCHITECTURES},
            "bin": "Quorvel.exe",
            "shortcuts": [["Quorvel.exe", "Quorvel"]]}, indent=2, ensure_ascii=False) + "\n",
    }
    for path, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(folder, path)), exist_ok=True)
        open(os.path.join(folder, path), "w", encoding="utf-8").write(text)


main()
