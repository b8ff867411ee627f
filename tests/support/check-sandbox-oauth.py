"""Checks every signed request the service sandbox recorded with oauthlib, an independent
implementation of OAuth 1.0a.

Usage: check-sandbox-oauth.py BASE_URL CONSUMERS TOKEN_PATHS
  BASE_URL     the sandbox, e.g. http://127.0.0.1:4000
  CONSUMERS    consumer keys and secrets as a form: key=secret&key2=secret2
  TOKEN_PATHS  comma-separated paths of the providers' token lists
Prints "checked N" and one "invalid METHOD PATH" line per refused request; exits 1 when a
request was refused or none was signed.
"""
import base64
import json
import re
import sys
import urllib.parse
import urllib.request

from oauthlib_validator import signature_endpoint


def fetch(url):
    with urllib.request.urlopen(url) as answer:
        return answer.read().decode("utf-8")


def reencode(header):
    scheme, _, rest = header.partition(" ")
    pairs = re.findall(r'([^\s,=]+)="([^"]*)"', rest)
    return scheme + " " + ", ".join(
        '%s="%s"' % (n, urllib.parse.quote(v, safe="-._~")) for n, v in pairs)


def main():
    base, consumers, token_paths = sys.argv[1], sys.argv[2], sys.argv[3]
    clients = dict(urllib.parse.parse_qsl(consumers, keep_blank_values=True))
    tokens = {}
    for path in filter(None, token_paths.split(",")):
        tokens.update(urllib.parse.parse_qsl(fetch(base + path), keep_blank_values=True))

    endpoint = signature_endpoint(clients, tokens)
    checked, invalid = 0, []
    for r in json.loads(fetch(base + "/_sandbox/requests")):
        headers = {name: value for name, value in r["headers"]}
        if not any(n.lower() == "authorization" for n in headers):
            continue
        body = base64.b64decode(r["body_base64"])
        content_type = next((v for n, v in headers.items() if n.lower() == "content-type"), "")
        text = body.decode("utf-8") if content_type.startswith(
            "application/x-www-form-urlencoded") else ""
        host = next(v for n, v in headers.items() if n.lower() == "host")
        path = "/" + r["service"] + "/" + r["host"] + r["path"]
        uri = "http://" + host + path + ("?" + r["query"] if r["query"] else "")
        # The sandbox's server decodes header values once; the values are escaped again here.
        for name in list(headers):
            if name.lower() == "authorization":
                headers[name] = reencode(headers[name])
        if not text:
            headers = {n: v for n, v in headers.items() if n.lower() != "content-type"}
        valid, _ = endpoint.validate_request(uri, r["method"], text, headers)
        checked += 1
        if not valid:
            invalid.append(r["method"] + " " + path)
    print("checked", checked)
    for line in invalid:
        print("invalid", line)
    return 1 if invalid or not checked else 0


if __name__ == "__main__":
    sys.exit(main())
