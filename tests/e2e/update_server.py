#!/usr/bin/env python3
"""The update-information server of the end-to-end tests.

Usage: update_server.py FOLDER

Makes two self-signed certificates for "localhost" with openssl and serves
https on two ports of 127.0.0.1: one with the certificate the test trusts,
one with a certificate nobody trusts. It also names a port where nothing
listens. Into FOLDER it writes trusted.der (the trusted certificate), and
last "ready", a line "TRUSTED UNTRUSTED CLOSED" of port numbers.

Paths: /newer names version 1.46, /same names 1.45 (the program's own),
/held answers as /newer once the file FOLDER/release exists, anything
else is 404. Each request's path is added as a line to FOLDER/requests.

The server ends when FOLDER disappears (the test removes its folder), or
after ten minutes at the latest.
"""
import http.server
import os
import socket
import ssl
import subprocess
import sys
import threading
import time

ANSWERS = {
    "/newer": b"Dictionary=1.46\r\nother=1\r\n",
    "/same": b"name=Dictionary\ndictionary=1.45\n",
}
LIFETIME_SECONDS = 600


class Handler(http.server.BaseHTTPRequestHandler):
    folder = None

    def do_GET(self):
        path = self.path
        with open(os.path.join(self.folder, "requests"), "a") as log:
            log.write(path + "\n")
        if path == "/held":
            release = os.path.join(self.folder, "release")
            end = time.monotonic() + LIFETIME_SECONDS
            while not os.path.exists(release) and time.monotonic() < end:
                time.sleep(0.05)
            path = "/newer"
        body = ANSWERS.get(path)
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def make_certificate(folder, name):
    key = os.path.join(folder, name + ".key")
    cert = os.path.join(folder, name + ".pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
         "-days", "2", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def serve(cert, key):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def closed_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    folder = sys.argv[1]
    Handler.folder = folder
    trusted = make_certificate(folder, "trusted")
    untrusted = make_certificate(folder, "untrusted")
    subprocess.run(["openssl", "x509", "-in", trusted[0], "-outform", "der",
                    "-out", os.path.join(folder, "trusted.der")], check=True)
    ports = [serve(*trusted), serve(*untrusted), closed_port()]
    partial = os.path.join(folder, "ready.part")
    with open(partial, "w") as ready:
        ready.write(" ".join(str(port) for port in ports) + "\n")
    os.rename(partial, os.path.join(folder, "ready"))

    end = time.monotonic() + LIFETIME_SECONDS
    while os.path.isdir(folder) and time.monotonic() < end:
        time.sleep(0.2)


if __name__ == "__main__":
    main()
