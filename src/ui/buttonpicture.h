#pragma once

#include <cstdint>

namespace kelvara {

// Pictures in buttons.bmp are this size, side by side along its top edge.
inline constexpr int kButtonImageSize = 30;

// Picture k of buttons.bmp, which is also tooltip line k of stehyinfo.txt.
// The toolbar layout and the picture generator both name pictures by these,
// so a drawing cannot land on another command's button.
enum ButtonPicture : int32_t {
    PictureNewDesign = 0,
    PictureOpen = 1,
    PictureDelete = 2,
    PictureSave = 3,
    PictureApply = 4,
    PictureExport = 5,
    PictureSelect = 6,
    PictureRun = 7,
    PictureSteil = 8,
    PictureSaten = 9,
    PictureStar = 10,
    PictureCircle = 11,
    PictureRect = 12,
    PictureStitchView = 13,
    PictureInsertPoint = 14,
    PictureUnderlay = 15,
    PictureTieOff = 16,
    PictureDensity = 17,
    PicturePrint = 18,
    PictureJoin = 19,
    PictureOptimise = 20,
    PictureFillPattern = 21,
    PictureEditNodes = 22,
    PictureEditObject = 23,
    PictureColumnWidth = 24,
    PictureStitchQuality = 25,
    PictureMotif = 26,
    PictureGroup = 27,
    PictureUngroup = 28,
    PictureFlip = 29,
    PictureTrim = 30,
    PictureColour = 31,
    PictureUndo = 32,
    PictureRedo = 33,
    PictureCopy = 34,
    PicturePaste = 35,
    PictureToStart = 36,
    PictureToEnd = 37,
    PictureCrossHair = 38,
    PictureGrid = 39,
    PictureCut = 40,
    PictureStrokePen = 41,
    PictureShapePen = 42,
    PictureConvertToPath = 43,
    PictureAddHole = 44,
    PictureImport = 45,
    PictureText = 46,
};

inline constexpr int kButtonImageCount = 47;

} // namespace kelvara
