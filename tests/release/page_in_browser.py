#!/usr/bin/env python3
"""Opens a release's download page from disk in headless Chromium, through chromedriver, at a
desktop width and at a phone's (with the phone's handling of the viewport), and fails on a
console error, a resource that did not load or came from anywhere but the release's folder, or
a page wider than the window. Each width leaves a full-page screenshot, for a person to look at.

Usage: page_in_browser.py <index.html> <screenshot prefix>   (writes <prefix>-1280.png, -390.png)
"""
import base64
import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

WIDTHS = [(1280, False), (390, True)]  # (CSS pixels, as a phone)
# What Chromium reaches for on its own, which this closed network refuses.
QUIET = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Driver:
    def __init__(self, port):
        self.base = f"http://127.0.0.1:{port}"
        self.session = ""

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(f"{self.base}{self.session}{path}", data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=60) as response:
            return json.load(response)["value"]

    def script(self, code):
        return self.call("POST", "/execute/sync", {"script": code, "args": []})

    def cdp(self, command, **params):
        return self.call("POST", "/goog/cdp/execute", {"cmd": command, "params": params})


def check(driver, url, folder, width, phone, shot):
    problems = []
    driver.cdp("Emulation.setDeviceMetricsOverride", width=width, height=800,
               deviceScaleFactor=1, mobile=phone)
    driver.call("POST", "/url", {"url": url})
    for _ in range(100):
        if driver.script("return document.readyState") == "complete":
            break
        time.sleep(0.1)
    for entry in driver.call("POST", "/se/log", {"type": "browser"}):
        if entry["level"] in ("SEVERE", "WARNING"):
            problems.append(f"console: {entry['message']}")
    for resource in driver.script(
            "return performance.getEntriesByType('resource').map(e => e.name)"):
        if not resource.startswith(f"file://{folder}/"):
            problems.append(f"loaded from elsewhere: {resource}")
    for image in driver.script(
            "return [...document.images].filter(i => !i.naturalWidth).map(i => i.src)"):
        problems.append(f"a picture did not load: {image}")
    page, window = driver.script(
        "return [document.documentElement.scrollWidth, window.innerWidth]")
    if page > window:
        problems.append(f"the page is {page} px wide in a window of {window} px")
    height = driver.script("return document.documentElement.scrollHeight")
    driver.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
               deviceScaleFactor=1, mobile=phone)
    with open(shot, "wb") as out:
        out.write(base64.b64decode(driver.cdp("Page.captureScreenshot", format="png")["data"]))
    return [f"at {width} px: {p}" for p in problems]


def main():
    page, prefix = os.path.realpath(sys.argv[1]), sys.argv[2]
    folder = os.path.dirname(page)
    port = free_port()
    server = subprocess.Popen(["chromedriver", f"--port={port}"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    problems = []
    try:
        driver = Driver(port)
        for _ in range(100):
            try:
                driver.call("GET", "/status")
                break
            except OSError:
                time.sleep(0.1)
        with tempfile.TemporaryDirectory() as profile:
            options = {"binary": "/usr/bin/chromium", "args": QUIET + [f"--user-data-dir={profile}"]}
            created = driver.call("POST", "/session", {"capabilities": {"alwaysMatch": {
                "goog:chromeOptions": options, "goog:loggingPrefs": {"browser": "ALL"}}}})
            driver.session = f"/session/{created['sessionId']}"
            try:
                for width, phone in WIDTHS:
                    shot = f"{prefix}-{width}.png"
                    problems += check(driver, f"file://{page}", folder, width, phone, shot)
                    print(f"screenshot at {width} px{' as a phone' if phone else ''}: {shot}")
            finally:
                driver.call("DELETE", "")
    finally:
        server.terminate()
        server.wait()
    for problem in problems:
        print(f"FAIL: {problem}")
    sys.exit(1 if problems else 0)


main()
