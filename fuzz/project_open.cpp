// Feeds arbitrary bytes to the Open command as a project file, through the
// real file reading, with a design already present so the replace path runs.
#include "model/workspace.h"
#include "project/openproject.h"
#include "shell/platform.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kelvara;

class List : public ListBox {
public:
    void resetContent() override { lines.clear(); }
    void initStorage(int, int) override {}
    int addString(const std::string& text) override
    {
        lines.push_back({text, 0});
        return static_cast<int>(lines.size()) - 1;
    }
    void insertString(int position, const std::string& text) override
    {
        lines.insert(lines.begin() + position, {text, 0});
    }
    void deleteString(int position) override { lines.erase(lines.begin() + position); }
    std::string text(int position) const override { return lines.at(position).first; }
    void setItemData(int position, int32_t data) override { lines.at(position).second = data; }
    int32_t itemData(int position) const override { return lines.at(position).second; }
    void setSelected(int, bool) override {}
    std::vector<int> selectedPositions() const override { return {}; }
    int count() const override { return static_cast<int>(lines.size()); }
    void setRedraw(bool) override {}

    std::vector<std::pair<std::string, int32_t>> lines;
};

class Boxes : public MessageBoxes {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override {}
};

class Files : public FileDialogs {
public:
    std::optional<QString> openFile(const FileDialogRequest&) override
    {
        return QString::fromStdString(path);
    }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::string path;
};

class Quiet : public WindowTitle, public CursorControl, public CanvasControl {
public:
    void setTitle(const QString&) override {}
    void setCursor(int) override {}
    void renderCanvas() override {}
    void invalidateCanvas() override {}
};

// A memory-backed folder when there is one: the file is rewritten every run.
std::string tempFolder()
{
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

struct State {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    List list;
    Boxes boxes;
    Files files;
    Quiet quiet;
    Platform platform{&list, &boxes, &files, nullptr, &quiet, &quiet, &quiet};

    State()
    {
        files.path = tempFolder() + "/kelvara-fuzz-open-" + std::to_string(getpid()) + ".kvp";
        auto& motifs = ws->libraries.motifs;
        motifs.count = 3;
        motifs.names[0] = "leaf";
        motifs.names[1] = "";
        motifs.names[2] = "Wave";
        ws->libraries.patterns.count = 1;
        ws->libraries.patterns.names[0] = "grid";
    }
    ~State() { std::remove(files.path.c_str()); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static State state;
    {
        std::ofstream out(state.files.path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    openProject(*state.ws, state.platform);

    // The list mirrors the rows, and every row has its record.
    const ObjectTable& table = state.ws->table;
    if (state.list.count() != table.objectCount || state.ws->records.liveCount() != table.objectCount)
        __builtin_trap();
    for (int32_t r = 0; r < table.objectCount; ++r) {
        const ObjectEntry& e = table.rows[r];
        if (recordSize(e.kind) == 0 || e.prev != r - 1 || state.list.lines[r].second != r)
            __builtin_trap();
    }
    return 0;
}
