#!/usr/bin/env python3
"""Figures, not a test: the page's size, and in each engine the time from navigation until it
takes input beside its static twin (the same markup and style as the page shows once ready, with
no module and no script), loaded in turns, and the time of one "Изчисли" with a 50-letter phrase
and a 20-character key, from a thousand clicks inside the page. Medians.

Usage: page_bench.py <Quorvel.html> [loads]   (default 9)
"""
import os
import statistics
import sys
import tempfile

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
# The page as shown, without what runs; without its policy too, which lets no style attribute in.
TWIN = """
const copy = document.documentElement.cloneNode(true);
copy.querySelectorAll("script, meta[http-equiv]").forEach((e) => e.remove());
return "<!DOCTYPE html>" + copy.outerHTML;
"""


def ready_at(driver):
    WebDriverWait(driver, 10).until(lambda d: d.execute_script(
        "return performance.getEntriesByName('quorvel-ready').length"))
    return driver.execute_script("return performance.getEntriesByName('quorvel-ready')[0].startTime")


def parsed_at(driver):
    WebDriverWait(driver, 10).until(lambda d: d.execute_script(
        "return document.readyState == 'complete'"))
    return driver.execute_script(
        "return performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd")


def measure(engine, page, loads):
    with browser.engine(engine) as driver, tempfile.TemporaryDirectory() as folder:
        browser.view(driver, 1280, False)
        driver.get(f"file://{page}")
        ready_at(driver)
        twin = os.path.join(folder, "twin.html")
        with open(twin, "w", encoding="utf-8") as out:
            out.write(driver.execute_script(TWIN))
        ready, static, compute = [], [], []
        for _ in range(loads):
            driver.get(f"file://{page}")
            ready.append(ready_at(driver))
            compute.append(driver.execute_script(COMPUTE, CLICKS))
            driver.get(f"file://{twin}")
            static.append(parsed_at(driver))
        version = driver.capabilities.get("browserVersion", "?")
    r, t = statistics.median(ready), statistics.median(static)
    print(f"{engine + ' ' + version:<22} {r:>8.1f} {t:>8.1f} {r / t:>6.2f} "
          f"{statistics.median(compute):>12.4f}")


def main():
    page = os.path.realpath(sys.argv[1])
    loads = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    print(f"page: {os.path.getsize(page)} bytes (goal at most 100 KiB, {100 * 1024}); "
          f"{loads} loads each, medians")
    print(f"{'engine':<22} {'ready ms':>8} {'twin ms':>8} {'ratio':>6} {'Изчисли ms':>12}"
          "   (goals: ratio 1.25, ready 100 ms, Изчисли 1 ms)")
    for engine in browser.ENGINES:
        measure(engine, page, loads)


main()
