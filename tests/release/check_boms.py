#!/usr/bin/env python3
"""Checks a release's bills of materials: both valid by the official JSON schemas (copied
unchanged into schemas/ beside this script), and read back: every file's hash is the file's own
(the exes taken from their zips), every package URL names a package installed here at dpkg's
version, every program (the exes and the page) is linked to packages, and the two documents
name the same files and packages.

Usage: check_boms.py <release folder> <version>
"""
import hashlib
import json
import os
import subprocess
import sys
import urllib.parse
import zipfile

import jsonschema

HERE = os.path.dirname(os.path.abspath(__file__))
problems = []


def problem(text):
    problems.append(text)


def load(path):
    return json.load(open(path, encoding="utf-8"))


def validate(document, schema_file, *others):
    schema = load(os.path.join(HERE, "schemas", schema_file))
    store = {s["$id"]: s for s in [schema] + [load(os.path.join(HERE, "schemas", o)) for o in others]}
    resolver = jsonschema.RefResolver.from_schema(schema, store=store)
    validator = jsonschema.validators.validator_for(schema)(
        schema, resolver=resolver, format_checker=jsonschema.FormatChecker())
    for error in validator.iter_errors(document):
        problem(f"{schema_file}: {'/'.join(map(str, error.absolute_path))}: {error.message}")


def file_data(folder, name):
    """A file of the release, or one inside a zip of it ("<zip>/<member>")."""
    if ".zip/" in name:
        archive, member = name.split(".zip/")
        with zipfile.ZipFile(os.path.join(folder, archive + ".zip")) as z:
            return z.read(member)
    return open(os.path.join(folder, name), "rb").read()


def installed(purl):
    """Whether the package URL names a Debian package at the version dpkg has installed."""
    name, rest = purl[len("pkg:deb/debian/"):].split("@", 1)
    version = urllib.parse.unquote(rest.split("?")[0])
    found = subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True,
                           text=True).stdout
    if found != version:
        problem(f"{purl}: dpkg has {name} at {found or 'no version'}")
    return name


def main():
    folder, version = sys.argv[1], sys.argv[2]
    name = f"Quorvel-{version}"
    cdx = load(os.path.join(folder, f"{name}.cdx.json"))
    spdx = load(os.path.join(folder, f"{name}.spdx.json"))
    validate(cdx, "cyclonedx-1.6/bom-1.6.schema.json", "cyclonedx-1.6/spdx.schema.json",
             "cyclonedx-1.6/jsf-0.82.schema.json")
    validate(spdx, "spdx-2.3/spdx-schema.json")

    files = {c["name"]: c for c in cdx["components"] if c["type"] != "library"}
    wanted = {f"{name}-{a}.{k}" for a in ("win64", "win32") for k in ("zip", "msi")}
    wanted |= {f"{name}-{a}.zip/Quorvel.exe" for a in ("win64", "win32")} | {f"{name}.html"}
    if set(files) != wanted:
        problem(f"CycloneDX names the files {sorted(files)}")
    for file, component in files.items():
        digest = hashlib.sha256(file_data(folder, file)).hexdigest()
        if component["hashes"] != [{"alg": "SHA-256", "content": digest}]:
            problem(f"CycloneDX: {file}: not the file's SHA-256")
    libraries = {c["purl"] for c in cdx["components"] if c["type"] == "library"}
    for purl in libraries:
        installed(purl)
    links = {d["ref"]: d["dependsOn"] for d in cdx["dependencies"]}
    for program in (f for f in files if f.endswith((".exe", ".html"))):
        if not links.get(program) or not set(links[program]) <= libraries:
            problem(f"CycloneDX: {program} depends on {links.get(program)}")

    by_id = {f["SPDXID"]: f for f in spdx["files"]}
    for entry in spdx["files"]:
        data = file_data(folder, entry["fileName"][2:])
        sums = {c["algorithm"]: c["checksumValue"] for c in entry["checksums"]}
        if sums != {"SHA1": hashlib.sha1(data).hexdigest(),
                    "SHA256": hashlib.sha256(data).hexdigest()}:
            problem(f"SPDX: {entry['fileName']}: not the file's checksums")
    if {f["fileName"][2:] for f in spdx["files"]} != set(files):
        problem("SPDX and CycloneDX name other files")
    purls = {p["SPDXID"]: r["referenceLocator"] for p in spdx["packages"]
             for r in p.get("externalRefs", []) if r["referenceType"] == "purl"}
    if set(purls.values()) != libraries:
        problem("SPDX and CycloneDX name other packages")
    static = {}
    for r in spdx["relationships"]:
        if r["relationshipType"] == "STATIC_LINK":
            static.setdefault(by_id[r["spdxElementId"]]["fileName"][2:], set()).add(
                purls[r["relatedSpdxElement"]])
    for program in (f for f in files if f.endswith((".exe", ".html"))):
        if static.get(program) != set(links.get(program, [])):
            problem(f"SPDX: {program} is statically linked to {static.get(program)}")

    for text in problems:
        print(f"FAIL: {text}")
    sys.exit(1 if problems else 0)


main()
