#pragma once

#include <QString>

namespace kelvara {

// Message slots shown by the project file commands.
inline constexpr int kSlotProjectQuestion = 1;
inline constexpr int kSlotProjectQuestionCaption = 2;
inline constexpr int kSlotOpenDialogTitle = 3;
inline constexpr int kSlotSaveDialogTitle = 4;
inline constexpr int kSlotErrorCaption = 11;
inline constexpr int kSlotPictureFailed = 12;
inline constexpr int kSlotSaveFailed = 13;
inline constexpr int kSlotNothingToSave = 14;
inline constexpr int kSlotProjectUnreadable = 16;

inline constexpr int kArrowCursor = 0;
inline constexpr int kWaitCursor = 7;

inline constexpr const char* kProgramTitle = "Kelvara Stitches";

// The main window's title while a project file is named.
inline QString projectWindowTitle(const QString& path)
{
    return QString::fromLatin1(kProgramTitle) + QStringLiteral(" (") + path + QLatin1Char(')');
}

} // namespace kelvara
