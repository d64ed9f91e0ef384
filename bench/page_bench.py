#!/usr/bin/env python3
"""Figures, not a test: the page's size, the time from navigation until it takes input (the
median of a number of loads in headless Chromium) and the time of one "Изчисли" with a 50-letter
phrase and a 20-character key, from a thousand clicks inside the page.

Usage: page_bench.py <Quorvel.html> [loads]   (default 9)
"""
import os
import statistics
import sys

from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests"))
import browser  # noqa: E402

CLICKS = 1000
COMPUTE = """
const [phrase, key] = document.querySelectorAll("input");
const compute = document.querySelector("button");
const start = performance.now();
for (let i = 0; i < arguments[0]; i++) {
  phrase.value = "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwx";
  key.value = "Ключ за шифъра 12345";
  compute.click();
}
return (performance.now() - start) / arguments[0];
"""


def main():
    page = os.path.realpath(sys.argv[1])
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    ready, compute = [], []
    with browser.chromium() as driver:
        browser.view(driver, 1280, False)
        for _ in range(loads):
            driver.get(f"file://{page}")
            WebDriverWait(driver, 10).until(lambda d: d.execute_script(
                "return performance.getEntriesByName('quorvel-ready').length"))
            ready.append(driver.execute_script(
                "return performance.getEntriesByName('quorvel-ready')[0].startTime"))
            compute.append(driver.execute_script(COMPUTE, CLICKS))
        version = driver.capabilities.get("browserVersion", "?")
    print(f"page: {os.path.getsize(page)} bytes (goal at most 100 KiB, {100 * 1024})")
    print(f"navigation until ready for input (ms): {statistics.median(ready):.1f} "
          "(goal 100)")
    print(f"one compute, 50 letters, 20-character key (ms): {statistics.median(compute):.4f} "
          "(goal 1)")
    print(f"headless Chromium {version}, {loads} loads, medians")


main()
