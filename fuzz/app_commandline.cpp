// The command line's argument parser given any arguments (NUL-separated
// bytes): a command or a usage error, never both, and a command that names
// an output names exactly one design or a folder.
#include "app/commandline.h"

#include <QStringList>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    QStringList arguments;
    std::vector<QByteArray> raw;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            raw.emplace_back(reinterpret_cast<const char*>(data) + start, qsizetype(i - start));
            arguments.push_back(QString::fromUtf8(raw.back()));
            start = i + 1;
        }
    }
    std::vector<char*> argv{const_cast<char*>("kelvara")};
    for (QByteArray& a : raw)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    (void)isCommandLine(static_cast<int>(argv.size()) - 1, argv.data());

    const CommandLine line = parseCommandLine(arguments);
    if (!line.usageError.ok())
        return 0;
    if (line.action == CliAction::None)
        __builtin_trap();
    const bool writes =
        line.action == CliAction::Export || line.action == CliAction::Render || line.action == CliAction::Worksheet;
    if (writes && line.outputDir.isEmpty() && (line.designs.size() != 1 || line.output.isEmpty()))
        __builtin_trap();
    if (writes && !line.outputDir.isEmpty() && (line.designs.empty() || line.format.isEmpty()))
        __builtin_trap();
    if (line.action == CliAction::Info && line.designs.empty())
        __builtin_trap();
    return 0;
}
