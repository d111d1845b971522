#!/usr/bin/env python3
"""The program's HTML Help from the sources in help/: checks them against the context ids the
program registers and writes the tree that chmcmd compiles into vela40ps.chm.

    make_help.py check RESOURCE_H TABLE HELP_DIR
    make_help.py stage RESOURCE_H TABLE HELP_DIR STAGE_DIR
    make_help.py listed STAGE_DIR LISTING      (LISTING: what `chmls list` printed)

RESOURCE_H is res/resource.h, TABLE pages/shared/context_help_ids.inc: the ids every page and
dialog registers, its dialog id first. Every dialog there needs a topic in HELP_DIR/topics (a
file whose <meta name="context"> names the dialog), and every control there a text in its
dialog's topic: a <dt data-ids="IDC_..."> whose <dd> follows. A control without one, a topic
for an id nobody registers or a text that code page 1250 cannot hold is an error, named on
stderr, and the exit status is 1.

The stage holds every file in code page 1250 (hhctrl reads the contents, the index, the titles
and the popup texts in the code page of the help's language, 1250 for Slovak; the topics say
so in their meta charset): the topics of dialogs renamed after their context number, N.htm,
which the program opens by number; the controls' places in them as anchors "cID"; cshelp.txt
with one ".topic ID" text per control; context_map.h with every context number; the project
vela40ps.hhp. chmcmd 3.2.2 stores the [ALIAS] topics of a project under the build directory's
absolute path, which no viewer finds, so the project has no [ALIAS] or [MAP]: the program
builds the topic's name from the number instead.
"""
import html
import re
import sys
from pathlib import Path

TITLE = "Pomocník – vela40ps"
FIRST_TOPIC = "uvod.htm"


class HelpError(Exception):
    pass


def read_resource_ids(path):
    ids = {}
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        m = re.match(r"#define\s+(ID[A-Z]*_\w+)\s+(\d+)\s*$", line)
        if m:
            ids[m.group(1)] = int(m.group(2))
    return ids


def read_table(path, ids):
    """[(dialog symbol, [control symbols])] in the table's order."""
    text = re.sub(r"//[^\n]*", "", Path(path).read_text(encoding="utf-8"))
    table = []
    for m in re.finditer(r"VELA_CONTEXT_HELP\(([^)]*)\)", text):
        names = [n.strip() for n in m.group(1).split(",") if n.strip()]
        for name in names:
            if name not in ids:
                raise HelpError(f"{path}: {name} is not in resource.h")
        table.append((names[0], names[1:]))
    if not table:
        raise HelpError(f"{path}: no VELA_CONTEXT_HELP entries")
    return table


def plain_text(fragment):
    text = re.sub(r"<[^>]+>", "", fragment)
    return re.sub(r"\s+", " ", html.unescape(text)).strip()


class Topic:
    def __init__(self, path):
        self.path = path
        self.name = path.name
        self.text = path.read_text(encoding="utf-8")
        m = re.search(r'<meta name="context" content="(\w+)">', self.text)
        self.context = m.group(1) if m else None
        m = re.search(r"<title>(.*?)</title>", self.text, re.S)
        self.title = plain_text(m.group(1)) if m else ""
        # control symbol -> its text
        self.controls = {}
        for m in re.finditer(r'<dt data-ids="([^"]+)">(.*?)</dt>\s*<dd>(.*?)</dd>', self.text, re.S):
            text = plain_text(m.group(3))
            for symbol in m.group(1).split():
                if symbol in self.controls:
                    raise HelpError(f"{self.name}: {symbol} has two texts")
                self.controls[symbol] = text


def read_topics(help_dir):
    topics = [Topic(p) for p in sorted((Path(help_dir) / "topics").glob("*.htm"))]
    if not topics:
        raise HelpError(f"{help_dir}/topics: no topics")
    return topics


def check(resource_h, table_path, help_dir):
    """Everything the stage needs, after every check; raises HelpError with all problems."""
    ids = read_resource_ids(resource_h)
    table = read_table(table_path, ids)
    topics = read_topics(help_dir)
    problems = []
    by_context = {}
    for topic in topics:
        if topic.context is None:
            if topic.controls:
                problems.append(f"{topic.name}: control texts in a topic of no dialog")
            continue
        if topic.context in by_context:
            problems.append(f"{topic.name}: a second topic of {topic.context}")
        by_context[topic.context] = topic
    registered = {dialog: controls for dialog, controls in table}
    for dialog, controls in table:
        topic = by_context.get(dialog)
        if topic is None:
            problems.append(f"{dialog} ({ids[dialog]}) has no topic in {help_dir}/topics")
            continue
        for control in controls:
            if not topic.controls.get(control):
                problems.append(f"{control} ({ids[control]}) of {dialog} has no help text in "
                                f"{topic.name}")
    for context, topic in by_context.items():
        if context not in registered:
            problems.append(f"{topic.name}: {context} registers no context help")
            continue
        for control in topic.controls:
            if control not in registered[context]:
                problems.append(f"{topic.name}: {control} is not a context id of {context}")
    contents = (Path(help_dir) / "contents.hhc").read_text(encoding="utf-8")
    for topic in topics:
        if f'"{topic.name}"' not in contents:
            problems.append(f"{topic.name} is missing from contents.hhc")
        if not topic.title:
            problems.append(f"{topic.name} has no title")
    for path in [*(Path(help_dir) / "topics").glob("*"), *Path(help_dir).glob("*.hh?")]:
        try:
            path.read_text(encoding="utf-8").encode("cp1250")
        except UnicodeError as error:
            problems.append(f"{path.name}: not in code page 1250 ({error})")
    if problems:
        raise HelpError("\n".join(problems))
    return ids, table, topics, by_context


def stage(resource_h, table_path, help_dir, stage_dir):
    ids, table, topics, by_context = check(resource_h, table_path, help_dir)
    out = Path(stage_dir)
    out.mkdir(parents=True, exist_ok=True)
    for old in out.iterdir():
        if old.is_file():
            old.unlink()
    staged_name = {t.name: (f"{ids[t.context]}.htm" if t.context else t.name) for t in topics}

    def rename_links(text):
        return re.sub(r'"([\w-]+\.htm)(#\w+)?"',
                      lambda m: f'"{staged_name.get(m.group(1), m.group(1))}{m.group(2) or ""}"',
                      text)

    def anchors(m):
        names = "".join(f'<a name="c{ids[s]}"></a>' for s in m.group(1).split())
        return f"<dt>{names}"

    files = []
    for topic in topics:
        text = re.sub(r'<dt data-ids="([^"]+)">', anchors, rename_links(topic.text))
        text = text.replace('charset=utf-8', 'charset=windows-1250')
        (out / staged_name[topic.name]).write_bytes(text.encode("cp1250"))
        files.append(staged_name[topic.name])
    for extra in sorted((Path(help_dir) / "topics").glob("*.css")):
        (out / extra.name).write_bytes(extra.read_text(encoding="utf-8").encode("cp1250"))
        files.append(extra.name)
    for name in ("contents.hhc", "index.hhk"):
        text = rename_links((Path(help_dir) / name).read_text(encoding="utf-8"))
        (out / name).write_bytes(text.encode("cp1250"))

    popups = []
    context_map = ["// Every context number of the help: the topics (N.htm) and the control texts",
                   "// (cshelp.txt). Generated by help/make_help.py."]
    for dialog, controls in table:
        context_map.append(f"#define {dialog} {ids[dialog]}")
        for control in controls:
            popups.append(f".topic {ids[control]}\n{by_context[dialog].controls[control]}\n")
            context_map.append(f"#define {control} {ids[control]}")
    (out / "cshelp.txt").write_bytes("\n".join(popups).encode("cp1250"))
    (out / "context_map.h").write_text("\n".join(context_map) + "\n", encoding="ascii")
    files.append("cshelp.txt")

    project = [
        "[OPTIONS]",
        "Compatibility=1.1 or later",
        "Compiled file=vela40ps.chm",
        "Contents file=contents.hhc",
        "Index file=index.hhk",
        f"Default topic={FIRST_TOPIC}",
        "Default Window=main",
        "Display compile progress=No",
        "Language=0x41b Slovak",
        f"Title={TITLE}",
        "",
        "[WINDOWS]",
        f'main="{TITLE}","contents.hhc","index.hhk","{FIRST_TOPIC}","{FIRST_TOPIC}",,,,,'
        "0x120,200,0x3006,,,,,,,,0",
        "",
        "[FILES]",
        *files,
        "",
    ]
    (out / "vela40ps.hhp").write_bytes("\r\n".join(project).encode("cp1250"))
    (out / "files.txt").write_text("\n".join(files + ["contents.hhc", "index.hhk"]) + "\n")
    controls = sum(len(c) for _, c in table)
    return len(topics), controls


def listed(stage_dir, listing):
    """Every file of the stage is in the .chm's directory as chmls lists it."""
    names = set()
    for line in Path(listing).read_text(encoding="utf-8", errors="replace").splitlines():
        parts = line.split()
        if len(parts) == 4 and parts[3].startswith("/"):
            names.add(parts[3][1:])
    wanted = (Path(stage_dir) / "files.txt").read_text().split()
    missing = [name for name in wanted if name not in names]
    if missing:
        raise HelpError("not in the .chm: " + ", ".join(missing))
    return len(wanted)


def main(argv):
    try:
        if len(argv) == 5 and argv[1] == "check":
            _, table, topics, _ = check(*argv[2:5])
            print(f"help: {len(topics)} topics, {sum(len(c) for _, c in table)} control texts")
        elif len(argv) == 6 and argv[1] == "stage":
            topics, controls = stage(*argv[2:6])
            print(f"help: {topics} topics, {controls} control texts")
        elif len(argv) == 4 and argv[1] == "listed":
            print(f"help: all {listed(*argv[2:4])} files are in the .chm")
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except HelpError as error:
        print(error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
