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
# axe-core, the web's accessibility audit, as scripts/setup.sh installs it from npm, and why
# it could not where it could not.
NPM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build", "npm")
AXE = os.path.join(NPM, "node_modules", "axe-core", "axe.min.js")
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


def without_audit():
    """Why axe-core is not here, or None where it is."""
    if os.path.exists(AXE):
        return None
    try:
        why = open(os.path.join(NPM, "failed.txt"), encoding="utf-8").read().strip()
    except FileNotFoundError:
        why = "scripts/setup.sh has not installed it"
    return f"axe-core is not installed from npm: {why}"


def audit(driver):
    """What axe-core finds against the document the driver is in: a line a rule broken, with
    the places. What it leaves for a person to review (a text on a gradient, say) is not here."""
    driver.set_script_timeout(60)
    return driver.execute_async_script(open(AXE, encoding="utf-8").read() + """
        const done = arguments[arguments.length - 1];
        axe.run(document, {resultTypes: ["violations"]}).then(
            (r) => done(r.violations.map((v) =>
                `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`)),
            (e) => done([`axe-core failed: ${e}`]));""")


# Each shown text's colour and boxes, the texts then made transparent, so that a screenshot
# shows what lies behind them.
TEXTS = """
const texts = [];
const shown = (e) => e.offsetParent !== null || getComputedStyle(e).position === "fixed";
for (const e of document.querySelectorAll("body *")) {
  if (!shown(e) || ["SCRIPT", "STYLE", "NOSCRIPT"].includes(e.tagName)) continue;
  const boxes = [];
  if ((e.tagName === "INPUT" || e.tagName === "TEXTAREA") && e.value) {
    const r = e.getBoundingClientRect();
    boxes.push([r.left + e.clientLeft, r.top + e.clientTop, e.clientWidth, e.clientHeight]);
  }
  for (const node of e.childNodes) {
    if (node.nodeType !== Node.TEXT_NODE || !node.data.trim()) continue;
    const range = document.createRange();
    range.selectNodeContents(node);
    const within = e.getBoundingClientRect();
    for (const r of range.getClientRects()) {
      const left = Math.max(r.left, within.left), top = Math.max(r.top, within.top);
      const right = Math.min(r.right, within.right), bottom = Math.min(r.bottom, within.bottom);
      if (right > left && bottom > top) boxes.push([left, top, right - left, bottom - top]);
    }
  }
  if (boxes.length) {
    const name = e.dataset.control || e.id || `${e.tagName.toLowerCase()} "${
      (e.value || e.textContent).trim().slice(0, 30)}"`;
    texts.push({name, colour: getComputedStyle(e).color, boxes});
  }
}
for (const e of document.querySelectorAll("body *")) {
  e.style.setProperty("color", "transparent", "important");
  e.style.setProperty("text-shadow", "none", "important");
}
return [texts, devicePixelRatio];
"""
# The least contrast of each text against the pixels of a screenshot (PNG, base64) within its
# boxes, by WCAG's relative luminance.
LEAST_CONTRAST = """
const [png, texts, scale, done] = arguments;
const luminance = ([r, g, b]) => [r, g, b].map((c) => {
  c /= 255;
  return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
}).reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
const ratio = (a, b) => (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
createImageBitmap(new Blob([bytes], {type: "image/png"})).then((image) => {
  const canvas = document.createElement("canvas");
  [canvas.width, canvas.height] = [image.width, image.height];
  const context = canvas.getContext("2d");
  context.drawImage(image, 0, 0);
  const pixels = context.getImageData(0, 0, image.width, image.height).data;
  done(texts.map(({name, colour, boxes}) => {
    const text = luminance(colour.match(/[0-9.]+/g).map(Number));
    let least = Infinity;
    for (const [x, y, w, h] of boxes) {
      const right = Math.min(Math.floor((x + w) * scale), image.width);
      const bottom = Math.min(Math.floor((y + h) * scale), image.height);
      for (let row = Math.max(0, Math.ceil(y * scale)); row < bottom; row++) {
        for (let column = Math.max(0, Math.ceil(x * scale)); column < right; column++) {
          const at = 4 * (row * image.width + column);
          least = Math.min(least, ratio(text, luminance(pixels.subarray(at, at + 3))));
        }
      }
    }
    return [name, least];
  }));
}, (e) => done([[`the screenshot could not be read: ${e}`, 0]]));
"""


def contrast(driver, width, phone, least=4.5):
    """Every text shown, against every pixel behind it: those below <least>:1, each with its
    least contrast. The whole page in Chromium, the window's view elsewhere; the page is
    loaded again afterwards."""
    if driver.engine == "chromium":
        view(driver, width, phone, driver.execute_script(
            "return document.documentElement.scrollHeight"))
    texts, scale = driver.execute_script(TEXTS)
    # Painted without the texts before the picture is taken, which WebKit does only later.
    driver.execute_async_script(
        "requestAnimationFrame(() => requestAnimationFrame(arguments[arguments.length - 1]))")
    png = driver.get_screenshot_as_base64() if driver.engine != "chromium" else \
        driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})["data"]
    driver.set_script_timeout(60)
    found = driver.execute_async_script(LEAST_CONTRAST, png, texts, scale)
    if driver.engine == "chromium":
        view(driver, width, phone)
    driver.execute_script("delete document.documentElement.dataset.ready")  # see the reload
    driver.refresh()
    return [f"{name} at {ratio:.2f}:1, below {least}:1" for name, ratio in found if ratio < least]


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
