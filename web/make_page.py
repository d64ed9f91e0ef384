#!/usr/bin/env python3
"""Writes the page: page.html with its style, its script, the core's WebAssembly module
(base64) and the notices of what is linked into it inside, and a Content-Security-Policy that
lets in exactly that style and that script, by their SHA-256, and nothing from anywhere.

Usage: make_page.py <core.wasm> <folder of page.html, page.css, page.js> <notices.txt>
       (the page on stdout)
"""
import base64
import hashlib
import sys


def digest(text):
    return base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()


def imports(module):
    """Whether a WebAssembly module has an import section (id 2): the page gives it nothing."""
    at = 8  # past the magic number and the version
    while at < len(module):
        section, at = module[at], at + 1
        size = shift = 0
        while True:
            byte, at = module[at], at + 1
            size |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                break
        if section == 2:
            return True
        at += size
    return False


def main():
    wasm, folder, notices = sys.argv[1:4]
    page = open(f"{folder}/page.html", encoding="utf-8").read()
    style = open(f"{folder}/page.css", encoding="utf-8").read()
    script = open(f"{folder}/page.js", encoding="utf-8").read()
    module = open(wasm, "rb").read()
    if imports(module):
        sys.exit(f"{wasm} imports functions, which the page does not give it")
    core = base64.b64encode(module).decode()
    # Inside an HTML comment, which holds no "--" at all, so that nothing ends it early.
    notices = open(notices, encoding="utf-8").read()
    while "--" in notices:
        notices = notices.replace("--", "- -")
    if "</script" in script.lower():
        sys.exit("page.js holds </script, which would end the page's script early")
    policy = "; ".join([
        "default-src 'none'",
        f"script-src 'sha256-{digest(script)}' 'wasm-unsafe-eval'",
        f"style-src 'sha256-{digest(style)}'",
        "img-src data:",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    for mark, text in (("@POLICY@", policy), ("@STYLE@", style), ("@SCRIPT@", script),
                       ("@CORE@", core), ("@NOTICES@", notices)):
        if page.count(mark) != 1:
            sys.exit(f"page.html must hold {mark} once")
        page = page.replace(mark, text)
    sys.stdout.write(page)


main()
