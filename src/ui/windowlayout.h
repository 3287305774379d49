#pragma once

namespace kelvara {

// Where the main window puts its children: the toolbar strip along the top,
// the list panel down the right edge, the canvas in what is left.
inline constexpr int kStripHeight = 68;
inline constexpr int kPanelWidth = 128;
// The panel's left edge from the client's right edge. The panel, like the
// strip, reaches one pixel past that edge, so its right border lies outside.
inline constexpr int kPanelOffset = 127;
inline constexpr int kListInset = 4; // the object list inside the panel
inline constexpr int kListWidth = 120;
inline constexpr int kMinimumOuterSize = 256;

} // namespace kelvara
