#!/usr/bin/env python3
"""A hostile update server: answers a firmware signature with a few bytes, and anything else
with 600 MiB of body, unannounced, as fast as the client takes it. Prints its port first.

It runs in a process of its own, so that nothing in the client's process throttles it.
"""
import socket
import threading


def answer(client):
    with client:
        try:
            path = client.recv(4096).split(b" ")[1]
            if path.endswith(b".sig"):
                client.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\n00")
                return
            client.sendall(b"HTTP/1.0 200 OK\r\n\r\n")
            chunk = b"x" * 65536
            for _ in range(9600):
                client.sendall(chunk)
        except OSError:
            pass  # the client hung up, as it should


server = socket.create_server(("127.0.0.1", 0))
print(server.getsockname()[1], flush=True)
while True:
    threading.Thread(target=answer, args=(server.accept()[0],), daemon=True).start()
