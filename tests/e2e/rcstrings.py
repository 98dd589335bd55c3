"""Reads the string tables of a resource script such as samples/host/lumivex.rc, so a test can
tell which texts the module built from it holds, independently of the program."""
import re

_ENTRY = re.compile(r'^\s*(\d+)\s*,\s*"((?:[^"]|"")*)"\s*$')


def _unescape(text):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == '"' and text[i + 1:i + 2] == '"':
            out.append('"')
            i += 2
            continue
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            out.append({"n": "\n", "t": "\t", "\\": "\\", "r": "\r", "a": "\a"}.get(nxt, "\\" + nxt))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def read_strings(path):
    """{id: text} of every STRINGTABLE entry."""
    strings = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = _ENTRY.match(line)
            if m:
                strings[int(m.group(1))] = _unescape(m.group(2))
    return strings


def escape_lng(text):
    text = text.replace("\\", "\\\\")
    return text.replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r").replace('"', '\\"')


def template_bytes(strings, encoding="cp1252"):
    """The template a language file writer makes of these strings, in ID order."""
    out = b"; Language: \r\n; Author: \r\n; Version: \r\n\r\n"
    for sid in sorted(strings):
        text = strings[sid]
        if sid == 0 or not text:
            continue
        out += ('%d="%s"\r\n' % (sid, escape_lng(text))).encode(encoding)
    return out
