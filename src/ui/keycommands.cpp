#include "ui/keycommands.h"

#include "ui/commands.h"
#include "ui/messages.h"

namespace kelvara {

namespace {

constexpr KeyOnlyCommand kKeyOnly[] = {
    {MenuId::File, "Save under another name", "CTRL+SHIFT+S", [](Commands& c) { c.saveProjectAs(); }},
    {MenuId::File, "Quit", "CTRL+Q", [](Commands& c) { c.quit(); }},
    {MenuId::View, "Zoom in", "CTRL++", [](Commands& c) { c.viewKey(VkPlus); }},
    {MenuId::View, "Zoom out", "CTRL+-", [](Commands& c) { c.viewKey(VkMinus); }},
    {MenuId::View, "Zoom to the whole design", "CTRL+0", [](Commands& c) { c.viewKey('0'); }},
    {MenuId::View, "Zoom to the selection", "CTRL+9", [](Commands& c) { c.viewKey('9'); }, &Settings::ZOOMSTEPS},
    {MenuId::View, "Dim, hide or show the tracing picture", "CTRL+B", [](Commands& c) { c.viewKey('B'); }},
    {MenuId::View, "Thread or flat lines in the stitch view", "L", [](Commands& c) { c.toggleThreadView(); }},
    {MenuId::View, "Choose the hoop", "B", [](Commands& c) { c.chooseHoop(); }},
    {MenuId::View, "Stitch-out simulator", "A", [](Commands& c) { c.toggleStitchOut(); }},
    {MenuId::Help, "Keys", "F1", [](Commands& c) { c.showHelp(); }},
    {MenuId::Help, "About Kelvara Stitches", "", [](Commands& c) { c.showAbout(); }},
};

} // namespace

std::span<const KeyOnlyCommand> keyOnlyCommands()
{
    return kKeyOnly;
}

} // namespace kelvara
