#!/usr/bin/python3
"""Evaluates one expression in the browser's page over the DevTools protocol and prints its
value as JSON: devtools.py PORT EXPRESSION. Standard library only (a minimal websocket)."""
import base64
import json
import os
import socket
import struct
import sys
import urllib.request


def connect(url):
    hostport, path = url[len('ws://'):].split('/', 1)
    host, port = hostport.split(':')
    s = socket.create_connection((host, int(port)), timeout=30)
    key = base64.b64encode(os.urandom(16)).decode()
    s.sendall((f'GET /{path} HTTP/1.1\r\nHost: {hostport}\r\nUpgrade: websocket\r\n'
               f'Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n'
               'Sec-WebSocket-Version: 13\r\n\r\n').encode())
    head = b''
    while b'\r\n\r\n' not in head:
        head += s.recv(1)
    if b' 101 ' not in head.split(b'\r\n')[0]:
        raise SystemExit('no websocket: ' + head.decode(errors='replace'))
    return s


def send(s, obj):
    data = json.dumps(obj).encode()
    n = len(data)
    head = b'\x81' + (bytes([0x80 | n]) if n < 126 else
                      bytes([0x80 | 126]) + struct.pack('>H', n) if n < 65536 else
                      bytes([0x80 | 127]) + struct.pack('>Q', n))
    mask = os.urandom(4)
    s.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))


def exactly(s, n):
    data = b''
    while len(data) < n:
        chunk = s.recv(n - len(data))
        if not chunk:
            raise SystemExit('connection closed')
        data += chunk
    return data


def receive(s):
    first, second = exactly(s, 2)
    n = second & 127
    if n == 126:
        n = struct.unpack('>H', exactly(s, 2))[0]
    elif n == 127:
        n = struct.unpack('>Q', exactly(s, 8))[0]
    data = exactly(s, n)
    return json.loads(data) if first & 0x0f == 1 else None


def main():
    port, expression = sys.argv[1], sys.argv[2]
    targets = json.load(urllib.request.urlopen(f'http://127.0.0.1:{port}/json', timeout=30))
    pages = [t for t in targets if t['type'] == 'page' and t['url'].startswith('http://127.0.0.1')]
    if not pages:
        raise SystemExit('no page')
    s = connect(pages[0]['webSocketDebuggerUrl'])
    send(s, {'id': 1, 'method': 'Runtime.evaluate',
             'params': {'expression': expression, 'awaitPromise': True, 'returnByValue': True}})
    while True:
        answer = receive(s)
        if answer and answer.get('id') == 1:
            break
    result = answer.get('result', {})
    if 'exceptionDetails' in result or 'error' in answer:
        raise SystemExit(json.dumps(answer))
    print(json.dumps(result['result'].get('value'), ensure_ascii=False))


main()
