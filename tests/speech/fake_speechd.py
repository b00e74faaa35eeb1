"""A stand-in for speech-dispatcher: it speaks SSIP (plain text lines, CR LF,
over a Unix socket) well enough for a client library, speaks nothing, and
records what each client asks for.

FakeSpeechd(path) listens at `path` on a thread of its own; `said` is every
message spoken, in order, and `log` every command with the messages in it
("SPEAK <text>", "CANCEL", "LANGUAGE ja", ...). FakeSpeechd(path, mute=True)
accepts every client and never answers it.
"""
import os
import socket
import threading


class FakeSpeechd:
    def __init__(self, path, mute=False):
        self.path = path
        self.mute = mute
        self.clients = []
        self.log = []
        self.said = []
        self.lock = threading.Lock()
        self.server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.server.bind(path)
        self.server.listen(4)
        threading.Thread(target=self._accept, daemon=True).start()

    def close(self):
        self.server.close()
        if os.path.exists(self.path):
            os.unlink(self.path)

    def _record(self, entry, said=None):
        with self.lock:
            self.log.append(entry)
            if said is not None:
                self.said.append(said)

    def _accept(self):
        while True:
            try:
                client, _ = self.server.accept()
            except OSError:
                return
            self.clients.append(client)  # held open, answered or not
            if not self.mute:
                threading.Thread(target=self._serve, args=(client,), daemon=True).start()

    def _serve(self, client):
        reader = client.makefile("rb")
        send = lambda *lines: client.sendall(b"".join(l.encode() + b"\r\n" for l in lines))
        data = None  # the lines of a message being received
        serial = 0
        for raw in reader:
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            if data is not None:
                if line == ".":
                    text = "\n".join(data)
                    self._record("SPEAK " + text, text)
                    serial += 1
                    send("225-%d" % serial, "225 OK MESSAGE QUEUED")
                    data = None
                else:
                    data.append(line[1:] if line.startswith("..") else line)
                continue
            words = line.split()
            command = " ".join(words[:1]).upper()
            if command == "SPEAK":
                data = []
                send("230 OK RECEIVING DATA")
            elif command == "QUIT":
                self._record("QUIT")
                send("231 HAPPY HACKING")
                break
            elif command == "CANCEL":
                self._record("CANCEL")
                send("210 OK CANCELED")
            elif command == "SET" and len(words) >= 4:
                self._record(" ".join(words[2:]))
                send("200 OK SET")
            else:
                self._record(line)
                send("200 OK")
        client.close()
