"""The files of a release, in the order its download page lists them, each with what it is for
in Bulgarian and in English: the one list the packing, the manifests, the bills of materials and
the download page read. index.html, window.png and SHA256SUMS stand beside them."""
from product import ARCHITECTURES, WINGET_ID


def winget_manifests(version):
    """{manifest type: path in the release} of winget's multi-file manifest, in the folders of
    its community repository: manifests/<first letter>/<publisher>/<name>/<version>/."""
    folder = "/".join(["winget/manifests", WINGET_ID[0].lower(), *WINGET_ID.split("."), version])
    return {kind: f"{folder}/{WINGET_ID}{ending}.yaml" for kind, ending in (
        ("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US"),
        ("locale", ".locale.bg-BG"))}


SCOOP_MANIFEST = "scoop/quorvel.json"


def release_files(version, manifests):
    """[(path, kind, {"bg": purpose, "en": purpose})]; the package managers' manifests only
    where the release has a download address."""
    name = f"Quorvel-{version}"
    files = [(f"{name}.html", "page", {"bg": "в браузъра, без инсталиране",
                                       "en": "in the browser, nothing to install"})]
    for kind, bg, en in (("zip", "за учителя", "teachers"),
                         ("msi", "за администратора", "a school's IT")):
        for row in ARCHITECTURES:
            bits, also = row["bits"], row["bits"] != "64"  # 32-bit programs run on 64-bit too
            files.append((f"{name}-{row['suffix']}.{kind}", kind, {
                "bg": f"{bg}, {bits}-битов Windows" + (" (и 64-битов)" if also else ""),
                "en": f"{en}, {bits}-bit Windows" + (" (and 64-bit)" if also else "")}))
    files += [
        (f"{name}.cdx.json", "bom", {"bg": "съставът на програмите (SBOM), CycloneDX 1.6",
                                     "en": "what the programs are made of (SBOM), CycloneDX 1.6"}),
        (f"{name}.spdx.json", "bom", {"bg": "съставът на програмите (SBOM), SPDX 2.3",
                                      "en": "what the programs are made of (SBOM), SPDX 2.3"}),
        ("BUILDINFO.txt", "record", {
            "bg": "как е направено изданието: точните версии на инструментите",
            "en": "how the release was made: the exact versions of its tools"})]
    if manifests:
        paths = winget_manifests(version)
        files += [
            (paths["version"], "manifest", {"bg": "манифест за winget: версията",
                                            "en": "winget manifest: the version"}),
            (paths["installer"], "manifest", {"bg": "манифест за winget: инсталаторите",
                                              "en": "winget manifest: the installers"}),
            (paths["defaultLocale"], "manifest", {
                "bg": "манифест за winget: описанието на английски",
                "en": "winget manifest: the English description"}),
            (paths["locale"], "manifest", {"bg": "манифест за winget: описанието на български",
                                           "en": "winget manifest: the Bulgarian description"}),
            (SCOOP_MANIFEST, "manifest", {"bg": "манифест за Scoop", "en": "Scoop manifest"})]
    return files
