#!/usr/bin/env python3
"""The command reference generator: which declarations count as commands, and the text
that goes with them. Usage: command_reference_test.py TOOLS_DIR SOURCE_DIR"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, sys.argv.pop(1))
SOURCE_DIR = sys.argv.pop(1)
import command_reference  # noqa: E402

HEADER = '''#pragma once
// Commands of a made-up subsystem.

#include "core/basic_string.h"

class Renderer;

// Draws the thing.
void DrawThing(double slot, double x,
               double y);
// Shared by both: they measure.
double MeasureWidth(const BasicString& text);
double MeasureHeight(const BasicString& text);
BasicString Unrelated(double index);

double Unexplained(double& out, BasicString& inOut, NumberArray& grid);
// An engine helper over an engine object: not a command.
void Flush(Renderer& renderer);
int Count(double value);
// Start-up: creates the subsystem.
void CreateThing();

inline double Twice(double value) { return 2 * value; }
namespace detail {
double Hidden(double value);
}
struct Box {
  double Width(double scale);
};

[[noreturn]] void StopThing(const BasicString& why = "none");
'''


def read(text):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "thing_commands.h")
        with open(path, "w") as file:
            file.write(text)
        return command_reference.read_header(path)


class ReadHeader(unittest.TestCase):
    def setUp(self):
        self.introduction, self.groups = read(HEADER)
        self.commands = {command.name: command for group in self.groups for command in group}

    def test_commands_are_file_level_functions_over_numbers_texts_and_arrays(self):
        self.assertEqual(sorted(self.commands), sorted(
            ["DrawThing", "MeasureWidth", "MeasureHeight", "Unrelated", "Unexplained", "Twice", "StopThing"]))

    def test_arguments_show_what_they_carry_back(self):
        self.assertEqual(self.commands["Unexplained"].signature(),
                         "Unexplained(out (out), inOut (in and out), grid (in and out))")
        self.assertEqual(self.commands["DrawThing"].signature(), "DrawThing(slot, x, y)")
        self.assertEqual(self.commands["StopThing"].signature(), "StopThing(why)")

    def test_comments_describe_their_declaration_and_the_ones_right_below(self):
        self.assertEqual(self.introduction, ["Commands of a made-up subsystem."])
        self.assertEqual(self.commands["DrawThing"].comment, ["Draws the thing."])
        self.assertEqual([c.name for c in self.groups[1]], ["MeasureWidth", "MeasureHeight"])
        self.assertEqual(self.commands["MeasureHeight"].comment, ["Shared by both: they measure."])
        # A declaration that takes other arguments is not what the comment describes.
        self.assertEqual(self.commands["Unrelated"].comment, [])
        self.assertEqual(self.commands["Unexplained"].comment, [])


class EngineReference(unittest.TestCase):
    """The reference of the engine itself reaches every folder and leaves internals out."""

    def test_commands_of_every_subsystem_are_listed_and_internals_are_not(self):
        folders = command_reference.collect(SOURCE_DIR)
        names = {command.name for headers in folders.values()
                 for _, _, groups in headers for group in groups for command in group}
        for command in ("PresentFrame", "LoadSprite", "PrintText", "GetKeyDown", "InputText", "StartSound",
                        "OpenSettingsFile", "HostSession", "FindPath", "SinDeg", "SelectArchive"):
            self.assertIn(command, names)
        for internal in ("ShutdownEngine", "CreateNetSession", "SwapAndPace", "MasksOverlap"):
            self.assertNotIn(internal, names)

    def test_writes_both_pages(self):
        with tempfile.TemporaryDirectory() as folder:
            command_reference.write_markdown(command_reference.collect(SOURCE_DIR), os.path.join(folder, "c.md"))
            command_reference.write_html(command_reference.collect(SOURCE_DIR), os.path.join(folder, "c.html"))
            with open(os.path.join(folder, "c.html")) as page:
                self.assertIn('<dt id="FindPath">', page.read())


if __name__ == "__main__":
    unittest.main()
