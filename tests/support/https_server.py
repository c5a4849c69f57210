#!/usr/bin/env python3
"""A small HTTPS server on 127.0.0.1 for tests: serves files of a folder, plus
/redirect-to-http (a redirect to plain HTTP) and /slow (a body that takes long).
Beside a file F, F.redirect makes F a redirect to plain HTTP, and F.length holds the
Content-Length announced for F (a body cut short when it is larger). The redirects lead
to a plain HTTP server of the same folder, whose requests are logged as "plain ...", so a
test sees a client that followed one.
Usage: https_server.py <folder> <cert.pem> <key.pem> <port file> [request log]"""
import http.server
import os
import ssl
import sys
import threading
import time

folder, cert, key, port_file = sys.argv[1:5]
request_log = sys.argv[5] if len(sys.argv) > 5 else None


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=folder, **kwargs)

    log_prefix = ""

    def log_message(self, *args):
        if request_log and args and args[0] == '"%s" %s %s':
            with open(request_log, "a") as f:
                f.write(self.log_prefix + str(args[1]) + "\n")

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.exists(path + ".redirect"):
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.1:%d%s" % (plain.server_port, self.path))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return None
        if os.path.isfile(path) and os.path.exists(path + ".length"):
            self.send_response(200)
            with open(path + ".length") as f:
                self.send_header("Content-Length", f.read().strip())
            self.end_headers()
            self.close_connection = True
            return open(path, "rb")
        return super().send_head()

    def do_GET(self):
        if self.path == "/redirect-to-http":
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.1:%d/qmx.txt" % plain.server_port)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path == "/slow":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            for _ in range(100):
                time.sleep(0.1)
                self.wfile.write(b"x" * 1000)
            return
        super().do_GET()


class Server(http.server.ThreadingHTTPServer):
    # The handshake runs in the request's own thread, so a client that stalls in it holds
    # up no other. A client that refuses the certificate ends it; the log tells a test so.
    def finish_request(self, request, client_address):
        try:
            request.do_handshake()
        except OSError:
            if request_log:
                with open(request_log, "a") as f:
                    f.write("TLS handshake refused\n")
            return
        super().finish_request(request, client_address)


# Serves the files as they are: its own redirects would lead back to itself.
class PlainHandler(Handler):
    log_prefix = "plain "

    def send_head(self):
        return http.server.SimpleHTTPRequestHandler.send_head(self)


plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), PlainHandler)
threading.Thread(target=plain.serve_forever, daemon=True).start()
server = Server(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_port))
os.rename(port_file + ".tmp", port_file)
server.serve_forever()
