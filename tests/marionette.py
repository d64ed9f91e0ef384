"""Firefox as a WebDriver server, for python3-selenium's Remote driver: Debian has no
geckodriver, but Firefox itself serves the WebDriver commands over its Marionette protocol
(length-prefixed JSON on a local port). This passes each HTTP command on as the command of the
same name there, and each answer back."""
import http.server
import json
import os
import re
import socket
import subprocess
import tempfile
import threading
import time

# (method, path under /session/<id>, Marionette command); a path's {name} part goes along as
# that parameter.
# clang-format off
COMMANDS = [
    ("POST",   "/url",                               "WebDriver:Navigate"),
    ("GET",    "/url",                               "WebDriver:GetCurrentURL"),
    ("GET",    "/title",                             "WebDriver:GetTitle"),
    ("POST",   "/refresh",                           "WebDriver:Refresh"),
    ("POST",   "/timeouts",                          "WebDriver:SetTimeouts"),
    ("GET",    "/window/rect",                       "WebDriver:GetWindowRect"),
    ("POST",   "/window/rect",                       "WebDriver:SetWindowRect"),
    ("POST",   "/element",                           "WebDriver:FindElement"),
    ("POST",   "/elements",                          "WebDriver:FindElements"),
    ("GET",    "/element/active",                    "WebDriver:GetActiveElement"),
    ("GET",    "/element/{id}/property/{name}",      "WebDriver:GetElementProperty"),
    ("GET",    "/element/{id}/attribute/{name}",     "WebDriver:GetElementAttribute"),
    ("GET",    "/element/{id}/css/{propertyName}",   "WebDriver:GetElementCSSValue"),
    ("GET",    "/element/{id}/rect",                 "WebDriver:GetElementRect"),
    ("GET",    "/element/{id}/computedrole",         "WebDriver:GetComputedRole"),
    ("GET",    "/element/{id}/computedlabel",        "WebDriver:GetComputedLabel"),
    ("GET",    "/element/{id}/name",                 "WebDriver:GetElementTagName"),
    ("GET",    "/element/{id}/text",                 "WebDriver:GetElementText"),
    ("GET",    "/element/{id}/enabled",              "WebDriver:IsElementEnabled"),
    ("POST",   "/element/{id}/click",                "WebDriver:ElementClick"),
    ("POST",   "/element/{id}/clear",                "WebDriver:ElementClear"),
    ("POST",   "/element/{id}/value",                "WebDriver:ElementSendKeys"),
    ("POST",   "/execute/sync",                      "WebDriver:ExecuteScript"),
    ("POST",   "/execute/async",                     "WebDriver:ExecuteAsyncScript"),
    ("POST",   "/frame/parent",                      "WebDriver:SwitchToParentFrame"),
    ("POST",   "/actions",                           "WebDriver:PerformActions"),
    ("DELETE", "/actions",                           "WebDriver:ReleaseActions"),
    ("GET",    "/screenshot",                        "WebDriver:TakeScreenshot"),
]
# clang-format on
ROUTES = [(method, re.compile("^/session/[^/]+" + re.sub(r"\{(\w+)\}", r"(?P<\1>[^/]+)", path)
                              + "$"), command) for method, path, command in COMMANDS]


class Marionette:
    """One Firefox, headless, in a profile of its own, and the connection to it."""

    def __init__(self, binary):
        self.profile = tempfile.TemporaryDirectory()
        with socket.socket() as probe:  # a port nobody uses now
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        with open(os.path.join(self.profile.name, "user.js"), "w") as prefs:
            for name, value in (("marionette.port", self.port), ("browser.shell.checkDefaultBrowser", False),
                                ("datareporting.policy.dataSubmissionEnabled", False),
                                ("app.update.disabledForTesting", True),
                                ("browser.startup.homepage_override.mstone", "ignore")):
                prefs.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        self.firefox = subprocess.Popen(
            [binary, "-headless", "-marionette", "-no-remote", "-profile", self.profile.name],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(300):
            try:
                self.socket = socket.create_connection(("127.0.0.1", self.port))
                break
            except OSError:
                time.sleep(0.1)
        else:
            self.close()
            raise RuntimeError(f"Firefox served no Marionette on port {self.port} within 30 s")
        self.reader = self.socket.makefile("rb")
        self.read()  # its greeting
        self.sent = 0

    def read(self):
        size = b""
        while not size.endswith(b":"):
            size += self.reader.read(1) or b":"
        return json.loads(self.reader.read(int(size[:-1] or 0)) or "null")

    def call(self, command, parameters):
        self.sent += 1
        data = json.dumps([0, self.sent, command, parameters]).encode()
        self.socket.sendall(str(len(data)).encode() + b":" + data)
        _, _, error, result = self.read()
        return error, result

    def close(self):
        self.firefox.terminate()
        try:
            self.firefox.wait(10)
        except subprocess.TimeoutExpired:
            self.firefox.kill()
            self.firefox.wait()
        self.profile.cleanup()


class Server(http.server.ThreadingHTTPServer):
    def __init__(self, binary):
        super().__init__(("127.0.0.1", 0), Handler)
        self.binary = binary
        self.firefox = None
        self.lock = threading.Lock()  # one command at a time on the connection


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *_):
        pass

    def answer(self, status, value):
        body = json.dumps({"value": value}).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def handle_command(self, method):
        size = int(self.headers.get("Content-Length") or 0)
        body = json.loads(self.rfile.read(size) or "{}") if size else {}
        server = self.server
        with server.lock:
            if method == "POST" and self.path == "/session":
                server.firefox = Marionette(server.binary)
                capabilities = body.get("capabilities", {}).get("alwaysMatch", {})
                wanted = {k: v for k, v in capabilities.items() if not k.startswith("moz:")}
                error, result = server.firefox.call("WebDriver:NewSession",
                                                    {"capabilities": {"alwaysMatch": wanted}})
            elif method == "DELETE" and re.fullmatch(r"/session/[^/]+", self.path):
                if server.firefox:
                    server.firefox.call("WebDriver:DeleteSession", {})
                    server.firefox.close()
                    server.firefox = None
                error, result = None, None
            elif method == "POST" and self.path.endswith("/frame"):
                frame = body.get("id")  # an element, a number, or none for the top
                error, result = server.firefox.call("WebDriver:SwitchToFrame", (
                    {"element": next(iter(frame.values()))} if isinstance(frame, dict) else
                    {"id": frame} if frame is not None else {}))
            else:
                for route_method, route, command in ROUTES:
                    found = route.match(self.path)
                    if route_method == method and found:
                        error, result = server.firefox.call(command, {**body, **found.groupdict()})
                        break
                else:
                    error, result = {"error": "unknown command",
                                     "message": f"{method} {self.path}"}, None
        if error:
            self.answer(404 if error.get("error") in ("no such element", "unknown command") else 500,
                        error)
        elif isinstance(result, dict) and set(result) == {"value"}:
            self.answer(200, result["value"])
        else:
            self.answer(200, result)

    def do_GET(self):
        self.handle_command("GET")

    def do_POST(self):
        self.handle_command("POST")

    def do_DELETE(self):
        self.handle_command("DELETE")


def serve(binary):
    """The server, answering on its own thread; its address is
    f"http://127.0.0.1:{server.server_address[1]}"."""
    server = Server(binary)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server
