#!/usr/bin/env python3
"""The page as a pupil uses it, in Chromium, Firefox or WebKit: controls found by their role and
the name a screen reader hears, typed into, clicked, pasted into through the real clipboard.
The logs expected are the ones written out by hand in tests/expected_logs.h; the places, those
of the window at 96 dpi, are the same to a pixel in every engine.

Usage: page_test.py <Quorvel.html> <opens | computes | input | phone | contrast | audit>
                    <chromium | firefox | webkit> [screenshot prefix]
(status 77, skipped: the audit where axe-core could not be installed)
"""
import os
import re
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.common.action_chains import ActionChains
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))
import browser  # noqa: E402

CAPTION = "www.quorvel.example Информатика - криптиране"
LOG = "Криптиране и декриптиране"
# Each shown control's box in CSS pixels within the client area: the table's twips over 15.
BOXES = {
    "Label1(0)": (64, 0, 369, 25), "Label1(1)": (16, 40, 49, 33), "Text2(0)": (64, 40, 433, 33),
    "Label1(2)": (112, 80, 89, 33), "Text2(1)": (200, 80, 297, 33),
    "Command1(0)": (8, 120, 97, 33), "Command1(1)": (392, 128, 105, 33),
    "Text1(0)": (8, 168, 489, 177),
}
# The task text in the log box: 22 lines of 18 px, and the padding above and below.
TASK_TEXT_HEIGHT = 22 * 18 + 2
problems = []


def expect(what, got, wanted):
    if got != wanted:
        problems.append(f"{what}: {got!r}, expected {wanted!r}")


def expected_logs():
    """{(phrase, key): log} from the comments and literals of tests/expected_logs.h."""
    source = open(os.path.join(os.path.dirname(__file__), "..", "expected_logs.h"),
                  encoding="utf-8").read()
    logs = {}
    for phrase, key, body in re.findall(
            r'// Phrase "([^"]*)", key "([^"]*)".*?\nconstexpr char16_t \w+\[\] =\n(.*?);\n',
            source, re.S):
        pieces = re.findall(r'u"((?:[^"\\]|\\.)*)"', body)
        logs[(phrase, key)] = "".join(pieces).replace("\\r\\n", "\n")
    if len(logs) < 2:
        sys.exit("FAIL: tests/expected_logs.h gave fewer than two logs")
    return logs


def control(driver, role, name):
    """The one shown control with that role and accessible name."""
    found = [e for e in driver.find_elements(By.CSS_SELECTOR, "input, textarea, button, label")
             if e.is_displayed() and e.aria_role == role and e.accessible_name == name]
    if len(found) != 1:
        sys.exit(f"FAIL: {len(found)} controls are a {role} named {name!r}")
    return found[0]


def fields(driver):
    return (control(driver, "textbox", "Текст:"), control(driver, "textbox", "Ключ:"),
            control(driver, "textbox", LOG), control(driver, "button", "Изчисли"),
            control(driver, "button", "Изчисти"))


def background(element):
    """(red, green, blue) of an opaque background, as each engine writes it."""
    found = re.fullmatch(r"rgba?\((\d+), (\d+), (\d+)(, 1)?\)",
                         element.value_of_css_property("background-color"))
    return tuple(int(n) for n in found.groups()[:3]) if found else None


def value(element):
    return element.get_property("value")


def focused(driver):
    return driver.switch_to.active_element.accessible_name


def opens(driver):
    """As the window opens: its title, controls, places, colours, focus and Tab order."""
    expect("title", driver.title, CAPTION)
    expect("language", driver.find_element(By.TAG_NAME, "html").get_attribute("lang"), "bg")
    phrase, key, log, compute, clear = fields(driver)
    expect("phrase", value(phrase), "abcdefghijklmnopquvwxyz")
    expect("key", value(key), "47031")
    expect("log box read-only", log.get_property("readOnly"), True)
    expect("the task in the log box", value(log).startswith("След използване на криптографски"), True)
    client = driver.find_element(By.ID, "client").rect
    for name, rect in BOXES.items():
        r = driver.find_element(By.CSS_SELECTOR, f'[data-control="{name}"]').rect
        expect(f"{name} at", (round(r["x"] - client["x"]), round(r["y"] - client["y"]),
                              round(r["width"]), round(r["height"])), rect)
    expect("client area", (round(client["width"]), round(client["height"])), (503, 351))
    # The same lines in every engine: the task text's, 18 px apart, wrapped at one width.
    expect("the task text's height", log.get_property("scrollHeight"), TASK_TEXT_HEIGHT)
    expect("Изчисли", background(compute), (0, 255, 0))
    expect("Изчисти", background(clear), (255, 0, 0))
    expect("caption", background(driver.find_element(By.XPATH, "//label[.='Ключ:']")),
           (255, 192, 128))
    expect("focus at the start", focused(driver), LOG)
    expect("the log box from its first line", (log.get_property("scrollTop"),
           log.get_property("selectionEnd")), (0, 0))
    order = []
    for _ in range(4):
        ActionChains(driver).send_keys(Keys.TAB).perform()
        order.append(focused(driver))
    expect("Tab order", order, ["Текст:", "Ключ:", "Изчисли", "Изчисти"])


def type_into(field, text):
    field.clear()
    field.send_keys(text)


def computes(driver):
    """"Изчисли" pressed from the keyboard and clicked, "Изчисти" clicked, and Enter and Escape
    pressed in the fields, as a pupil would."""
    phrase, key, log, compute, clear = fields(driver)
    logs = expected_logs()
    # The keyboard alone: from the log box, Tab to "Изчисли" and press Enter.
    ActionChains(driver).send_keys(Keys.TAB * 3, Keys.ENTER).perform()
    expect("phrase normalized", value(phrase), "ABCDEFGHIJKLMNOPQUVWXYZ")
    expect("log of the opening fields", value(log), logs[("ABCDEFGHIJKLMNOPQUVWXYZ", "47031")])
    expect("log shown from its first line", log.get_property("scrollTop"), 0)
    for (text, word), expected in logs.items():
        type_into(phrase, text.lower() + " 1!")
        type_into(key, word)
        compute.click()
        expect(f"phrase {text}", value(phrase), text)
        expect(f"log of {text} with {word}", value(log), expected)
    shown = value(log)
    clear.click()
    expect("fields after Изчисти", (value(phrase), value(key)), ("", ""))
    expect("log after Изчисти", value(log), shown)
    type_into(phrase, "é ab")
    compute.click()
    expect("phrase normalized without a key", value(phrase), "AB")
    expect("log without a key", value(log), shown)
    type_into(key, "k")
    for field in (phrase, key):
        field.send_keys(Keys.ENTER, Keys.ESCAPE)
    expect("log after Enter and Escape", value(log), shown)
    expect("fields after Enter and Escape", (value(phrase), value(key)), ("AB", "k"))


def paste(driver, field, text):
    browser.to_clipboard(driver, text)
    field.send_keys(Keys.CONTROL, "v")


def input_rules(driver):
    """The limits, the code page, a paste through the clipboard, Ctrl+Backspace, and Ctrl+Z
    after each."""
    phrase, key, *_ = fields(driver)
    type_into(phrase, "x" * 60)
    expect("phrase typed past 50", len(value(phrase)), 50)
    type_into(key, "a€ā中б")
    expect("key typed with characters outside Windows-1251", value(key), "a€б")
    key.clear()
    paste(driver, key, "Ключ ā1\r\nвтори ред")
    expect("key pasted", value(key), "Ключ 1")
    paste(driver, key, "0123456789abcdefghij")
    expect("paste cut to the room left", value(key), "Ключ 10123456789abcd")
    browser.undo(driver, key)
    expect("Ctrl+Z after a paste", value(key), "Ключ 1")
    type_into(phrase, "one two  ")
    phrase.send_keys(Keys.CONTROL, Keys.BACKSPACE)
    expect("Ctrl+Backspace after blanks", value(phrase), "one ")
    browser.undo(driver, phrase)
    expect("Ctrl+Z after Ctrl+Backspace", value(phrase), "one two  ")
    phrase.send_keys(Keys.END, Keys.CONTROL, Keys.BACKSPACE)
    phrase.send_keys(Keys.CONTROL, Keys.BACKSPACE)
    expect("Ctrl+Backspace again", value(phrase), "")


def phone(driver, url, prefix):
    """390 CSS pixels wide as a phone, tapped; 200 % zoom; high contrast, where the engine
    emulates it; screenshots."""
    as_phone(driver, url)
    wide, room = driver.execute_script(
        "return [document.documentElement.scrollWidth, document.documentElement.clientWidth]")
    expect("page width on a phone", (wide <= room, room), (True, 390))
    left, right = driver.execute_script(
        "const r = document.getElementById('frame').getBoundingClientRect(); return [r.left, r.right]")
    expect("window within the phone's width", (left >= 0, right <= room), (True, True))
    phrase, key, log, compute, _ = fields(driver)
    ActionChains(driver).move_to_element(compute).click().perform()
    expect("a tap on Изчисли", value(phrase), "ABCDEFGHIJKLMNOPQUVWXYZ")
    driver.switch_to.default_content()
    browser.screenshot(driver, 390, True, f"{prefix}-390.png")
    load(driver, url)
    # 200 % zoom on a 1280 px screen: 640 CSS pixels at two device pixels each.
    browser.view(driver, 640, False, scale=2)
    load(driver)
    overflow = driver.execute_script(
        "return [...document.querySelectorAll('#client > :not([hidden])')]"
        ".filter(e => e.scrollWidth > e.clientWidth + 1 && e.tagName != 'INPUT')"
        ".map(e => e.dataset.control)")
    expect("controls whose text overflows at 200 %", overflow, [])
    expect("page width at 200 %", driver.execute_script(
        "return document.documentElement.scrollWidth <= document.documentElement.clientWidth"), True)
    browser.view(driver, 1280, False)
    load(driver)
    browser.screenshot(driver, 1280, False, f"{prefix}-1280.png")
    if driver.engine != "chromium":
        print(f"not tried in {driver.engine}: high contrast, which Chromium alone emulates")
        return
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
        "features": [{"name": "forced-colors", "value": "active"}]})
    load(driver)
    system = driver.execute_script(
        "const probe = document.createElement('div'); probe.style.background = 'ButtonFace';"
        "document.body.append(probe); return getComputedStyle(probe).backgroundColor")
    _, _, _, compute, clear = fields(driver)
    caption = driver.find_element(By.XPATH, "//label[.='Текст:']")
    expect("high contrast", [driver.execute_script(
        "return getComputedStyle(arguments[0]).backgroundColor", e)
        for e in (compute, clear, caption)], [system] * 3)


def contrast(driver):
    """Every text stands out 4.5:1 from whatever lies behind it, which axe-core leaves to a
    person where it lies on a gradient."""
    problems.extend(f"contrast: {v}" for v in browser.contrast(driver, 1280, False))
    ready(driver)


def audited(driver, url):
    """axe-core finds nothing against the page at a desktop's width and at a phone's."""
    problems.extend(f"axe-core at 1280 px: {v}" for v in browser.audit(driver))
    as_phone(driver, url)
    problems.extend(f"axe-core at 390 px: {v}" for v in browser.audit(driver))


def as_phone(driver, url):
    """The page 390 CSS pixels wide: as a phone in Chromium, in a frame that wide elsewhere,
    where the engine's window cannot be so narrow; the driver inside it, once it is ready."""
    if driver.engine == "chromium":
        browser.view(driver, 390, True)
        load(driver)
    else:
        browser.in_frame(driver, url, 390, 800)
        ready(driver)


def load(driver, url=None):
    """The page (again), once its script has built the window."""
    if url:
        driver.get(url)
    else:
        # Not ready until the new document is: WebKit's driver may return from a reload early.
        driver.execute_script("delete document.documentElement.dataset.ready")
        driver.refresh()
    ready(driver)


def ready(driver):
    try:
        WebDriverWait(driver, 10).until(lambda d: d.find_element(
            By.TAG_NAME, "html").get_attribute("data-ready") == "yes")
    except TimeoutException:
        sys.exit("FAIL: the page did not get ready; "
                 + ("; ".join(browser.console_problems(driver)) or "the console says nothing"))


def main():
    page, group, engine = os.path.realpath(sys.argv[1]), sys.argv[2], sys.argv[3]
    prefix = sys.argv[4] if len(sys.argv) > 4 else os.path.splitext(page)[0]
    prefix += f"-{engine}"
    url = f"file://{page}"
    if group == "audit" and browser.without_audit():
        print(f"skipped: {browser.without_audit()}")
        sys.exit(77)
    with browser.engine(engine) as driver:
        browser.view(driver, 1280, False)
        load(driver, url)
        {"opens": opens, "computes": computes, "input": input_rules,
         "phone": lambda d: phone(d, url, prefix), "contrast": contrast,
         "audit": lambda d: audited(d, url)}[group](driver)
        problems.extend(browser.console_problems(driver))
        problems.extend(f"a request: {u}" for u in browser.requests(driver, url)
                        if u != url and not u.startswith("data:"))
    for problem in problems:
        print(f"FAIL: {problem}")
    print(f"{'FAIL' if problems else 'ok'}: {group} in {engine}")
    sys.exit(1 if problems else 0)


main()
