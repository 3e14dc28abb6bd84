#!/usr/bin/env python3
"""A chamber and reference that speak SCPI lines, on a loopback TCP port or on a serial device.

Prints every line it receives, so a test can check what was sent. Its air is at the last
setpoint (21.5 at first). Queries that play faults: BAD? answers no number, SLOW? answers
after a second, DROP closes the TCP link without an answer.
"""
import argparse
import socket
import threading
import time

state = {"setpoint": "21.5"}


def answer(line, reply, drop):
    print(line, flush=True)
    if line.startswith(":SOUR:CLOOP1:SPO "):
        state["setpoint"] = line.split(" ", 1)[1]
    elif line == ":SOUR:CLOOP1:PVAL?":
        reply(state["setpoint"] + "\r\n")
    elif line == "MEAS:TEMP?":
        reply("+2.53000E+01\n")
    elif line == "BAD?":
        reply("ERR\n")
    elif line == "SLOW?":
        threading.Timer(1.0, reply, ["99\n"]).start()
    elif line.startswith("DROP"):
        drop()


def serve_tcp():
    server = socket.create_server(("127.0.0.1", 0))
    print("listening", server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve_connection, args=(conn,), daemon=True).start()


def serve_connection(conn):
    lock = threading.Lock()

    def reply(text):
        with lock:
            try:
                conn.sendall(text.encode())
            except OSError:
                pass

    for raw in conn.makefile("rb"):
        answer(raw.decode().rstrip("\r\n"), reply, lambda: conn.shutdown(socket.SHUT_RDWR))


def serve_device(path):
    with open(path, "r+b", buffering=0) as device:
        print("listening", path, flush=True)

        def reply(text):
            device.write(text.encode())

        buffer = b""
        while True:
            buffer += device.read(1)
            if buffer.endswith(b"\n"):
                answer(buffer.decode().rstrip("\r\n"), reply, lambda: None)
                buffer = b""


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--device")
    args = parser.parse_args()
    if args.device:
        serve_device(args.device)
    else:
        serve_tcp()
