#include "project/importfile.h"

#include "model/objecttable.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/workspace.h"
#include "project/insertlines.h"
#include "project/machinedesign.h"
#include "project/machinefile.h"
#include "project/openproject.h"
#include "project/pictureloader.h"
#include "project/svgimport.h"
#include "shell/platform.h"
#include "stitch/machinereader.h"

#include <QDir>
#include <QFileInfo>

namespace kelvara {

namespace {

// The lines of a machine file round the view's centre, or "" after saying
// why it was refused.
std::string machineLines(Workspace& ws, const Platform& platform, const QString& path, int32_t group)
{
    const MachineRead read = readMachineFile(ws, path);
    if (!read.read) {
        showRefusal(ws, platform, Outcome(read.refusal, message(ws, read.where), path.toStdString()));
        return {};
    }
    int32_t x = 0, y = 0;
    viewCentre(ws, x, y);
    return machineObjectLines(read.plan, x, y, group);
}

// The artwork's lines, or "" after saying why it was refused.
std::string artworkLines(Workspace& ws, const Platform& platform, const QString& path)
{
    int32_t x = 0, y = 0;
    viewCentre(ws, x, y);
    const SvgImport svg = importSvgFile(path, x, y);
    if (!svg.reason.ok()) {
        showRefusal(ws, platform, Outcome(kSlotArtworkUnreadable, message(ws, svg.reason)));
        return {};
    }
    return svg.lines;
}

bool isArtworkPath(const QString& path)
{
    return QFileInfo(path).suffix().toLower() == "svg";
}

} // namespace

bool isMachinePath(const QString& path)
{
    return machineFormatOf(path).has_value();
}

void openMachineDesign(Workspace& ws, const Platform& platform, const QString& path, bool ask)
{
    const std::string text = machineLines(ws, platform, path, 1);
    if (text.empty())
        return;
    if (ask && ws.table.objectCount != 0 &&
        !platform.boxes->askYesNo(message(ws, kSlotOpenProjectCaption), message(ws, kSlotDiscardQuestion)))
        return;
    const QFileInfo info(path);
    const QString named = QDir(info.path()).filePath(info.completeBaseName() + ".kvp");
    const ProjectLoad load = loadProjectBytes(ws, platform, named, text);
    tellWhatWasLeftOut(ws, platform, load);
    if (platform.canvas != nullptr)
        platform.canvas->zoomToFit();
}

void importFileAt(Workspace& ws, const Platform& platform, const QString& path)
{
    std::string text;
    if (isMachinePath(path))
        text = machineLines(ws, platform, path, 1);
    else if (isArtworkPath(path))
        text = artworkLines(ws, platform, path);
    else {
        if (!loadBackgroundPicture(ws.picture, path, ws.view.scrollX, ws.view.scrollY)) {
            showRefusal(ws, platform, Outcome(kSlotPictureFailed));
            return;
        }
        markCanvasChanged(ws);
        return;
    }
    if (text.empty())
        return;
    bool tooMany = false;
    const std::vector<std::string> lines =
        projectObjectLines(ws, text, ObjectTable::kRows - ws.table.objectCount, tooMany);
    if (tooMany) {
        showRefusal(ws, platform, Outcome(kSlotImportTooMany));
        return;
    }
    insertObjectLines(ws, platform, lines, 0);
}

void importFile(Workspace& ws, const Platform& platform)
{
    FileDialogRequest request;
    request.title = message(ws, kSlotImportDialogTitle);
    request.filters = {{"Stitches, pictures and artwork (*.dst *.exp *.jef *.pes *.png *.jpg *.jpeg *.bmp *.svg)",
                        "*.dst *.exp *.jef *.pes *.png *.jpg *.jpeg *.bmp *.svg"},
                       {"Machine files (*.dst *.exp *.jef *.pes)", "*.dst *.exp *.jef *.pes"},
                       {"Pictures to trace (*.png *.jpg *.jpeg *.bmp)", "*.png *.jpg *.jpeg *.bmp"},
                       {"Artwork (*.svg)", "*.svg"}};
    request.mustExist = true;
    const std::optional<QString> chosen = platform.files->openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    importFileAt(ws, platform, *chosen);
}

} // namespace kelvara
