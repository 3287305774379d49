#include "app/designfile.h"

#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/openproject.h"
#include "shell/platform.h"

#include <QFileInfo>

namespace kelvara {

namespace {

// The project reader fills the object list and the title as it goes; on the
// command line there are none, so its lines go nowhere.
class NoListBox : public ListBox {
public:
    void resetContent() override { count_ = 0; }
    void initStorage(int, int) override {}
    int addString(const std::string&) override { return count_++; }
    void insertString(int, const std::string&) override { ++count_; }
    void deleteString(int) override { --count_; }
    std::string text(int) const override { return {}; }
    void setItemData(int, int32_t) override {}
    int32_t itemData(int) const override { return -1; }
    void setSelected(int, bool) override {}
    std::vector<int> selectedPositions() const override { return {}; }
    int count() const override { return count_; }
    void setRedraw(bool) override {}

private:
    int count_ = 0;
};

class NoTitle : public WindowTitle {
public:
    void setTitle(const QString&) override {}
};

} // namespace

Outcome readDesignFile(Workspace& ws, const QString& path, std::string& warning, bool partial)
{
    warning.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return Outcome(kSlotFileMissing);
    if (!info.isFile())
        return Outcome(kSlotNotAFile);
    if (!isProjectPath(path))
        return Outcome(kSlotNotProjectFile);
    if (info.size() > kMaxProjectFileBytes)
        return Outcome(kSlotProjectTooBig);
    const std::optional<std::string> bytes = readFileBytes(path, kMaxProjectFileBytes);
    if (!bytes)
        return Outcome(kSlotCannotBeRead);
    NoListBox list;
    NoTitle title;
    Platform platform;
    platform.list = &list;
    platform.title = &title;
    const ProjectLoad load = loadProjectBytes(ws, platform, path, *bytes);
    warning = unreadableLinesWarning(ws, load.unreadable);
    if (ws.table.objectCount == 0)
        return Outcome(kSlotHoldsNoObjects);
    if (!partial && load.objectsLeftOut > 0)
        return Outcome(kSlotTooManyObjects, std::to_string(load.objectsLeftOut),
                       std::to_string(ws.table.objectCount));
    if (!partial && load.cutShort)
        return Outcome(kSlotCutShort);
    return {};
}

} // namespace kelvara
