// Recovery files holding arbitrary bytes: read back and opened as the
// start-up does, never a crash; and the name a design came from, whatever
// its characters, survives being written into a recovery file and read.
#include "fuzzplatform.h"
#include "model/workspace.h"
#include "project/openproject.h"
#include "project/recoveryfile.h"
#include "project/wholefile.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    static std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    static fuzzing::FuzzPlatform fake;
    static const QString path =
        QDir::temp().filePath(QStringLiteral("kelvara-fuzz-recovery-%1.kvp").arg(QCoreApplication::applicationPid()));

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!writeWholeFile(path, bytes).empty())
        return 0;
    const std::optional<RecoveredDesign> design = readRecoveryFile(path);
    if (!design || design->bytes != bytes)
        __builtin_trap();
    loadProjectBytes(*ws, fake.platform, QString(), design->bytes);

    // The same bytes as the name of the file the design came from.
    ws->rememberedFileName = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (!writeWholeFile(path, recoveryText(*ws)).empty())
        return 0;
    const std::optional<RecoveredDesign> again = readRecoveryFile(path);
    if (!again || again->sourceName != ws->rememberedFileName)
        __builtin_trap();
    return 0;
}
