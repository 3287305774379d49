#include "support/fakeplatform.h"

#include <gtest/gtest.h>

namespace kelvara::testing {

namespace {
bool inRange(const std::vector<FakeListBox::Line>& lines, int position)
{
    return position >= 0 && position < static_cast<int>(lines.size());
}
} // namespace

int FakeListBox::addString(const std::string& text)
{
    lines.push_back({text, 0, false});
    return static_cast<int>(lines.size()) - 1;
}

void FakeListBox::insertString(int position, const std::string& text)
{
    // Like a list box: -1 appends; a position past the end is an error.
    if (position == -1 || position == static_cast<int>(lines.size())) {
        lines.push_back({text, 0, false});
        return;
    }
    ASSERT_TRUE(inRange(lines, position)) << "insert at " << position << " of " << lines.size();
    lines.insert(lines.begin() + position, {text, 0, false});
}

void FakeListBox::deleteString(int position)
{
    ASSERT_TRUE(inRange(lines, position)) << "delete at " << position << " of " << lines.size();
    lines.erase(lines.begin() + position);
}

std::string FakeListBox::text(int position) const
{
    return inRange(lines, position) ? lines[position].text : std::string();
}

void FakeListBox::setItemData(int position, int32_t data)
{
    ASSERT_TRUE(inRange(lines, position)) << "item data at " << position;
    lines[position].data = data;
}

int32_t FakeListBox::itemData(int position) const
{
    return inRange(lines, position) ? lines[position].data : -1;
}

void FakeListBox::setSelected(int position, bool selected)
{
    if (position == -1) {
        for (auto& l : lines)
            l.selected = selected;
        return;
    }
    if (inRange(lines, position))
        lines[position].selected = selected;
}

std::vector<int> FakeListBox::selectedPositions() const
{
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (lines[i].selected)
            out.push_back(i);
    return out;
}

std::vector<std::string> FakeListBox::texts() const
{
    std::vector<std::string> out;
    for (const auto& l : lines)
        out.push_back(l.text);
    return out;
}

std::vector<int32_t> FakeListBox::data() const
{
    std::vector<int32_t> out;
    for (const auto& l : lines)
        out.push_back(l.data);
    return out;
}

bool FakeMessageBoxes::askYesNo(const std::string& caption, const std::string& text)
{
    shown.push_back({true, caption, text});
    if (answers.empty())
        return true;
    bool a = answers.front();
    answers.pop_front();
    return a;
}

MessageBoxes::SaveAnswer FakeMessageBoxes::askSaveChanges(const std::string& caption, const std::string& text)
{
    shown.push_back({true, caption, text});
    if (saveAnswers.empty())
        return SaveAnswer::Discard;
    const SaveAnswer a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

void FakeMessageBoxes::showError(const std::string& caption, const std::string& text)
{
    shown.push_back({false, caption, text});
}

int FakeMessageBoxes::chooseOne(const std::string& caption, const std::string& text,
                                const std::vector<std::string>& items)
{
    shown.push_back({true, caption, text});
    listed = items;
    if (choices.empty())
        return -1;
    const int chosen = choices.front();
    choices.pop_front();
    return chosen;
}

void FakeMessageBoxes::showInformation(const std::string& caption, const std::string& text)
{
    shown.push_back({false, caption, text});
}

std::optional<int> FakeMessageBoxes::chooseItem(const std::string&, const std::vector<std::string>& items,
                                               int current)
{
    offered = items;
    offeredCurrent = current;
    if (choices.empty())
        return std::nullopt;
    const int choice = choices.front();
    choices.pop_front();
    return choice;
}

std::optional<QString> FakeFileDialogs::openFile(const FileDialogRequest& request)
{
    requests.push_back(request);
    wasSave.push_back(false);
    if (answers.empty())
        return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> FakeFileDialogs::saveFile(const FileDialogRequest& request)
{
    requests.push_back(request);
    wasSave.push_back(true);
    if (answers.empty())
        return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
}

} // namespace kelvara::testing
