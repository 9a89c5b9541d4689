#!/usr/bin/env python3
"""Answers one HTTP request with 600 MiB of body, unannounced, as fast as the client takes it.

Prints its port first. Stands for a hostile or broken update server whose data arrives faster
than a busy program takes it; it runs in a process of its own so that nothing throttles it.
"""
import socket

server = socket.create_server(("127.0.0.1", 0))
print(server.getsockname()[1], flush=True)
client = server.accept()[0]
client.recv(4096)
client.sendall(b"HTTP/1.0 200 OK\r\n\r\n")
chunk = b"x" * 65536
for _ in range(9600):
    client.sendall(chunk)
