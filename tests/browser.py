"""The three engines pupils meet, through python3-selenium, for the tests of the pages: headless
Chromium through Debian's chromedriver; Firefox through its own Marionette protocol
(tests/marionette.py); WebKit as WebKitGTK's MiniBrowser through WebKitWebDriver, on an Xvfb
display of its own. Each is quiet (it reaches for nothing on its own). What only one engine's
driver can do (the console, the network log, device emulation) is done where it can be."""
import base64
import contextlib
import glob
import inspect
import json
import os
import subprocess
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.webkitgtk.service import Service as WebKitService

import marionette

ENGINES = ("chromium", "firefox", "webkit")
# What Chromium reaches for on its own, which this closed network refuses.
QUIET = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-dev-shm-usage"]
WEBKIT_DRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSER = next(iter(glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser")), "MiniBrowser")


@contextlib.contextmanager
def xvfb():
    """A display of its own, for as long as the block runs."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1080x24",
                               "-nolisten", "tcp"], pass_fds=[write], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as display:
        number = display.readline().strip()
    try:
        yield f":{number}"
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def engine(name):
    """A driver of that engine, its name in driver.engine."""
    with contextlib.ExitStack() as stack:
        if name == "chromium":
            profile = stack.enter_context(tempfile.TemporaryDirectory())
            options = webdriver.ChromeOptions()
            options.binary_location = "/usr/bin/chromium"
            for argument in QUIET + [f"--user-data-dir={profile}"]:
                options.add_argument(argument)
            options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
            driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        elif name == "firefox":
            server = marionette.serve("/usr/bin/firefox-esr")
            stack.callback(server.shutdown)
            driver = webdriver.Remote(f"http://127.0.0.1:{server.server_address[1]}",
                                      options=webdriver.FirefoxOptions())
        else:
            display = stack.enter_context(xvfb())
            options = webdriver.WebKitGTKOptions()
            options.binary_location = MINIBROWSER
            options.add_argument("--automation")
            os.environ["DISPLAY"] = display  # for the driver and the browser it starts
            if "service" in inspect.signature(webdriver.WebKitGTK).parameters:  # Selenium 4.10+
                driver = webdriver.WebKitGTK(options=options, service=WebKitService(WEBKIT_DRIVER))
            else:
                driver = webdriver.WebKitGTK(executable_path=WEBKIT_DRIVER, options=options)
        stack.callback(driver.quit)
        driver.engine = name
        yield driver


def chromium():
    return engine("chromium")


def view(driver, width, phone=False, height=800, scale=1):
    """A viewport of <width> CSS pixels: Chromium's as a phone's or at a device scale; the other
    engines' by the size of their window."""
    if driver.engine == "chromium":
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": phone})
        return
    driver.set_window_rect(width=width, height=height)
    inner = driver.execute_script("return [innerWidth, innerHeight]")
    driver.set_window_rect(width=2 * width - inner[0], height=2 * height - inner[1])


def in_frame(driver, url, width, height):
    """The page at <url> in a frame of that size, on a page of its own; the driver inside it."""
    wrapper = tempfile.NamedTemporaryFile("w", suffix=".html", delete=False)
    with wrapper:
        wrapper.write(f'<!DOCTYPE html><body style="margin:0"><iframe src="{url}" width="{width}"'
                      f' height="{height}" style="border:0"></iframe>')
    driver.get(f"file://{wrapper.name}")
    os.unlink(wrapper.name)
    driver.switch_to.frame(driver.find_element("tag name", "iframe"))


def console_problems(driver):
    if driver.engine != "chromium":
        return []
    return [f"console: {e['message']}" for e in driver.get_log("browser")
            if e["level"] in ("SEVERE", "WARNING")]


def requests(driver, page):
    """The addresses of every request the page made (since the last call, in Chromium's log),
    the page's own included in Chromium's."""
    if driver.engine != "chromium":
        return driver.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)")
    found = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent" and \
                message["params"].get("documentURL") == page:
            found.append(message["params"]["request"]["url"])
    return found


def to_clipboard(driver, text):
    """<text> on the system's clipboard: written there in Chromium; elsewhere copied with Ctrl+C
    from a field of its own, which keeps no carriage returns."""
    if driver.engine == "chromium":
        driver.execute_cdp_cmd("Browser.grantPermissions", {
            "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        driver.execute_script("return navigator.clipboard.writeText(arguments[0])", text)
        return
    scratch = driver.execute_script(
        "const t = document.createElement('textarea'); t.value = arguments[0];"
        "document.body.append(t); t.focus(); t.select(); return t", text)
    ActionChains(driver).key_down(Keys.CONTROL).send_keys("c").key_up(Keys.CONTROL).perform()
    driver.execute_script("arguments[0].remove()", scratch)


def undo(driver, field):
    """Ctrl+Z in <field>. WebKitWebDriver's keys do not pass WebKitGTK's key bindings, where
    Ctrl+Z is: there the field's undo is asked for as the binding asks for it."""
    if driver.engine == "webkit":
        driver.execute_script("arguments[0].focus(); document.execCommand('undo')", field)
    else:
        field.send_keys(Keys.CONTROL, "z")


def screenshot(driver, width, phone, path):
    """The whole page at that width, however long it is, in Chromium; the window elsewhere."""
    if driver.engine == "chromium":
        height = driver.execute_script("return document.documentElement.scrollHeight")
        view(driver, width, phone, height)
        data = base64.b64decode(
            driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})["data"])
    else:  # the window as it is: no narrower than the engine lets it be
        data = driver.get_screenshot_as_png()
    with open(path, "wb") as out:
        out.write(data)
