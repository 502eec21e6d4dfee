#!/usr/bin/env python3
"""Loads the converted sample in headless Chromium and checks what a person
would see: the address table and, after it, the mailing lists.

    browser_check.py CONVERTER SAMPLE             convert, load and check
    browser_check.py --break HOW CONVERTER SAMPLE  the same with the book
        broken first (HOW: lost-cell or lost-list); succeeds when the check
        sees the damage
    browser_check.py --screenshot PNG CONVERTER SAMPLE

Exits 77 (skipped) when Chromium is not installed.
"""

import html.parser
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77

HEADINGS = [
    "Nickname", "Email Address", "Full Name", "Groups", "Alert", "Folder",
    "Notes", "Title", "Organization", "Postal Address", "Phone Number",
    "Fax Number", "Short List", "Persona",
]

# (nickname, e-mail address, full name) of each person of the sample.
PERSONS = [
    ("ada", "ada@analytical.example", "Ada Lovelace"),
    ("Charles Babbage", "charles@analytical.example", "Charles Babbage"),
    ("pepe", "jose@example.org", "Jos\u00e9 M\u00fcller"),
    ("Example Org Helpdesk", "helpdesk@example.org", ""),
    ("1004", "noreply@example.net", ""),
]

# (full name, bracket text, nicknames listed) of each mailing list.
GROUPS = [
    ("Engine Team", "[1005]", ["ada", "Charles Babbage"]),
    ("Friends", "[Friends]", ["ada", "Example Org Helpdesk", "pepe"]),
]

VOID = {"br", "hr", "img", "input", "meta", "link", "col", "area", "base",
        "embed", "param", "source", "track", "wbr"}


class Node:
    def __init__(self, tag, parent=None):
        self.tag = tag
        self.parent = parent
        self.children = []

    def elements(self, tag=None):
        """The element children, of one tag if given."""
        return [c for c in self.children
                if isinstance(c, Node) and (tag is None or c.tag == tag)]

    def descendants(self, tag):
        found = []
        for child in self.elements():
            if child.tag == tag:
                found.append(child)
            found.extend(child.descendants(tag))
        return found

    def text(self):
        return "".join(c if isinstance(c, str) else c.text()
                       for c in self.children)


class TreeBuilder(html.parser.HTMLParser):
    """Builds the element tree of a serialized DOM, which closes every
    element it opens but the void ones."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = Node("#document")
        self.open = self.root

    def handle_starttag(self, tag, attrs):
        node = Node(tag, self.open)
        self.open.children.append(node)
        if tag not in VOID:
            self.open = node

    def handle_endtag(self, tag):
        node = self.open
        while node is not self.root and node.tag != tag:
            node = node.parent
        if node is not self.root:
            self.open = node.parent

    def handle_data(self, data):
        self.open.children.append(data)


def parse(dom):
    builder = TreeBuilder()
    builder.feed(dom)
    builder.close()
    return builder.root


def same_text(expected, seen):
    """Equal, also when the browser took the book's UTF-8 bytes for
    Windows-1252: the file names no character set."""
    return seen == expected or seen == expected.encode().decode(
        "cp1252", errors="replace")


def check_table(body, problems):
    tables = body.descendants("table")
    if len(tables) != 1:
        problems.append(f"{len(tables)} tables instead of 1")
        return None
    rows = tables[0].descendants("tr")
    headings = [th.text().strip() for row in rows for th in row.elements("th")]
    if headings != HEADINGS:
        problems.append(f"headings {headings}")
    person_rows = [row for row in rows if row.elements("td")]
    if len(person_rows) != len(PERSONS):
        problems.append(f"{len(person_rows)} person rows, not {len(PERSONS)}")
    for row, (nickname, mail, name) in zip(person_rows, PERSONS):
        cells = row.elements("td")
        if len(cells) != 14:
            problems.append(f"row of {nickname}: {len(cells)} cells, not 14")
            continue
        bold = cells[0].elements("b")
        if len(bold) != 1 or bold[0].text().strip() != nickname:
            problems.append(f"row of {nickname}: nickname not in bold")
        if cells[1].text().strip() != mail:
            problems.append(f"row of {nickname}: e-mail {cells[1].text()!r}")
        if not same_text(name, cells[2].text().strip()):
            problems.append(f"row of {nickname}: full name {cells[2].text()!r}")
        if cells[12].text().strip() != "false":
            problems.append(f"row of {nickname}: Short List {cells[12].text()!r}")
    return tables[0]


def check_groups(body, table, problems):
    # The table may sit inside the body directly or in an element of it.
    top = table
    while top.parent is not body:
        top = top.parent
    after = body.elements()[body.elements().index(top) + 1:]
    headers = [e for e in after if e.tag == "p"]
    lists = [e for e in after if e.tag == "ul"]
    if len(headers) != len(GROUPS) or len(lists) != len(GROUPS):
        problems.append(f"{len(headers)} group headings and {len(lists)} "
                        f"lists after the table, not {len(GROUPS)} each")
        return
    for header, items, (name, bracket, nicknames) in zip(headers, lists,
                                                         GROUPS):
        bold = header.elements("b")
        if len(bold) != 1 or bold[0].text().strip() != name:
            problems.append(f"group heading {header.text()!r}")
        if header.text().strip() != f"{name} {bracket}":
            problems.append(f"group heading {header.text()!r}")
        seen = [li.text().strip() for li in items.elements("li")]
        if seen != nicknames:
            problems.append(f"group {name}: lists {seen}, not {nicknames}")


def check(dom):
    root = parse(dom)
    bodies = root.descendants("body")
    if len(bodies) != 1:
        return ["no document body"]
    problems = []
    table = check_table(bodies[0], problems)
    if table is not None:
        check_groups(bodies[0], table, problems)
    return problems


def chromium_command(profile):
    browser = next((shutil.which(name) for name in
                    ("chromium", "chromium-browser") if shutil.which(name)),
                   None)
    if browser is None:
        return None
    return [browser, "--headless", "--no-sandbox", "--disable-gpu",
            "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync",
            f"--user-data-dir={profile}"]


def run_browser(book, extra):
    with tempfile.TemporaryDirectory() as profile:
        command = chromium_command(profile)
        if command is None:
            if os.environ.get("CI") == "true":
                sys.exit("Chromium is missing, and CI must run this check")
            print("Chromium is not installed; skipping the browser check. "
                  "Install it with: apt-get install -y chromium")
            sys.exit(SKIPPED)
        result = subprocess.run(
            command + extra + ["file://" + os.path.abspath(book)],
            capture_output=True, timeout=120, check=False)
        if result.returncode != 0:
            sys.exit(f"Chromium failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("utf-8", errors="replace")


def convert_sample(converter, sample, folder):
    copy = os.path.join(folder, "sample.ldif")
    shutil.copyfile(sample, copy)
    subprocess.run([converter, copy, "1000"], check=True,
                   stderr=subprocess.DEVNULL)
    return os.path.join(folder, "sample.AddressBook.html")


def break_book(book, how):
    """Damages the book as a faulty converter might."""
    with open(book, "rb") as file:
        text = file.read()
    if how == "lost-cell":
        row = text.index(b"<TD>Charles Babbage</TD>\r\n")
        cell = text.index(b"<TD></TD>\r\n", row)
        text = text[:cell] + text[cell + len(b"<TD></TD>\r\n"):]
    elif how == "lost-list":
        group = text.index(b"<P><B>Friends</B>")
        start = text.index(b"<UL>", group)
        end = text.index(b"</UL>\r\n", start) + len(b"</UL>\r\n")
        text = text[:start] + text[end:]
    else:
        sys.exit(__doc__)
    with open(book, "wb") as file:
        file.write(text)


def main(args):
    option = args[0] if args and args[0].startswith("--") else None
    if option and len(args) != 4 or not option and len(args) != 2:
        sys.exit(__doc__)
    converter, sample = args[-2:]
    with tempfile.TemporaryDirectory() as folder:
        book = convert_sample(converter, sample, folder)
        if option == "--screenshot":
            run_browser(book, [f"--screenshot={os.path.abspath(args[1])}",
                               "--window-size=1400,760", "--hide-scrollbars"])
            return 0
        if option == "--break":
            break_book(book, args[1])
        elif option is not None:
            sys.exit(__doc__)
        problems = check(run_browser(book, ["--dump-dom"]))
    for problem in problems:
        print("browser check:", problem)
    if option == "--break":
        return 0 if problems else 1
    if problems:
        return 1
    print("browser check: the table and the mailing lists read as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
