#!/usr/bin/env python3
"""Writes the Debian changelog and the AppStream releases from NEWS.

    news.py check NEWS VERSION
    news.py changelog NEWS PACKAGE REVISION MAINTAINER OUTPUT
    news.py releases NEWS OUTPUT

check fails unless the newest release of NEWS is VERSION; changelog writes
one entry per release for the Debian package PACKAGE, versioned
VERSION-REVISION; releases writes the <releases> element of the metainfo.
"""

import datetime
import re
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^(\d+\.\d+\.\d+) \((\d{4}-\d{2}-\d{2})\)$")


class Release:
    def __init__(self, version, date):
        self.version = version
        self.date = datetime.date.fromisoformat(date)
        self.items = []


def read_news(path):
    """The releases of NEWS, newest first, each with its items."""
    releases = []
    with open(path, encoding="utf-8") as news:
        for number, line in enumerate(news, 1):
            line = line.rstrip("\n")
            heading = HEADING.match(line)
            if heading:
                releases.append(Release(*heading.groups()))
            elif not releases or not line.strip() or set(line) == {"-"}:
                continue
            elif line.startswith("* "):
                releases[-1].items.append(line[2:].strip())
            elif line.startswith("  ") and releases[-1].items:
                releases[-1].items[-1] += " " + line.strip()
            else:
                sys.exit(f"{path}:{number}: neither a release, an item nor its continuation")
    if not releases or any(not release.items for release in releases):
        sys.exit(f"{path}: every release needs at least one item")
    return releases


def check(releases, version):
    if releases[0].version != version:
        sys.exit(f"NEWS: the newest release is {releases[0].version}, the project is {version}")


def changelog(releases, package, revision, maintainer):
    entries = []
    for release in releases:
        items = "\n".join(
            textwrap.fill(item, width=78, initial_indent="  * ", subsequent_indent="    ")
            for item in release.items)
        stamp = datetime.datetime.combine(release.date, datetime.time(12), datetime.timezone.utc)
        entries.append(f"{package} ({release.version}-{revision}) unstable; urgency=medium\n\n"
                       f"{items}\n\n -- {maintainer}  {stamp.strftime('%a, %d %b %Y %H:%M:%S +0000')}\n")
    return "\n".join(entries)


def releases_element(releases):
    lines = ["  <releases>"]
    for release in releases:
        lines.append(f'    <release version="{release.version}" date="{release.date.isoformat()}">')
        lines.append("      <description>")
        lines.append("        <ul>")
        lines.extend(f"          <li>{escape(item)}</li>" for item in release.items)
        lines.append("        </ul>")
        lines.append("      </description>")
        lines.append("    </release>")
    lines.append("  </releases>")
    return "\n".join(lines)


def write(path, text):
    with open(path, "w", encoding="utf-8") as output:
        output.write(text)


def main(arguments):
    command, news = arguments[0], arguments[1]
    releases = read_news(news)
    if command == "check" and len(arguments) == 3:
        check(releases, arguments[2])
    elif command == "changelog" and len(arguments) == 6:
        write(arguments[5], changelog(releases, *arguments[2:5]))
    elif command == "releases" and len(arguments) == 3:
        write(arguments[2], releases_element(releases) + "\n")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
