#!/usr/bin/python3
"""A loopback SMTP server for tests: keeps each message as <n>.eml in a folder.

Usage: smtp-sink.py FOLDER [--user U --password P] [--refuse-rcpt ADDR]
Prints the port it listens on as its first line, then serves until stdin closes.
"""
import argparse
import logging
import os
import socket
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


class Sink:
    def __init__(self, folder, refuse):
        self.folder, self.refuse, self.count = folder, refuse, 0

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address == self.refuse:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, f"{self.count}.eml")
        with open(path + ".tmp", "wb") as f:
            f.write(f"X-Envelope-From: {envelope.mail_from}\r\n".encode())
            f.write(f"X-Envelope-To: {','.join(envelope.rcpt_tos)}\r\n".encode())
            f.write(envelope.original_content)
        os.rename(path + ".tmp", path)
        return "250 Message accepted"


def main():
    warnings.simplefilter("ignore")  # AUTH without TLS is what a loopback test wants
    logging.disable(logging.WARNING)
    p = argparse.ArgumentParser()
    p.add_argument("folder")
    p.add_argument("--user")
    p.add_argument("--password")
    p.add_argument("--refuse-rcpt")
    a = p.parse_args()

    def check(server, session, envelope, mechanism, data):
        ok = isinstance(data, LoginPassword) and data.login.decode() == a.user and \
            data.password.decode() == a.password
        return AuthResult(success=ok, handled=False)

    kwargs = {}
    if a.user:
        kwargs = dict(authenticator=check, auth_required=True, auth_require_tls=False)
    handler = Sink(a.folder, a.refuse_rcpt)
    with socket.socket() as probe:  # a free port; the controller cannot report one it picked
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    controller = Controller(handler, hostname="127.0.0.1", port=port, ready_timeout=10,
                            **kwargs)
    controller.start()
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
