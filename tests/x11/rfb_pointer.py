# The pointer of a VNC server, for the hack's test: a minimal RFB client
# that sends one pointer event for each "X Y [BUTTONS]" line it reads.
#   rfb_pointer.py PORT
import socket
import struct
import sys
import time

for attempt in range(50):  # the server may still be starting
    try:
        server = socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=10)
        break
    except ConnectionRefusedError:
        time.sleep(0.1)
else:
    sys.exit("rfb_pointer: no server")


def read(n):
    data = b""
    while len(data) < n:
        data += server.recv(n - len(data)) or sys.exit("rfb_pointer: the server closed")
    return data


read(12)
server.sendall(b"RFB 003.008\n")
if 1 not in read(read(1)[0]):
    sys.exit("rfb_pointer: the server wants a password")
server.sendall(bytes([1]))  # no security
if struct.unpack(">I", read(4))[0] != 0:
    sys.exit("rfb_pointer: refused")
server.sendall(bytes([1]))  # shared
read(struct.unpack(">I", read(24)[20:])[0])  # the desktop's name
for line in sys.stdin:
    x, y, *buttons = (int(v) for v in line.split())
    server.sendall(struct.pack(">BBHH", 5, buttons[0] if buttons else 0, x, y))
