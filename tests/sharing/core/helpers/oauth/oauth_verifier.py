"""Checks OAuth 1.0a signatures with oauthlib, as an independent peer of the signing code.

Serves on a free loopback port and prints that port on the first line of its output. Every
request gets 200 "valid" when oauthlib accepts its signature and 401 "invalid" otherwise.
Only transport security, timestamp age and the key and nonce format rules are relaxed; the
signature itself is always checked.
"""
import http.server
import sys

from oauthlib.oauth1 import RequestValidator, SignatureOnlyEndpoint

CLIENTS = {"dpf43f3p2l4k3l03": "kd94hf93k423kf44", "consumer-key": "consumer secret&1"}
TOKENS = {"nnch734d00sl2jdk": "pfkkdhi9sl3r4s00", "token-key": "token secret/2"}


class Validator(RequestValidator):
    enforce_ssl = False
    timestamp_lifetime = 10 ** 10

    @property
    def dummy_client(self):
        return "dummy"

    @property
    def dummy_access_token(self):
        return "dummy"

    def check_client_key(self, client_key):
        return True

    def check_nonce(self, nonce):
        return True

    def check_access_token(self, token):
        return True

    def check_request_token(self, token):
        return True

    def check_verifier(self, verifier):
        return True

    def check_realms(self, realms):
        return True

    def validate_timestamp_and_nonce(self, client_key, timestamp, nonce, request, **kwargs):
        return True

    def validate_client_key(self, client_key, request):
        return client_key in CLIENTS

    def get_client_secret(self, client_key, request):
        return CLIENTS.get(client_key, "dummy")

    def get_access_token_secret(self, client_key, token, request):
        return TOKENS.get(token, "dummy")


ENDPOINT = SignatureOnlyEndpoint(Validator())


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
