// Paste from arbitrary clipboard text into a design opened from arbitrary
// project text: the objects come in whole or not at all, the list mirrors
// the table, and one undo gives back the design's exact project text.
//
// Input: two bytes giving the length of the project text, the project text,
// then the clipboard text.
#include "fuzzplatform.h"
#include "model/editing.h"
#include "model/workspace.h"
#include "project/clipboard.h"
#include "project/openproject.h"
#include "project/saveproject.h"

#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    static std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    static fuzzing::FuzzPlatform fake;
    if (size < 2)
        return 0;
    const std::size_t projectSize = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
    const std::string project(reinterpret_cast<const char*>(data) + 2, projectSize);
    fake.quiet.clip.assign(reinterpret_cast<const char*>(data) + 2 + projectSize, size - 2 - projectSize);

    loadProjectBytes(*ws, fake.platform, QString(), project);
    const std::string before = projectFileText(*ws);
    const int32_t objects = ws->table.objectCount;
    PasteState paste;
    const int32_t came = pasteObjects(*ws, fake.platform, paste);
    if (ws->table.objectCount != objects + came || fake.list.count() != ws->table.objectCount)
        __builtin_trap();
    if (came > 0) {
        undoStep(*ws, fake.platform);
        if (projectFileText(*ws) != before)
            __builtin_trap();
    }
    return 0;
}
