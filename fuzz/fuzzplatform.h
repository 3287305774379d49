#pragma once
// The platform a fuzz target hands the editing code: a list that keeps its
// lines (and traps on a position outside them), boxes that answer yes, and
// a clipboard holding the fuzzer's text.
#include "shell/platform.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kelvara::fuzzing {

class List : public ListBox {
public:
    void resetContent() override { lines.clear(), selected.clear(); }
    void initStorage(int, int) override {}
    int addString(const std::string& text) override
    {
        lines.push_back({text, 0});
        return static_cast<int>(lines.size()) - 1;
    }
    void insertString(int position, const std::string& text) override
    {
        if (position < 0 || position > count())
            __builtin_trap();
        lines.insert(lines.begin() + position, {text, 0});
    }
    void deleteString(int position) override
    {
        if (position < 0 || position >= count())
            __builtin_trap();
        lines.erase(lines.begin() + position);
        selected.clear();
    }
    std::string text(int position) const override { return lines.at(position).first; }
    void setItemData(int position, int32_t data) override { lines.at(position).second = data; }
    int32_t itemData(int position) const override { return lines.at(position).second; }
    void setSelected(int position, bool on) override
    {
        if (position < 0)
            selected.clear();
        else if (on)
            selected.insert(position);
        else
            selected.erase(position);
    }
    std::vector<int> selectedPositions() const override { return {selected.begin(), selected.end()}; }
    int count() const override { return static_cast<int>(lines.size()); }
    void setRedraw(bool) override {}

    std::vector<std::pair<std::string, int32_t>> lines;
    std::set<int> selected;
};

class Quiet : public MessageBoxes, public WindowTitle, public CursorControl, public CanvasControl, public Clipboard {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override {}
    void setTitle(const QString&) override {}
    void setCursor(int) override {}
    void renderCanvas() override {}
    void invalidateCanvas() override {}
    void setObjectText(const std::string& text) override { clip = text; }
    std::string objectText() const override { return clip; }

    std::string clip;
};

struct FuzzPlatform {
    List list;
    Quiet quiet;
    Platform platform{&list, &quiet, nullptr, nullptr, &quiet, &quiet, &quiet, &quiet};
};

} // namespace kelvara::fuzzing
