#pragma once

#include "shell/outcome.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kelvara {

// What the command line asks for. The editor starts when none of the
// actions is named.
enum class CliAction { None, Help, Export, Render, Info, Worksheet };

struct CommandLine {
    CliAction action = CliAction::None;
    std::vector<QString> designs;
    QString output;         // the one output file, without --to
    QString outputDir;      // --to: one output per design in this folder
    QString format;         // --format: extension of the outputs in outputDir
    int scale = 0;          // --scale: render pixels per millimetre; 0 fits 1600 pixels
    bool flat = false;      // --flat: the render draws flat lines, not thread
    QString hoop;           // --hoop: a hoop name or WxH in mm the export must fit
    bool partial = false;   // --partial: use what fits of a design that cannot be held whole
    Outcome usageError;     // not fine when the arguments make no command
};

// Exit codes: every design done, some design failed, the arguments made no command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Whether the arguments (program name first) ask for the command line
// rather than the editor: one of them is an option of the command line.
bool isCommandLine(int argc, char* argv[]);

// Reads the arguments after the program name.
CommandLine parseCommandLine(const QStringList& arguments);

// The text --help prints.
std::string commandLineHelp();

// Runs the command line without a display: designs are read, stitched and
// written with the program folder's configuration and libraries. Progress and
// failures go to stderr, one line each; --info writes JSON to stdout.
int runCommandLine(int argc, char* argv[]);

} // namespace kelvara
