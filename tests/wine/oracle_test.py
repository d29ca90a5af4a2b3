#!/usr/bin/env python3
"""Checks the Wine driver's models of the game and of the hiscores against worked examples,
so that a scenario that disagrees with the program points at the program."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import board_oracle  # noqa: E402
import hiscore_oracle  # noqa: E402

# The 10 x 8 board of seed 12345 at difficulty 1, row by row; "*" is a mine.
WORKED_COUNTS = """
0 0 0 0 1 1 2 1 1 0
0 0 0 0 1 * 2 * 1 0
0 0 0 0 1 1 0 1 0 0
0 0 0 1 * 1 0 0 0 0
0 0 0 1 1 1 0 0 0 0
1 1 1 0 0 0 1 0 0 0
1 * 1 0 0 1 * 2 1 0
0 1 0 0 0 1 2 * 1 0
"""


def worked_board():
    return board_oracle.Board(10, 8, 1, 12345)


class GeneratorTest(unittest.TestCase):
    def test_first_results(self):
        for seed, expected in ((0, [38, 7719, 21238, 2437, 8855, 11797]),
                               (1, [41, 18467, 6334, 26500, 19169, 15724])):
            with self.subTest(seed=seed):
                generator = board_oracle.Generator(seed)
                self.assertEqual([generator.next() for _ in expected], expected)

    def test_seed_from_calendar_seconds(self):
        for seconds, seed in ((12345, 12345), (31682, 31682), (31683, 0), (63367, 1),
                              (1_700_000_000, 1_700_000_000 % 31683),
                              # past 2038 the seconds wrap to a negative 32-bit number
                              (2 ** 31, -(2 ** 31 % 31683))):
            with self.subTest(seconds=seconds):
                self.assertEqual(board_oracle.seed_for(seconds), seed)

    def test_mine_counts(self):
        for columns, rows, difficulty, mines in ((28, 16, 5, 89), (15, 15, 5, 45), (5, 5, 1, 2),
                                                 (5, 5, 10, 8), (22, 12, 1, 22), (28, 16, 3, 64),
                                                 (41, 20, 4, 140), (45, 23, 5, 207),
                                                 (53, 27, 6, 327)):
            with self.subTest(board=(columns, rows, difficulty)):
                self.assertEqual(board_oracle.mine_count(columns, rows, difficulty), mines)


class WorkedBoardTest(unittest.TestCase):
    def test_mines_in_placement_order(self):
        self.assertEqual(worked_board().mine_order,
                         [(6, 2), (7, 7), (8, 2), (2, 7), (8, 8), (5, 4)])

    def test_counts(self):
        board = worked_board()
        shown = "\n".join(" ".join("*" if (c, r) in board.mine_cells else str(board.counts[c, r])
                                   for c in range(1, 11))
                          for r in range(1, 9))
        self.assertEqual(shown, WORKED_COUNTS.strip())

    def test_odd_column_neighbours(self):
        self.assertEqual(set(board_oracle.neighbours(7, 1)),
                         {(6, 1), (8, 1), (7, 0), (7, 2), (6, 2), (8, 2)})

    def test_safe_start(self):
        board = worked_board()
        self.assertEqual(board.safe_start_candidates(), [(5, 5), (4, 7)])
        cell, opened, lost = board.safe_start()
        self.assertEqual((cell, len(opened), lost), ((4, 7), 68, False))
        closed = set(board.cells()) - opened - board.mine_cells
        self.assertEqual(closed, {(6, 1), (7, 1), (8, 1), (1, 7), (1, 8), (7, 8)})

    def test_flood_is_depth_first(self):
        board = worked_board()
        opened, order = set(), []
        board.open((1, 1), opened, order)
        self.assertEqual(order[:6], [(1, 1), (2, 1), (3, 1), (4, 1), (5, 1), (4, 2)])
        self.assertEqual(len(order), 68)

    def test_opening_a_mine_opens_nothing(self):
        opened = set()
        self.assertFalse(worked_board().open((6, 2), opened))
        self.assertEqual(opened, set())


class HiscoreFileTest(unittest.TestCase):
    def test_worked_example_bytes(self):
        table = [("abc", 500)] + hiscore_oracle.DEFAULT_TABLE[1:]
        self.assertEqual(hiscore_oracle.encode(table)[:8],
                         bytes.fromhex("C2 C6 CA 06 72 65 67 09"))

    def test_round_trips(self):
        cases = {
            "default": hiscore_oracle.DEFAULT_TABLE,
            # z at file position 64 wraps past 255
            "wrapping": [("a" * 31, 4_000_000_000), ("a" * 31 + "z", 3)] + [("", 2)] * 8,
            "empty names": [("", 10 - r) for r in range(10)],
        }
        for what, table in cases.items():
            with self.subTest(what):
                stored = hiscore_oracle.encode(table)
                self.assertEqual(stored[-1], 0)
                self.assertEqual(hiscore_oracle.decode(stored), table)

    def test_rejected_files(self):
        plain = hiscore_oracle.plain_form(hiscore_oracle.DEFAULT_TABLE)
        zero_score = hiscore_oracle.plain_form([("a", 0)] + hiscore_oracle.DEFAULT_TABLE[1:])
        for what, stored in (("empty", b""),
                             ("a score of 0", hiscore_oracle.stored_form(zero_score)),
                             ("18 zero bytes before the last", hiscore_oracle.stored_form(
                                 plain[:plain.rindex(b"\0", 0, -1)] + b"\0")),
                             ("20 zero bytes before the last",
                              hiscore_oracle.stored_form(plain + b"x\0"))):
            with self.subTest(what):
                self.assertIsNone(hiscore_oracle.decode(stored))

    def test_insertion(self):
        default = hiscore_oracle.DEFAULT_TABLE
        for score, landed in ((300, 5), (50, None), (51, 9), (1000, 0)):
            with self.subTest(score=score):
                table, row = hiscore_oracle.insert(default, score, "new")
                self.assertEqual(row, landed)
                self.assertEqual([s for _, s in table], sorted((s for _, s in table), reverse=True))
                if landed is not None:
                    self.assertEqual(table[landed], ("new", score))
                    self.assertNotIn(("Anonymous", 50), table)
                else:
                    self.assertEqual(table, default)


class ScoreTest(unittest.TestCase):
    def test_scores(self):
        for board, seconds, expected in (((10, 10, 20, 5), 49, 5000),
                                         ((22, 12, 22, 1), 0, 29040),
                                         ((22, 12, 22, 1), 9999, 2),
                                         ((22, 12, 22, 1), 10000, 0)):
            with self.subTest(board=board, seconds=seconds):
                self.assertEqual(hiscore_oracle.score(*board, seconds), expected)


class RequestTest(unittest.TestCase):
    PATH = "/examples/servlet/TessaraHST"
    DEFAULT_VALUE = ("Anonymous_500_Anonymous_450_Anonymous_400_Anonymous_350_Anonymous_300_"
                     "Anonymous_250_Anonymous_200_Anonymous_150_Anonymous_100_Anonymous_50_")

    def test_direct_request_of_the_default_table(self):
        lines = ["GET /examples/servlet/TessaraHST?Op=SetScores&V=%s HTTP/1.1" % self.DEFAULT_VALUE,
                 "Accept: */*", "Accept-Language: en-gb", "Accept-Encoding: gzip, deflate",
                 "User-Agent: Mozilla/4.0 (compatible; TessaraHiscores)",
                 "Connection: Keep-Alive", "Host: xxx.xxx.xxx", "", ""]
        self.assertEqual(hiscore_oracle.score_request(hiscore_oracle.DEFAULT_TABLE, self.PATH),
                         "\r\n".join(lines).encode())

    def test_request_lines(self):
        table = [("Jo Ann", 1234)] + hiscore_oracle.DEFAULT_TABLE[1:]
        for proxy, start in (
                (None, "GET /examples/servlet/TessaraHST?Op=SetScores&V=Jo:Ann_1234_"),
                (("scores.example", 80),
                 "GET http://scores.example/examples/servlet/TessaraHST?Op=SetScores&V="),
                (("scores.example", 8080),
                 "GET http://scores.example:8080/examples/servlet/TessaraHST?Op=")):
            with self.subTest(proxy=proxy):
                request = hiscore_oracle.score_request(table, self.PATH, proxy).decode()
                self.assertTrue(request.startswith(start), request[:120])


if __name__ == "__main__":
    unittest.main()
