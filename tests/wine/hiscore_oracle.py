"""What the program's hiscores should look like: the ten-row table, the stored form of
"hiscore.dat", the score of a won game and the bytes of the SetScores request.

A table is a list of ten (name, score) pairs, best first; names are str holding bytes
0-255 (latin-1).
"""

ROWS = 10
DEFAULT_TABLE = [("Anonymous", (10 - r) * 50) for r in range(ROWS)]

USER_AGENT = "Mozilla/4.0 (compatible; TessaraHiscores)"


def _offset(i):
    return i % 13 + i % 5


def plain_form(table):
    plain = bytearray()
    for name, score in table:
        plain += name.encode("latin-1") + b"\0" + str(score).encode() + b"\0"
    return bytes(plain)


def stored_form(plain):
    """The transform of the plain bytes; the final terminator is stored as it is."""
    return bytes((2 * b + _offset(i)) % 256 for i, b in enumerate(plain[:-1])) + b"\0"


def encode(table):
    """The bytes the program stores for the table."""
    return stored_form(plain_form(table))


def decode(stored):
    """The table in stored bytes as the program writes them (scores in plain digits), or
    None where the program would fall back to the default table."""
    if not stored:
        return None
    plain = bytes(((b - _offset(i)) % 256) // 2 for i, b in enumerate(stored[:-1])) + b"\0"
    if plain[:-1].count(0) != 2 * ROWS - 1:
        return None
    strings = plain[:-1].split(b"\0")
    table = []
    for r in range(ROWS):
        name, score_text = strings[2 * r], strings[2 * r + 1]
        score = int(score_text) if score_text.isdigit() else 0
        if score == 0:
            return None
        table.append((name.decode("latin-1"), score))
    return table


def insert(table, score, name):
    """(the table after a win with this score, the row the score landed in or None)."""
    if table[-1][1] >= score:
        return list(table), None
    rows = list(table[:-1]) + [(name[:31], score)]
    for i in range(ROWS - 1, 0, -1):
        if rows[i][1] > rows[i - 1][1]:
            rows[i], rows[i - 1] = rows[i - 1], rows[i]
    landed = max(i for i, (_, s) in enumerate(rows) if s == score)
    return rows, landed


def row_text(name, score):
    return "%s - %d" % (name, score)


def score(columns, rows, mines, difficulty, seconds):
    """The score of a game won after `seconds` whole seconds, in the program's double
    arithmetic: the reciprocal of seconds + 1 is taken first."""
    if seconds > 9999:
        return 0
    reciprocal = 1.0 / (seconds + 1)
    product = float(columns * rows * mines * 5 & 0xFFFFFFFF)
    difficulty = float(difficulty)
    return int(product * difficulty * difficulty * reciprocal) & 0xFFFFFFFF


def score_request(table, serverpath, proxy_server=None):
    """The request bytes for the table; proxy_server is (serveraddr, serverport) when the
    request goes through the proxy."""
    if proxy_server is None:
        head = serverpath
    elif proxy_server[1] == 80:
        head = "http://%s%s" % (proxy_server[0], serverpath)
    else:
        head = "http://%s:%d%s" % (proxy_server[0], proxy_server[1], serverpath)
    value = "".join("%s_%d_" % (name.replace(" ", ":"), _signed(s)) for name, s in table)
    text = ("GET %s?Op=SetScores&V=%s HTTP/1.1\r\n"
            "Accept: */*\r\n"
            "Accept-Language: en-gb\r\n"
            "Accept-Encoding: gzip, deflate\r\n"
            "User-Agent: %s\r\n"
            "Connection: Keep-Alive\r\n"
            "Host: xxx.xxx.xxx\r\n\r\n") % (head, value, USER_AGENT)
    return text.encode("latin-1")


def _signed(value):
    return value - 2 ** 32 if value >= 2 ** 31 else value
