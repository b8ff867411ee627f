#!/usr/bin/python3
"""Checks OAuth 1.0a signatures with oauthlib, as an independent peer of the signing code.

Serves on a free loopback port and prints that port on the first line of its output. Every
request gets 200 "valid" when oauthlib accepts its signature and 401 "invalid" otherwise.
"""
import http.server
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../../support"))
from oauthlib_validator import signature_endpoint  # noqa: E402

CLIENTS = {"dpf43f3p2l4k3l03": "kd94hf93k423kf44", "consumer-key": "consumer secret&1"}
TOKENS = {"nnch734d00sl2jdk": "pfkkdhi9sl3r4s00", "token-key": "token secret/2"}


ENDPOINT = signature_endpoint(CLIENTS, TOKENS)


class Handler(http.server.BaseHTTPRequestHandler):
    def check(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("utf-8") if length else ""
        uri = "http://" + self.headers["Host"] + self.path
        valid, _ = ENDPOINT.validate_request(uri, self.command, body, dict(self.headers))
        reply = b"valid" if valid else b"invalid"
        self.send_response(200 if valid else 401)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    do_GET = do_POST = do_PUT = do_DELETE = check

    def log_message(self, *args):
        pass


def main():
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
