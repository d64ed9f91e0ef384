#!/usr/bin/env python3
"""Opens a release's download page from disk in headless Chromium at a desktop width and at a
phone's (with the phone's handling of the viewport), and fails on a console error, a resource
that did not load or came from anywhere but the release's folder, a page wider than the
window, anything axe-core, the web's accessibility audit, finds against it (where the set-up
could install it), or a text that stands out less than 4.5:1 from any pixel behind it. Each
width leaves a full-page screenshot, for a person to look at.

Usage: page_in_browser.py <index.html> <screenshot prefix>   (writes <prefix>-1280.png, -390.png)
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))
import browser  # noqa: E402

WIDTHS = [(1280, False), (390, True)]  # (CSS pixels, as a phone)


def check(driver, url, folder, width, phone, shot):
    browser.view(driver, width, phone)
    driver.get(url)
    problems = browser.console_problems(driver)
    for resource in driver.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)"):
        if not resource.startswith(f"file://{folder}/"):
            problems.append(f"loaded from elsewhere: {resource}")
    for image in driver.execute_script(
            "return [...document.images].filter(i => !i.naturalWidth).map(i => i.src)"):
        problems.append(f"a picture did not load: {image}")
    page, window = driver.execute_script(
        "return [document.documentElement.scrollWidth, window.innerWidth]")
    if page > window:
        problems.append(f"the page is {page} px wide in a window of {window} px")
    if browser.without_audit():
        print(f"not checked: {browser.without_audit()}")
    else:
        problems += [f"axe-core: {v}" for v in browser.audit(driver)]
    problems += [f"contrast: {v}" for v in browser.contrast(driver, width, phone)]
    browser.screenshot(driver, width, phone, shot)
    return [f"at {width} px: {p}" for p in problems]


def main():
    page, prefix = os.path.realpath(sys.argv[1]), sys.argv[2]
    folder = os.path.dirname(page)
    problems = []
    with browser.chromium() as driver:
        for width, phone in WIDTHS:
            shot = f"{prefix}-{width}.png"
            problems += check(driver, f"file://{page}", folder, width, phone, shot)
            print(f"screenshot at {width} px{' as a phone' if phone else ''}: {shot}")
    for problem in problems:
        print(f"FAIL: {problem}")
    sys.exit(1 if problems else 0)


main()
