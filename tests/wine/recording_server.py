"""A stand-in for the hiscore servlet on 127.0.0.1: it records the bytes of every
connection and answers each with a short 200 before it closes it."""

import socket
import threading
import time

from desktop import Failure

REPLY = b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK"


class RecordingServer:
    def __init__(self):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(4)
        # Accept wakes up now and then to see whether the server is to stop.
        self.listener.settimeout(0.2)
        self.port = self.listener.getsockname()[1]
        self.lock = threading.Lock()
        self.recorded = []
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while not self.stopping:
            try:
                client, _ = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            with client:
                data = self.read_request(client)
                try:
                    client.sendall(REPLY)
                except OSError:
                    pass
            with self.lock:
                self.recorded.append(data)

    @staticmethod
    def read_request(client):
        """Everything up to the empty line that ends the head, or what came within 5 s."""
        client.settimeout(5)
        data = b""
        while b"\r\n\r\n" not in data:
            try:
                chunk = client.recv(4096)
            except OSError:
                break
            if not chunk:
                break
            data += chunk
        return data

    def requests(self):
        with self.lock:
            return list(self.recorded)

    def wait_requests(self, count, timeout=15):
        deadline = time.monotonic() + timeout
        while len(self.requests()) < count:
            if time.monotonic() > deadline:
                raise Failure("the recording server got %d of %d requests in %d s"
                              % (len(self.requests()), count, timeout))
            time.sleep(0.1)
        return self.requests()

    def close(self):
        self.stopping = True
        self.thread.join(5)
        self.listener.close()


def closed_port():
    """A port of 127.0.0.1 on which nothing listens."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]
