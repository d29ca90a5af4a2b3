"""The hiscore server's scoreboard page as the scoreboard scenario reads it: the rows of its
table, and the rows it should list."""

import html.parser


class Scoreboard(html.parser.HTMLParser):
    """The rows of the page's table as text, and the elements found inside the table."""

    def __init__(self, page):
        super().__init__(convert_charrefs=True)
        self.rows = []
        self.tags_in_table = []
        self.in_table = self.in_body = False
        self.cell = None
        self.row = None
        self.feed(page)
        self.close()

    def handle_starttag(self, tag, attributes):
        if tag == "table":
            self.in_table = True
        elif self.in_table:
            self.tags_in_table.append(tag)
        if tag == "tbody":
            self.in_body = True
        elif self.in_body and tag == "tr":
            self.row = {}
        elif self.row is not None and tag == "td":
            self.cell = (dict(attributes).get("class", ""), [])
        elif self.row is not None and tag == "time":
            self.row["datetime"] = dict(attributes).get("datetime")

    def handle_endtag(self, tag):
        if tag == "table":
            self.in_table = False
        elif tag == "tbody":
            self.in_body = False
        elif tag == "td" and self.cell is not None:
            self.row[self.cell[0]] = "".join(self.cell[1])
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.rows.append(self.row)
            self.row = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell[1].append(data)

    def entries(self):
        """(rank, name, score) of every row."""
        return [(row.get("rank"), row.get("name"), row.get("score")) for row in self.rows]


def expected_entries(rows):
    """The page's rows for the stored rows, given in the order they arrived: highest score
    first, equal scores in arrival order and sharing their rank."""
    return [("%d." % (1 + sum(1 for _, other in rows if other > score)), name, str(score))
            for name, score in sorted(rows, key=lambda row: -row[1])]
