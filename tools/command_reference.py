#!/usr/bin/env python3
"""Writes the command reference: every command a game can call, read from the headers.

    command_reference.py SOURCE_DIR OUTPUT_DIR

Reads every header under SOURCE_DIR and writes OUTPUT_DIR/commands.md and
OUTPUT_DIR/index.html. A command is a function declared at file level (outside classes
and namespaces) over the language's values only: it returns nothing, a number (double)
or a text (BasicString), and each argument is a number, a text or an array, passed by
value or by reference. Functions over engine objects, pointers or plain integers are the
engine's own and are left out, as are the start-up and shutdown hooks (their comment
starts with "Start-up", "Shutdown" or "Program end") and the functions over language
values that only the engine calls (their comment starts with "Engine:").

The comment lines right above a declaration describe it; declarations without a comment
of their own that follow it without a blank line and take and give the same (same
result type, same argument names: SinDeg, CosDeg, TanDeg) share it. The comment at the top
of a header introduces its commands. Commands are grouped by folder, then by header.
"""

import html
import os
import re
import sys

# Folder titles; a folder not named here is listed under its own name.
FOLDER_TITLES = {
    "host": "Program, window and frames",
    "base": "Program end and errors",
    "video": "Display, frame rate and clock",
    "core": "Numbers, texts and arrays",
    "files": "Files, settings and the resource archive",
    "gfx2d": "2D drawing and fonts",
    "gfx3d": "3D drawing",
    "input": "Keyboard, mouse, joysticks and text entry",
    "sound": "Sound, music and movies",
    "net": "Network",
    "path": "Path finding",
}
FOLDER_ORDER = ["host", "base", "video", "core", "files", "gfx2d", "gfx3d", "input", "sound", "net", "path"]

RESULT_TYPES = {"void": None, "double": "number", "BasicString": "text"}
# Argument types, by the type with const, & and blanks removed: (kind, passed in/out).
ARGUMENT_KINDS = {"double": "number", "BasicString": "text", "NumberArray": "number array",
                  "StringArray": "text array", "ByteArray": "byte array"}
HOOK_PREFIXES = ("Start-up", "Shutdown", "Program end", "Engine:")

DECLARATION = re.compile(
    r"^(?:\[\[noreturn\]\]\s*)?(?:inline\s+)?(?P<result>[A-Za-z_][\w:]*)\s+(?P<name>[A-Z]\w*)\s*"
    r"\((?P<arguments>[^()]*)\)\s*(?:noexcept)?\s*$", re.S)


class Command:
    def __init__(self, name, result, arguments, comment):
        self.name = name
        self.result = result          # "number", "text" or None
        self.arguments = arguments    # [(name, kind, "in" / "out" / "in and out")]
        self.comment = comment        # list of lines, may be shared with the group
        self.note = ""                # a comment behind the declaration, its own

    def signature(self):
        parts = []
        for name, kind, passing in self.arguments:
            parts.append("%s%s" % (name, "" if passing == "in" else " (%s)" % passing))
        return "%s(%s)" % (self.name, ", ".join(parts))


def parse_argument(text):
    """(name, kind, passing) of one argument, or None when it is not a language value."""
    text = text.split("=")[0].strip()
    match = re.match(r"^(const\s+)?(\w+)\s*(&?)\s*(\w*)$", text)
    if not match:
        return None
    is_const, type_name, reference, name = match.groups()
    kind = ARGUMENT_KINDS.get(type_name)
    if kind is None:
        return None
    if not reference or is_const:
        passing = "in"
    elif kind == "number":
        passing = "out"
    else:
        passing = "in and out"
    return (name or kind, kind, passing)


def parse_declaration(statement, comment):
    match = DECLARATION.match(statement)
    if not match or match.group("result") not in RESULT_TYPES:
        return None
    argument_text = match.group("arguments").strip()
    arguments = []
    if argument_text and argument_text != "void":
        for piece in argument_text.split(","):
            argument = parse_argument(piece)
            if argument is None:
                return None
            arguments.append(argument)
    if comment and comment[0].startswith(HOOK_PREFIXES):
        return None
    return Command(match.group("name"), RESULT_TYPES[match.group("result")], arguments, comment)


def strip_strings(line):
    return re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', '""', line)


def shape(statement):
    """What a declaration takes and gives, by its result type and argument names; a
    comment is shared only between declarations of the same shape."""
    match = DECLARATION.match(statement)
    if not match:
        return None
    names = []
    for piece in match.group("arguments").split(","):
        name = re.search(r"(\w+)\s*$", piece.split("=")[0])
        if name:
            names.append(name.group(1))
    return (match.group("result"), tuple(names))


def read_header(path):
    """(introduction lines, [group of commands]) of one header."""
    introduction = []
    groups = []
    comment = []          # comment lines just above the current statement
    shared = None         # (comment, shape of the declaration it is written above)
    statement = ""
    note = ""
    depth = 0
    seen_code = False
    with open(path, encoding="utf-8") as file:
        lines = file.read().splitlines()
    for raw in lines:
        line = raw.strip()
        if depth == 0 and not statement:
            if line.startswith("//"):
                comment.append(line[2:].strip())
                continue
            if not line:
                if comment and not seen_code and not introduction:
                    introduction = comment
                comment = []
                shared = None
                continue
            if line.startswith("#"):
                if comment and not seen_code and not introduction:
                    introduction = comment
                comment = []
                continue
        code = strip_strings(line).split("//")[0]
        if depth == 0 and "//" in strip_strings(line):
            note = line.split("//", 1)[1].strip()
        if depth > 0:
            depth += code.count("{") - code.count("}")
            continue
        seen_code = True
        statement += " " + code
        end = re.search(r"[;{]", statement)
        if not end:
            continue
        head = statement[:end.start()].strip()
        opened = statement[end.start():]
        depth = max(0, opened.count("{") - opened.count("}"))
        statement = ""
        if comment:
            shared = (comment, shape(head))
        elif shared is not None and shared[1] != shape(head):
            shared = None
        own_comment = shared[0] if shared else []
        command = parse_declaration(head, own_comment)
        if command is not None:
            command.note = note
            if comment or not groups or not own_comment or groups[-1][0].comment is not own_comment:
                groups.append([command])
            else:
                groups[-1].append(command)
        comment = []
        note = ""
    return introduction, groups


def collect(source_dir):
    """{folder: [(header path relative to source_dir, introduction, groups)]}."""
    folders = {}
    for root, directories, files in os.walk(source_dir):
        directories.sort()
        for name in sorted(files):
            if not name.endswith(".h"):
                continue
            path = os.path.join(root, name)
            introduction, groups = read_header(path)
            if not groups:
                continue
            relative = os.path.relpath(path, source_dir)
            folder = relative.split(os.sep)[0] if os.sep in relative else ""
            folders.setdefault(folder, []).append((relative.replace(os.sep, "/"), introduction, groups))
    return folders


def ordered_folders(folders):
    known = [folder for folder in FOLDER_ORDER if folder in folders]
    return known + sorted(folder for folder in folders if folder not in FOLDER_ORDER)


def folder_title(folder):
    return FOLDER_TITLES.get(folder, folder or "Engine")


def anchor(text):
    return re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-")


def result_text(command):
    text = "returns a %s" % command.result if command.result else "returns nothing"
    return text + ("; " + command.note if command.note else "")


def write_markdown(folders, path):
    out = ["# Command reference", "",
           "Every command a game can call, generated from the engine's headers. Numbers are",
           "doubles (truncated toward zero where a whole number is needed; non-zero is true),",
           "texts are `BasicString`; arguments marked (out) receive a result. A game includes",
           "`engine.h` to reach them all.", ""]
    for folder in ordered_folders(folders):
        out += ["## %s" % folder_title(folder), ""]
        for header, introduction, groups in folders[folder]:
            out += ["### `%s`" % header, ""]
            if introduction:
                out += [" ".join(introduction), ""]
            for group in groups:
                for command in group:
                    out.append("- **`%s`**: %s" % (command.signature(), result_text(command)))
                description = " ".join(group[0].comment)
                out += ["", "  " + (description or "(No description yet.)"), ""]
    with open(path, "w", encoding="utf-8") as file:
        file.write("\n".join(out) + "\n")


def write_html(folders, path):
    escape = html.escape
    body = []
    contents = []
    for folder in ordered_folders(folders):
        title = folder_title(folder)
        contents.append('<li><a href="#%s">%s</a><ul>' % (anchor(title), escape(title)))
        body.append('<h2 id="%s">%s</h2>' % (anchor(title), escape(title)))
        for header, introduction, groups in folders[folder]:
            names = [command.name for group in groups for command in group]
            contents.append("<li>%s</li>" % ", ".join('<a href="#%s">%s</a>' % (name, name) for name in names))
            body.append("<h3><code>%s</code></h3>" % escape(header))
            if introduction:
                body.append("<p>%s</p>" % escape(" ".join(introduction)))
            body.append("<dl>")
            for group in groups:
                for command in group:
                    body.append('<dt id="%s"><code>%s</code> <span class="result">%s</span></dt>'
                                % (command.name, escape(command.signature()), result_text(command)))
                description = " ".join(group[0].comment) or "(No description yet.)"
                body.append("<dd>%s</dd>" % escape(description))
            body.append("</dl>")
        contents.append("</ul></li>")
    page = """<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Command reference</title>
<style>
body { font-family: sans-serif; max-width: 60em; margin: 2em auto; line-height: 1.4; }
dt { margin-top: 0.8em; } dt code { font-weight: bold; } .result { color: #666; font-size: 90%%; }
h3 code { font-size: 100%%; } nav ul ul { font-size: 90%%; }
</style></head><body>
<h1>Command reference</h1>
<p>Every command a game can call, generated from the engine's headers. Numbers are doubles
(truncated toward zero where a whole number is needed; non-zero is true), texts are
<code>BasicString</code>; arguments marked (out) receive a result. A game includes
<code>engine.h</code> to reach them all.</p>
<nav><ul>%s</ul></nav>
%s
</body></html>
""" % ("\n".join(contents), "\n".join(body))
    with open(path, "w", encoding="utf-8") as file:
        file.write(page)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: command_reference.py SOURCE_DIR OUTPUT_DIR")
    source_dir, output_dir = sys.argv[1], sys.argv[2]
    folders = collect(source_dir)
    os.makedirs(output_dir, exist_ok=True)
    write_markdown(folders, os.path.join(output_dir, "commands.md"))
    write_html(folders, os.path.join(output_dir, "index.html"))
    count = sum(len(group) for headers in folders.values() for _, _, groups in headers for group in groups)
    print("command reference: %d commands in %s" % (count, output_dir))


if __name__ == "__main__":
    main()
