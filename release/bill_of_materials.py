#!/usr/bin/env python3
"""Writes the release's software bills of materials, Quorvel-<version>.cdx.json (CycloneDX 1.6)
and Quorvel-<version>.spdx.json (SPDX 2.3), into the release's folder: its files (zips, MSIs,
the exes inside them, the page) with their hashes, and for each exe and the page the Debian
packages whose archives its link map names, with dpkg's version, the licence as an SPDX
expression and a package URL, each linked into it statically. Every date is the commit's, and
the identifiers are name-based UUIDs of the content, so the same release gives the same bytes.

Usage: bill_of_materials.py <folder> <version> <commit> <commit time> <suffix>=<build folder>...
  (win64=build/windows win32=build/windows-x86 for the exes in the zips; html=build/web for the
  page)
"""
import hashlib
import json
import os
import re
import sys
import time
import urllib.parse
import uuid
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from debian_files import linked, os_release, package_version
from files import release_files
from product import ARCHITECTURES, PUBLISHER, UUID_NAMESPACE

HOME = "https://www.quorvel.example/"  # the site the window names, for the SPDX namespace
COPYRIGHT = next(line.strip() for line in open(os.path.join(  # the licence's own
    os.path.dirname(os.path.abspath(__file__)), "..", "LICENSE"), encoding="utf-8")
    if line.startswith("Copyright"))


def sums(data):
    return {"SHA-1": hashlib.sha1(data).hexdigest(), "SHA-256": hashlib.sha256(data).hexdigest()}


def purl(name, version, arch, distro):
    """As scanners expect a Debian package: pkg:deb/debian/NAME@VERSION?arch=..&distro=..,
    the version percent-encoded (+ as %2B, an epoch's colon as %3A)."""
    return (f"pkg:deb/debian/{name}@{urllib.parse.quote(version, safe='.~-_')}"
            f"?arch={arch}&distro={distro}")


def licence(expressions):
    terms = []
    for expression in expressions:
        terms += [t for t in expression.split(" AND ") if t not in terms]
    return " AND ".join(terms)


def linked_packages(map_file, distro):
    """The Debian packages a link took code from, each with the SPDX licence of the components
    of its files."""
    packages = {}
    for _, component, name in linked(map_file, "Quorvel"):
        packages.setdefault(name, []).append(component[5])
    found = []
    for name in sorted(packages):
        version, arch = package_version(name)
        found.append({"name": name, "version": version, "arch": arch,
                      "purl": purl(name, version, arch, distro), "licence": licence(packages[name])})
    return found


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__.strip().split("\n\n")[-1])
    folder, version, commit, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    builds = dict(a.split("=", 1) for a in sys.argv[5:])
    distro = f"debian-{os_release()['VERSION_ID']}"
    created = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch))
    name = f"Quorvel-{version}"

    # The files: each download, and what runs: the exe in each zip (the MSI holds the same) and
    # the page. A program carries the packages linked into it.
    files = []
    for path, kind, _ in release_files(version, False):
        if kind not in ("page", "zip", "msi"):
            continue
        data = open(os.path.join(folder, path), "rb").read()
        if kind == "page":
            files.append({"name": path, "data": data, "program": True, "in": None, "linked":
                          linked_packages(os.path.join(builds["html"], "quorvel_core.map"), distro)})
            continue
        files.append({"name": path, "data": data, "program": False, "in": None, "linked": []})
        if kind == "zip":
            suffix = next(r["suffix"] for r in ARCHITECTURES if path.endswith(f"-{r['suffix']}.zip"))
            with zipfile.ZipFile(os.path.join(folder, path)) as archive:
                exe = archive.read("Quorvel.exe")
            files.append({"name": f"{path}/Quorvel.exe", "data": exe, "program": True, "in": path,
                          "linked": linked_packages(os.path.join(builds[suffix], "Quorvel.map"),
                                                    distro)})
    packages = {p["purl"]: p for f in files for p in f["linked"]}
    content = hashlib.sha256(b"".join(f["name"].encode() + f["data"] for f in files)).hexdigest()
    serial = uuid.uuid5(UUID_NAMESPACE, f"{name} bill of materials {content}")

    write(os.path.join(folder, f"{name}.cdx.json"), cyclonedx(name, version, commit, created,
                                                              serial, files, packages))
    write(os.path.join(folder, f"{name}.spdx.json"), spdx(name, version, commit, created, serial,
                                                          files, packages))


def write(path, document):
    with open(path, "w", encoding="utf-8") as out:
        json.dump(document, out, indent=2, ensure_ascii=False)
        out.write("\n")


def cyclonedx(name, version, commit, created, serial, files, packages):
    components = []
    for f in files:
        components.append({
            "type": "application" if f["program"] else "file", "bom-ref": f["name"],
            "name": f["name"], "version": version,
            "hashes": [{"alg": "SHA-256", "content": sums(f["data"])["SHA-256"]}]})
    for p in packages.values():
        components.append({
            "type": "library", "bom-ref": p["purl"], "name": p["name"], "version": p["version"],
            "licenses": [{"expression": p["licence"]}], "purl": p["purl"]})
    return {
        "bomFormat": "CycloneDX", "specVersion": "1.6", "serialNumber": f"urn:uuid:{serial}",
        "version": 1,
        "metadata": {
            "timestamp": created,
            "component": {"type": "application", "bom-ref": name, "name": "Quorvel",
                          "version": version, "licenses": [{"license": {"id": "MIT"}}],
                          "properties": [{"name": "quorvel:commit", "value": commit}]},
            "supplier": {"name": PUBLISHER}},
        "components": components,
        # Each program links its packages statically; the release holds every file.
        "dependencies": [{"ref": name, "dependsOn": [f["name"] for f in files]}] + [
            {"ref": f["name"], "dependsOn": [p["purl"] for p in f["linked"]]}
            for f in files if f["program"]] + [
            {"ref": p, "dependsOn": []} for p in packages]}


def spdx_id(kind, text):
    return f"SPDXRef-{kind}-" + re.sub(r"[^A-Za-z0-9.]+", "-", text)


def spdx(name, version, commit, created, serial, files, packages):
    release_id = spdx_id("Package", name)
    document = {
        "spdxVersion": "SPDX-2.3", "dataLicense": "CC0-1.0", "SPDXID": "SPDXRef-DOCUMENT",
        "name": name, "documentNamespace": f"{HOME}spdx/{name}-{serial}",
        "creationInfo": {"created": created, "creators": [f"Organization: {PUBLISHER}",
                                                          "Tool: release/bill_of_materials.py"]},
        "packages": [{
            "SPDXID": release_id, "name": "Quorvel", "versionInfo": version,
            "supplier": f"Organization: {PUBLISHER}", "downloadLocation": "NOASSERTION",
            "filesAnalyzed": False, "licenseConcluded": "MIT", "licenseDeclared": "MIT",
            "copyrightText": COPYRIGHT,
            "sourceInfo": f"built from commit {commit}"}],
        "files": [],
        "relationships": [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                           "relatedSpdxElement": release_id}]}
    for p in packages.values():
        document["packages"].append({
            "SPDXID": spdx_id("Package-deb", f"{p['name']}-{p['arch']}"), "name": p["name"],
            "versionInfo": p["version"], "supplier": "Organization: Debian",
            "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
            "licenseConcluded": p["licence"], "licenseDeclared": p["licence"],
            "copyrightText": "NOASSERTION",
            "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                              "referenceLocator": p["purl"]}]})
    for f in files:
        file_id = spdx_id("File", f["name"])
        document["files"].append({
            "SPDXID": file_id, "fileName": f"./{f['name']}",
            "checksums": [{"algorithm": a.replace("-", ""), "checksumValue": v}
                          for a, v in sums(f["data"]).items()],
            "licenseConcluded": "NOASSERTION", "copyrightText": "NOASSERTION"})
        container = release_id if f["in"] is None else spdx_id("File", f["in"])
        document["relationships"].append({"spdxElementId": container,
                                          "relationshipType": "CONTAINS",
                                          "relatedSpdxElement": file_id})
        for p in f["linked"]:
            document["relationships"].append({
                "spdxElementId": file_id, "relationshipType": "STATIC_LINK",
                "relatedSpdxElement": spdx_id("Package-deb", f"{p['name']}-{p['arch']}")})
    return document


main()
