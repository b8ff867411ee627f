"""oauthlib (python3-oauthlib) set up to check OAuth 1.0a signatures, as an independent peer of
the signing code. Only transport security, timestamp age, nonce reuse and the key and nonce format
rules are relaxed; the signature itself is always checked."""
from oauthlib.oauth1 import RequestValidator, SignatureOnlyEndpoint


def signature_endpoint(clients, tokens):
    """An endpoint whose validate_request accepts a request when its signature is right for the
    consumer secrets in `clients` and the token secrets in `tokens` (dictionaries by key). An
    unknown consumer key is refused; an unknown token is checked with a secret that fails."""

    class Validator(RequestValidator):
        enforce_ssl = False
        timestamp_lifetime = 10 ** 10
        dummy_client = "dummy"
        dummy_access_token = "dummy"
        dummy_request_token = "dummy"

        def check_client_key(self, key):
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

        def validate_timestamp_and_nonce(self, *args, **kwargs):
            return True

        def validate_client_key(self, key, request):
            return key in clients

        def get_client_secret(self, key, request):
            return clients.get(key, "dummy")

        def get_access_token_secret(self, key, token, request):
            return tokens.get(token, "dummy")

    return SignatureOnlyEndpoint(Validator())
