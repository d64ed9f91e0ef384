"""Headless Chromium through Debian's chromedriver and python3-selenium, for the tests of the
pages: quiet (it reaches for nothing on its own), with the console and the network logged."""
import base64
import json
import contextlib
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# What Chromium reaches for on its own, which this closed network refuses.
QUIET = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-dev-shm-usage"]


@contextlib.contextmanager
def chromium():
    with tempfile.TemporaryDirectory() as profile:
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in QUIET + [f"--user-data-dir={profile}"]:
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            yield driver
        finally:
            driver.quit()


def view(driver, width, phone, height=800, scale=1):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": scale, "mobile": phone})


def console_problems(driver):
    return [f"console: {e['message']}" for e in driver.get_log("browser")
            if e["level"] in ("SEVERE", "WARNING")]


def requests(driver, page):
    """The addresses of every request the page made since the last call, the page's own
    included, from the performance log."""
    found = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent" and \
                message["params"].get("documentURL") == page:
            found.append(message["params"]["request"]["url"])
    return found


def screenshot(driver, width, phone, path):
    """The whole page at that width, however long it is."""
    height = driver.execute_script("return document.documentElement.scrollHeight")
    view(driver, width, phone, height)
    with open(path, "wb") as out:
        out.write(base64.b64decode(
            driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})["data"]))
