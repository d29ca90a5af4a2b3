"""The game's rules in plain Python: the generator, the mine placement, the neighbour counts,
the safe start and the flood fill. The Wine tests predict from the seed what the program's
board holds and which cells its safe start opens, and compare that with the screen.

Cells are (column, row) pairs, 1-based, as the program numbers them.
"""

SEED_MODULUS = 31683


class Generator:
    """The linear congruential generator the program places its mines with."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


def seed_for(calendar_seconds):
    """The seed of a board built at the given calendar second (signed 32-bit, C remainder)."""
    seconds = (calendar_seconds + 2 ** 31) % 2 ** 32 - 2 ** 31
    remainder = abs(seconds) % SEED_MODULUS
    return remainder if seconds >= 0 else -remainder


def mine_count(columns, rows, difficulty):
    return ((difficulty + 2) * rows * columns & 0xFFFFFFFF) // 35 & 0xFFFF


def neighbours(column, row):
    """The six neighbours in the program's order; odd columns sit half a cell lower."""
    around = [(column - 1, row), (column + 1, row), (column, row - 1), (column, row + 1)]
    if column % 2 == 0:
        around += [(column - 1, row - 1), (column + 1, row - 1)]
    else:
        around += [(column + 1, row + 1), (column - 1, row + 1)]
    return around


class Board:
    """One built board: its mines in placement order, its counts, and the generator as the
    placement left it."""

    def __init__(self, columns, rows, difficulty, seed):
        self.columns, self.rows = columns, rows
        self.mines = mine_count(columns, rows, difficulty)
        self.generator = Generator(seed)
        self.mine_order = []
        placed = set()
        # 32767 // rows first, then the draw is divided by it: the quotient may reach the count.
        row_step, column_step = 32767 // rows, 32767 // columns
        while len(self.mine_order) < self.mines:
            row = self.generator.next() // row_step + 1
            column = self.generator.next() // column_step + 1
            if column > columns or row > rows or (column, row) in placed:
                continue
            placed.add((column, row))
            self.mine_order.append((column, row))
        self.mine_cells = placed
        self.counts = {}
        for cell in self.cells():
            if cell not in placed:
                self.counts[cell] = sum(1 for n in neighbours(*cell) if n in placed)

    def cells(self):
        return [(c, r) for c in range(1, self.columns + 1) for r in range(1, self.rows + 1)]

    def inner(self, cell):
        return 1 <= cell[0] <= self.columns and 1 <= cell[1] <= self.rows

    def content(self, cell):
        """The picture name the program shows for the cell once it is opened."""
        return "Mine" if cell in self.mine_cells else "Open%d" % self.counts[cell]

    def safe_start_candidates(self):
        """The cells the safe start draws, in order, up to the first "0" or the 1000th.

        It continues the generator that the placement left; the last column and row are
        never drawn.
        """
        generator = Generator(self.generator.state)
        drawn = []
        for _ in range(1000):
            column = generator.next() % (self.columns - 1) + 1
            row = generator.next() % (self.rows - 1) + 1
            drawn.append((column, row))
            if self.counts.get((column, row)) == 0:
                break
        return drawn

    def open(self, cell, opened, order=None):
        """Opens the cell the way a left click does; adds to `opened` (and `order`) every
        cell that opens, the flood fill depth-first. Returns False when it is a mine."""
        if cell in self.mine_cells:
            return False
        self._open_one(cell, opened, order)
        if self.counts[cell] == 0:
            self._flood(cell, opened, order)
        return True

    def _open_one(self, cell, opened, order):
        if order is not None and cell not in opened:
            order.append(cell)
        opened.add(cell)

    def _flood(self, cell, opened, order):
        # An explicit stack holding each cell's remaining neighbours keeps the depth-first
        # order of the recursion without Python's recursion limit.
        stack = [iter(neighbours(*cell))]
        while stack:
            for n in stack[-1]:
                if self.inner(n) and n not in opened and n not in self.mine_cells:
                    self._open_one(n, opened, order)
                    if self.counts[n] == 0:
                        stack.append(iter(neighbours(*n)))
                        break
            else:
                stack.pop()

    def safe_start(self):
        """(the cell the safe start opens, the set of cells it opens, whether it hit a mine)."""
        cell = self.safe_start_candidates()[-1]
        opened = set()
        survived = self.open(cell, opened)
        if not survived:
            opened.add(cell)
        return cell, opened, not survived

    def pictures_after(self, opened):
        """What every cell shows while the game is in play and `opened` are the opened cells."""
        return {cell: self.content(cell) if cell in opened else "Covered"
                for cell in self.cells()}
