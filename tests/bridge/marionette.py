#!/usr/bin/python3
"""Drives Firefox over its Marionette protocol, one command a call, standard library only:
marionette.py PORT install FOLDER | navigate URL | eval EXPRESSION (prints the value as JSON)."""
import json
import socket
import sys


def receive(s):
    size = b''
    while not size.endswith(b':'):
        chunk = s.recv(1)
        if not chunk:
            raise SystemExit('connection closed')
        size += chunk
    size = int(size[:-1])
    data = b''
    while len(data) < size:
        data += s.recv(size - len(data))
    return json.loads(data)


def command(s, number, name, params):
    data = json.dumps([0, number, name, params]).encode()
    s.sendall(str(len(data)).encode() + b':' + data)
    answer = receive(s)
    if answer[2]:
        raise SystemExit(json.dumps(answer[2]))
    return answer[3]


def main():
    port, what, argument = sys.argv[1], sys.argv[2], sys.argv[3]
    s = socket.create_connection(('127.0.0.1', int(port)), timeout=60)
    receive(s)
    command(s, 1, 'WebDriver:NewSession', {})
    if what == 'install':
        command(s, 2, 'Addon:Install', {'path': argument, 'temporary': True})
    elif what == 'navigate':
        command(s, 2, 'WebDriver:Navigate', {'url': argument})
    else:
        value = command(s, 2, 'WebDriver:ExecuteScript',
                        {'script': 'return eval(arguments[0])', 'args': [argument]})
        print(json.dumps(value.get('value'), ensure_ascii=False))
    command(s, 3, 'WebDriver:DeleteSession', {})


main()
