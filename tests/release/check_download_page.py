#!/usr/bin/env python3
"""Checks a release's download page against the release beside it: the page parses as XML
(it is written well-formed), every link leads to a file of the release or to a section of the
page, and only a reader's link goes to another host; nothing it loads (picture, style sheet,
font) comes from elsewhere; each table lists exactly the downloads, with the size and SHA-256
of the file itself; the markup serves screen readers (a language on the root and on the
English section, headings in order, alternative text, header cells).

Usage: check_download_page.py <release folder>
"""
import hashlib
import os
import re
import sys
import xml.etree.ElementTree as ET

NOT_DOWNLOADS = {"index.html", "window.png"}  # listed in SHA256SUMS, but the page itself


def check(folder):
    problems = []
    try:
        root = ET.parse(os.path.join(folder, "index.html")).getroot()
    except ET.ParseError as error:
        return [f"index.html is not well-formed: {error}"]
    for element in root.iter():
        element.tag = element.tag.rsplit("}", 1)[-1]
    ids = {e.get("id") for e in root.iter() if e.get("id")}

    loaded = [(e.tag, e.get("src")) for e in root.iter() if e.get("src")]
    loaded += [(e.tag, e.get("href")) for e in root.iter("link")]
    for e in root.iter():
        css = (e.text or "") if e.tag == "style" else e.get("style", "")
        for found in re.findall(r"""url\(\s*['"]?([^'")\s]+)|@import\s+['"]([^'"]+)""", css):
            loaded += [("css", url) for url in found if url]
    for tag, url in loaded:
        if url.startswith("data:"):  # in the page itself (an empty icon, which stops a request)
            continue
        if not os.path.isfile(os.path.join(folder, url)) or "/" in url:
            problems.append(f"<{tag}> loads {url}, which is not a file of the release")
    if any(True for _ in root.iter("script")):
        problems.append("the page has a script")
    for a in root.iter("a"):
        href = a.get("href", "")
        if href.startswith("#"):
            if href[1:] not in ids:
                problems.append(f"the link {href} leads to no section of the page")
        elif not re.match(r"https?://", href) and (
                ".." in href.split("/") or not os.path.isfile(os.path.join(folder, href))):
            problems.append(f"the link {href!r} leads to no file of the release")

    listed = [line.split()[1] for line in open(os.path.join(folder, "SHA256SUMS"))]
    downloads = sorted(set(listed) - NOT_DOWNLOADS)
    tables = list(root.iter("table"))
    if len(tables) != 2:
        problems.append(f"the page has {len(tables)} tables of files, not one for each language")
    for table in tables:
        names = []
        for tr in table.iter("tr"):
            a, size, code = tr.find("th/a"), tr.find("td/data"), tr.find("td/code")
            if a is None:
                continue
            name = a.get("href")
            names.append(name)
            path = os.path.join(folder, name)
            if not os.path.isfile(path):
                continue
            if size is None or size.get("value") != str(os.path.getsize(path)):
                problems.append(f"{name}: the page's size is not the file's")
            if code is None or code.text != hashlib.sha256(open(path, "rb").read()).hexdigest():
                problems.append(f"{name}: the page's SHA-256 is not the file's")
        if sorted(names) != downloads:
            problems.append(f"a table lists {sorted(names)}, the release has {downloads}")
        if table.find("thead/tr/th[@scope='col']") is None:
            problems.append("a table has no header cells")

    if root.get("lang") != "bg" or root.find(".//section[@lang='en']") is None:
        problems.append("the page is not marked Bulgarian, with an English section")
    levels = [int(e.tag[1]) for e in root.iter() if re.fullmatch(r"h[1-6]", e.tag)]
    if levels[:1] != [1] or any(b > a + 1 for a, b in zip(levels, levels[1:])):
        problems.append(f"the headings skip a level: {levels}")
    if any(not img.get("alt", "").strip() for img in root.iter("img")):
        problems.append("a picture has no alternative text")
    return problems


problems = check(sys.argv[1])
for problem in problems:
    print(f"FAIL: {problem}")
sys.exit(1 if problems else 0)
