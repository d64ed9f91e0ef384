#!/usr/bin/env python3
"""Reads a release's winget and Scoop manifests back and checks them: the rules of winget's that
these manifests could break (YAML that types every value as winget does, schema line, type and
version that agree, one identifier and version in all files, file names and folders after the
identifier, one installer per type, architecture and scope, HTTPS addresses only) and the facts
(each address names a file of the release under the download address, each hash is the file's,
each product and upgrade code the MSI's own, the folder it installs to one of the MSI's, the
portable file is in its zip, the release date the commit's, the documents on the download page).

Usage: check_manifests.py <release folder> <download address> <release date, YYYY-MM-DD>
"""
import glob
import hashlib
import json
import os
import re
import subprocess
import sys
import zipfile

import yaml

folder, address, release_date = sys.argv[1], sys.argv[2], sys.argv[3]
problems = []


def problem(text):
    problems.append(text)


def sha256(name):
    return hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()


def released(url):
    """The file of the release an address names, or None."""
    name = url[len(address):] if url.startswith(address) else ""
    if not url.startswith("https://") or not os.path.isfile(os.path.join(folder, name)):
        problem(f"{url} is no file of the release at {address}")
        return None
    return name


def strings_only(value, where):
    if isinstance(value, dict):
        for key, item in value.items():
            strings_only(item, f"{where}.{key}")
    elif isinstance(value, list):
        for i, item in enumerate(value):
            strings_only(item, f"{where}[{i}]")
    elif not isinstance(value, str):
        problem(f"{where} reads as {type(value).__name__} {value!r}, not as text")


paths = sorted(glob.glob(os.path.join(folder, "winget", "manifests", "*", "*", "*", "*", "*.yaml")))
manifests = {}
for path in paths:
    text = open(path, encoding="utf-8").read()
    data = yaml.safe_load(text)
    name = os.path.basename(path)
    strings_only(data, name)
    kind, version = data.get("ManifestType"), data.get("ManifestVersion")
    schema = f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{version}.schema.json"
    if text.splitlines()[0] != schema:
        problem(f"{name} starts {text.splitlines()[0]!r}, not its schema {schema!r}")
    identifier, package_version = data.get("PackageIdentifier"), data.get("PackageVersion")
    parts = os.path.relpath(path, os.path.join(folder, "winget", "manifests")).split(os.sep)
    if parts[:-1] != [identifier[0].lower(), *identifier.split("."), package_version]:
        problem(f"{name} lies in {'/'.join(parts[:-1])}, not in the folder of {identifier}")
    suffix = {"version": "", "installer": ".installer"}.get(kind, f".locale.{data.get('PackageLocale')}")
    if name != f"{identifier}{suffix}.yaml":
        problem(f"{name} is not named after {identifier} and its {kind}")
    manifests.setdefault(kind, []).append(data)

if sorted(manifests) != ["defaultLocale", "installer", "locale", "version"]:
    problem(f"the manifests are of the kinds {sorted(manifests)}")
every = [m for kind in manifests.values() for m in kind]
if len({(m["PackageIdentifier"], m["PackageVersion"]) for m in every}) != 1:
    problem("the manifests name more than one identifier or version")
if {m.get("ManifestVersion") for m in every} != {"1.12.0"}:
    problem("the manifests are not all of manifest version 1.12.0")
if manifests.get("version", [{}])[0].get("DefaultLocale") != manifests.get(
        "defaultLocale", [{}])[0].get("PackageLocale"):
    problem("the version file's default locale is not the default-locale file's")
homepage = manifests.get("defaultLocale", [{}])[0].get("PackageUrl", "")
if not homepage.startswith("https://"):
    problem(f"the homepage {homepage!r} is not an HTTPS address")

if manifests.get("installer", [{}])[0].get("ReleaseDate") != release_date:
    problem(f"the release date is not the commit's, {release_date}")
for locale in manifests.get("defaultLocale", []) + manifests.get("locale", []):
    for document in locale.get("Documentations", []):
        if released(document.get("DocumentUrl", "")) != "index.html":
            problem(f"{locale.get('PackageLocale')}: {document} is not the download page")

installers = manifests.get("installer", [{}])[0].get("Installers", [])
kinds = [(i.get("InstallerType"), i.get("Architecture"), i.get("Scope")) for i in installers]
if len(set(kinds)) != len(kinds) or len(kinds) != 4:
    problem(f"the installers are {kinds}, not one of each type, architecture and scope")
for entry in installers:
    name = released(entry.get("InstallerUrl", ""))
    if name is None:
        continue
    if entry.get("InstallerSha256", "").lower() != sha256(name):
        problem(f"{name}: the manifest's SHA-256 is not the file's")
    if entry.get("InstallerType") == "msi":
        table = subprocess.run(["msiinfo", "export", os.path.join(folder, name), "Property"],
                               check=True, capture_output=True, text=True).stdout
        codes = dict(re.findall(r"^(ProductCode|UpgradeCode)\t(\S+)", table, re.M))
        listed = {"ProductCode": entry.get("ProductCode"),
                  "UpgradeCode": (entry.get("AppsAndFeaturesEntries") or [{}])[0].get("UpgradeCode")}
        if listed != codes:
            problem(f"{name}: the manifest names {listed}, the MSI has {codes}")
        directories = subprocess.run(["msiinfo", "export", os.path.join(folder, name), "Directory"],
                                     check=True, capture_output=True, text=True).stdout
        switch = (entry.get("InstallerSwitches") or {}).get("InstallLocation", "")
        found = re.fullmatch(r'([A-Z_]+)="<INSTALLPATH>"', switch)
        if not found or not re.search(rf"^{found.group(1)}\t", directories, re.M):
            problem(f"{name}: the install location {switch!r} is no public folder of the MSI")
        if entry.get("ElevationRequirement") != "elevatesSelf":
            problem(f"{name}: a machine-wide MSI that does not say it elevates itself")
    else:
        inside = zipfile.ZipFile(os.path.join(folder, name)).namelist()
        for nested in entry.get("NestedInstallerFiles", []):
            if nested.get("RelativeFilePath") not in inside:
                problem(f"{name} holds no {nested.get('RelativeFilePath')}")

scoop = json.load(open(os.path.join(folder, "scoop", "quorvel.json"), encoding="utf-8"))
if scoop.get("version") != manifests.get("version", [{}])[0].get("PackageVersion"):
    problem("the Scoop manifest's version is not winget's")
for bits, suffix in (("64bit", "win64"), ("32bit", "win32")):
    entry = scoop.get("architecture", {}).get(bits, {})
    name = released(entry.get("url", ""))
    if name is not None and (not name.endswith(f"-{suffix}.zip") or entry.get("hash") != sha256(name)):
        problem(f"Scoop's {bits} entry is not the {suffix} zip with its hash")

for text in problems:
    print(f"FAIL: {text}")
print(f"{len(paths)} winget manifests and the Scoop manifest checked, {len(problems)} problems")
sys.exit(1 if problems else 0)
