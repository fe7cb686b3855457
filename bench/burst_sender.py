#!/usr/bin/env python3
"""Sends numbered logged-contact datagrams as WSJT-X does, at a steady rate.

    burst_sender.py PORT RATE SECONDS [FIRST]

Each contact has its own callsign (B<number>XY) and time, so every one must be logged once.
Prints how many were sent and the achieved rate."""
import socket
import sys
import time

port, rate, seconds = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
first = int(sys.argv[4]) if len(sys.argv) > 4 else 0
sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)


def datagram(i):
    t = "%02d%02d%02d" % (i // 3600 % 24, i // 60 % 60, i % 60)
    call = "B%dXY" % i
    return ("<call:%d>%s <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-15 <rst_rcvd:3>-12 "
            "<qso_date:8>20261209 <time_on:6>%s <qso_date_off:8>20261209 <time_off:6>%s "
            "<band:3>20m <freq:9>14.075500 <station_callsign:5>W9XYZ <my_gridsquare:4>EN37 <eor>"
            % (len(call), call, t, t)).encode("latin-1")


count = int(rate * seconds)
start = time.monotonic()
for n in range(count):
    due = start + n / rate
    now = time.monotonic()
    if due > now:
        time.sleep(due - now)
    sock.sendto(datagram(first + n), ("127.0.0.1", port))
elapsed = time.monotonic() - start
print("sent %d contacts in %.1f s (%.0f/s)" % (count, elapsed, count / elapsed))
