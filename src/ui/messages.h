#pragma once

#include <cstdint>

namespace kelvara {

// Message codes the window procedure and the drawing tools understand. The
// adapter turns every toolkit event into one of them, so the procedure, the
// hotkeys and the tools have one fixed vocabulary to answer.
enum MessageCode : uint32_t {
    MsgCreate = 0x0001,
    MsgDestroy = 0x0002,
    MsgSize = 0x0005,
    MsgPaint = 0x000F,
    MsgClose = 0x0010,
    MsgEraseBackground = 0x0014,
    MsgKeyDown = 0x0100,
    MsgKeyUp = 0x0101,
    MsgChar = 0x0102,
    MsgCommand = 0x0111,
    MsgTimer = 0x0113,
    MsgHScroll = 0x0114,
    MsgVScroll = 0x0115,
    MsgMouseMove = 0x0200,
    MsgLButtonDown = 0x0201,
    MsgLButtonUp = 0x0202,
    MsgRButtonDown = 0x0204,
    MsgRButtonUp = 0x0205,
    MsgMButtonDown = 0x0207,
    MsgMButtonUp = 0x0208,
    MsgMouseWheel = 0x020A,
    MsgSizing = 0x0214,
};

// Virtual-key codes used by the hotkeys and the state keys.
enum VirtualKey : uint32_t {
    VkReturn = 13,
    VkShift = 16,
    VkControl = 17,
    VkEscape = 27,
    VkSpace = 32,
    VkEnd = 35,
    VkHome = 36,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkDelete = 46,
    VkF1 = 112,
    // The "=/+" and "-/_" keys, on the main keyboard and the keypad alike.
    VkPlus = 187,
    VkMinus = 189,
    // Letters and digits use their upper-case character codes.
};

// Mouse message flags in wParam; a move carries the left button's state.
inline constexpr uint32_t kMouseLeftFlag = 0x0001;
inline constexpr uint32_t kMouseShiftFlag = 0x0004;
inline constexpr uint32_t kMouseControlFlag = 0x0008;

// The windows the procedure serves, told apart like window handles.
enum class WindowId { Main, ToolbarStrip, ListPanel, Canvas, ObjectList };

// Request codes of the scroll messages (low word of wParam); the thumb
// requests carry the position in the high word.
enum ScrollRequest : uint32_t {
    ScrollLineUp = 0,
    ScrollLineDown = 1,
    ScrollPageUp = 2,
    ScrollPageDown = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollTop = 6,
    ScrollBottom = 7,
};

// A scroll message's wParam: the request in the low word, the thumb
// position above it. Positions pass 65535 at high zooms, so they take all
// the bits above the request; positions that fit read back as the high word.
inline constexpr uint64_t scrollParam(uint32_t request, uint32_t position)
{
    return (request & 0xFFFFu) | (uint64_t(position) << 16);
}
inline constexpr uint32_t scrollPosition(uint64_t wParam)
{
    return static_cast<uint32_t>(wParam >> 16);
}

// Notification codes of MsgCommand (high word of wParam).
inline constexpr uint32_t kNotifyClicked = 0;
inline constexpr uint32_t kNotifyListLostFocus = 5;
// The user changed the object list's selection; the low word is the list's
// anchor line (0xFFFF for none). Changes the program makes are not reported.
inline constexpr uint32_t kNotifyListSelectionChanged = 1;

// Edge codes of MsgSizing (wParam): 1..8 left, right, top, top-left,
// top-right, bottom, bottom-left, bottom-right.
inline constexpr uint32_t kSizingBottomRight = 8;

// Packing of the two 16-bit halves of wParam and lParam.
inline constexpr uint32_t makeParam(uint32_t low, uint32_t high)
{
    return (low & 0xFFFFu) | ((high & 0xFFFFu) << 16);
}
inline constexpr uint32_t lowWord(uint64_t param)
{
    return static_cast<uint32_t>(param & 0xFFFFu);
}
inline constexpr uint32_t highWord(uint64_t param)
{
    return static_cast<uint32_t>((param >> 16) & 0xFFFFu);
}

} // namespace kelvara
