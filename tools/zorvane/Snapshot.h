#pragma once

struct CommandLine;

// zorvane snapshot: the plug-in's editor, built into this program with the module's own
// resources, opened on a headless window after the command line's program, settings and
// selection, written as a PNG file. Throws UsageError for a bad request.
int take_snapshot(const CommandLine& line);
