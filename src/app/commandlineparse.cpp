#include "app/commandline.h"

#include <cstring>

namespace kelvara {

namespace {

struct ActionName {
    const char* option;
    CliAction action;
};

constexpr ActionName kActions[] = {
    {"--help", CliAction::Help},     {"-h", CliAction::Help},     {"--export", CliAction::Export},
    {"--render", CliAction::Render}, {"--info", CliAction::Info}, {"--worksheet", CliAction::Worksheet},
};

constexpr int kMaxScale = 40; // pixels per millimetre: 4 per design unit

std::string actionName(CliAction action)
{
    for (const ActionName& name : kActions)
        if (name.action == action)
            return name.option;
    return {};
}

CommandLine usage(CommandLine line, Outcome error)
{
    line.usageError = std::move(error);
    return line;
}

// Options Qt takes for itself, with one dash or two; the first ones take a value.
constexpr const char* kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                           "display", "geometry", "style", "stylesheet", "name", "title",
                                           "fn", "font", "bg", "background", "fg", "foreground", "btn",
                                           "button", "visual", "ncols", "cmap", "im", "inputstyle"};
constexpr const char* kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

// 0 when `arg` is not one of Qt's options, else how many arguments it uses.
int qtOptionLength(const char* arg)
{
    const char* name = arg + (std::strncmp(arg, "--", 2) == 0 ? 2 : 1);
    for (const char* option : kQtValueOptions)
        if (std::strcmp(name, option) == 0)
            return 2;
    for (const char* option : kQtFlagOptions)
        if (std::strcmp(name, option) == 0)
            return 1;
    return 0;
}

} // namespace

bool isCommandLine(int argc, char* argv[])
{
    // Our own options count, and so does any other option Qt does not take:
    // a mistyped option must be refused, not start the editor.
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg == nullptr || arg[0] != '-' || arg[1] == '\0')
            continue; // a design to open, or "-"
        if (std::strcmp(arg, "--") == 0)
            return false; // only designs follow
        const int qtLength = qtOptionLength(arg);
        if (qtLength == 0)
            return true;
        i += qtLength - 1;
    }
    return false;
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    std::vector<QString> positional;
    bool haveScale = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](QString& into) {
            if (i + 1 >= arguments.size())
                return false;
            into = arguments[++i];
            return true;
        };
        bool isAction = false;
        for (const ActionName& name : kActions) {
            if (a == QLatin1String(name.option)) {
                if (line.action != CliAction::None && line.action != name.action)
                    return usage(line, Outcome(kSlotOneAction));
                line.action = name.action;
                isAction = true;
            }
        }
        if (isAction)
            continue;
        if (a == QLatin1String("--to")) {
            if (!value(line.outputDir) || line.outputDir.isEmpty())
                return usage(line, Outcome(kSlotToNeedsFolder));
        } else if (a == QLatin1String("--format")) {
            if (!value(line.format) || line.format.isEmpty())
                return usage(line, Outcome(kSlotFormatNeedsValue));
            if (line.format.startsWith(QLatin1Char('.')))
                line.format.remove(0, 1);
        } else if (a == QLatin1String("--scale")) {
            QString text;
            bool ok = false;
            const int scale = value(text) ? text.toInt(&ok) : 0;
            if (!ok || scale < 1 || scale > kMaxScale)
                return usage(line, Outcome(kSlotScaleRange, std::to_string(kMaxScale)));
            line.scale = scale;
            haveScale = true;
        } else if (a == QLatin1String("--flat")) {
            line.flat = true;
        } else if (a == QLatin1String("--hoop")) {
            if (!value(line.hoop) || line.hoop.trimmed().isEmpty())
                return usage(line, Outcome(kSlotHoopNeedsName));
        } else if (a == QLatin1String("--partial")) {
            line.partial = true;
        } else if (a == QLatin1String("--")) {
            for (++i; i < arguments.size(); ++i)
                positional.push_back(arguments[i]);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usage(line, Outcome(kSlotUnknownOption, a.toStdString()));
        } else {
            positional.push_back(a);
        }
    }

    switch (line.action) {
    case CliAction::None:
        return usage(line, Outcome(kSlotNoAction));
    case CliAction::Help:
        return line;
    case CliAction::Info:
        if (!line.outputDir.isEmpty() || !line.format.isEmpty() || haveScale || line.flat ||
            !line.hoop.isEmpty())
            return usage(line, Outcome(kSlotInfoOnlyDesigns));
        if (positional.empty())
            return usage(line, Outcome(kSlotInfoNeedsDesign));
        line.designs = std::move(positional);
        return line;
    case CliAction::Export:
    case CliAction::Render:
    case CliAction::Worksheet:
        break;
    }
    const bool render = line.action == CliAction::Render;
    if ((haveScale || line.flat) && !render)
        return usage(line, Outcome(kSlotGoesWithRender, haveScale ? "--scale" : "--flat"));
    if (!line.hoop.isEmpty() && line.action != CliAction::Export)
        return usage(line, Outcome(kSlotHoopGoesWithExport));
    if (line.outputDir.isEmpty()) {
        if (!line.format.isEmpty())
            return usage(line, Outcome(kSlotFormatGoesWithTo));
        if (positional.size() != 2)
            return usage(line, Outcome(kSlotActionTakesTwo, actionName(line.action)));
        if (positional[1].isEmpty())
            return usage(line, Outcome(kSlotOutputNameEmpty));
        line.designs = {positional[0]};
        line.output = positional[1];
        return line;
    }
    if (positional.empty())
        return usage(line, Outcome(kSlotNoDesign));
    if (render && line.format.isEmpty())
        line.format = QStringLiteral("png");
    if (line.action == CliAction::Worksheet) {
        if (!line.format.isEmpty() && line.format.compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
            return usage(line, Outcome(kSlotWorksheetPdfOnly));
        line.format = QStringLiteral("pdf");
    }
    if (line.format.isEmpty())
        return usage(line, Outcome(kSlotToNeedsFormat));
    line.designs = std::move(positional);
    return line;
}

std::string commandLineHelp()
{
    return R"(Usage:
  kelvara [DESIGN.kvp]                       start the editor, opening the design
  kelvara --export DESIGN.kvp OUT.dst        write the machine file
  kelvara --export DESIGN.kvp... --to FOLDER --format dst
                                             write FOLDER/NAME.dst for every design
  kelvara --export DESIGN.kvp OUT.dst --hoop NAME
                                             refuse (write nothing) when the design does
                                             not fit the hoop: a name of hoops.txt or a
                                             size WxH in mm, such as 130x180
  kelvara --render DESIGN.kvp OUT.png [--scale N] [--flat]
  kelvara --render DESIGN.kvp... --to FOLDER [--scale N] [--flat]
                                             the stitches drawn as thread on the
                                             configuration's FABRIC, N pixels per
                                             millimetre (1 to 40); without --scale the
                                             longer side is at most 1600 pixels; --flat
                                             draws flat lines on black instead
  kelvara --info DESIGN.kvp...               the design information as JSON, one object
                                             per line: objects, stitches, colour_changes,
                                             trims, jumps, width_mm, height_mm, thread_m,
                                             minutes (at the configuration's SPEED), hoop
                                             (the smallest listed hoop that holds the
                                             design, or null); with several designs each
                                             also names its "file"
  kelvara --worksheet DESIGN.kvp OUT.pdf     the one-page worksheet: the design at
                                             actual size, its facts and colour sequence
  kelvara --worksheet DESIGN.kvp... --to FOLDER
                                             write FOLDER/NAME.pdf for every design
  kelvara --help                             this text

A design with more objects than the editor holds (4096), or cut short
part-way through an object, is refused; --partial uses what can be read.

Machine formats: dst (Tajima), exp (Melco), jef (Janome), pes (Brother). The
format of a single output is taken from its name's extension. A design may
be a machine file of these formats as well as a project: its stitches are
taken as they are, so --export converts it (kelvara --export a.pes b.dst,
or kelvara --export *.jef --to FOLDER --format pes), keeping every needle
position, trim and thread change both formats can carry. Beside every
machine file the colour list NAME.txt is written: one line per colour block
in sewing order, with the nearest thread of the chart the configuration's
CHART names. Without --hoop, a design that does not fit the hoop the
configuration's HOOP names is written and a warning goes to stderr.

The configuration (kelvara.cfg) and the stitch libraries are read from the
program's folder, as the editor reads them. No display is needed.

With several designs, a progress line per design goes to stderr. A design
that cannot be read, holds no stitches, is too large for the format or
cannot be written is named on stderr with the reason, nothing is written for
it, and the rest are still done.

Exit status: 0 when every design was done, 1 when any failed, 2 when the
arguments make no command.
)";
}

} // namespace kelvara
