#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// The one shared store of text lines. Configuration, library, button
// information and message files all pass through it; between operations it
// holds the message file (the message table is this table's content then).
struct LineTable {
    static constexpr int kSlots = 2049;
    static constexpr int kMaxLineLength = 255;

    std::array<std::string, kSlots> lines;
    int32_t lineCount = 0;

    // Slot text, or the empty text for a slot outside 0..2048.
    const std::string& slot(int n) const;
};

// Fills `table` from the file at `path`: lines end at CR, LF or CR LF, are cut
// to 255 characters, lose everything from the first ';', have tabs turned
// into blanks, runs of blanks collapsed and a leading blank removed; empty
// results are skipped; at most 2049 lines are kept. An unreadable file (or
// anything that is not a regular file) leaves the table empty. The file is
// read in bounded chunks; nothing in it decides an allocation size.
void readTextFile(LineTable& table, const std::string& path);

// The same reading applied to bytes already in memory (the whole content of
// a file), with the table's own limits.
void readTextBytes(LineTable& table, std::string_view bytes);

// The same line rules applied to bytes already in memory, handing each kept
// line to `keep` until it returns false. Used by the project reader, whose
// files are not bound by the table's 2049-line and 255-character limits.
template <typename Keep>
void forEachTextLine(const char* data, std::size_t size, std::size_t maxLength, Keep&& keep);

// The main window's title; a named project file follows it in brackets.
inline constexpr const char* kProgramTitle = "Kelvara Stitches";

// Message and button information files in the program folder.
inline constexpr const char* kMessageFileName = "hlaseni.txt";
inline constexpr const char* kButtonInfoFileName = "stehyinfo.txt";

// Slots of the message table, in the order of the message file.
enum MessageSlot : int {
    kSlotNewDesignCaption,
    kSlotDiscardQuestion, // asked by New and by Open
    kSlotOpenProjectCaption,
    kSlotOpenDialogTitle,
    kSlotSaveDialogTitle,
    kSlotExportDialogTitle,
    kSlotCloseCaption = 9, // 6 to 8 are not used
    kSlotCloseQuestion,
    kSlotErrorCaption, // every error box
    kSlotPictureFailed,
    kSlotSaveFailed,
    kSlotNothingToSave,
    kSlotNothingToExport,
    kSlotProjectUnreadable,
    kSlotExportWriteFailed,
    kSlotExportNoStitches,
    kSlotExportTooLarge,
    kSlotExportRefused, // the reason is added after the text
    kSlotStepTooLarge,  // an edit Undo could not take back whole
    kSlotHoopNotFit,    // the design's and the hoop's sizes are added after the text
    kSlotHoopChooser,
    kSlotUnreadableLines, // the count and the first line are added after the text
    kSlotLibraryClash,    // the files follow the text
    kSlotObjectsLeftOut,  // the count is added after the text
    kSlotProjectCutShort,
    kSlotRecoveryQuestion, // the file name is added after the text
    kSlotRecoveryChoice,
    kSlotRecoveryNoSlot,
    kSlotChangedOnDiskCaption,
    kSlotChangedOnDiskQuestion,
    // Machine files that are read; where in the file follows the text.
    kSlotMachineFileUnreadable,
    kSlotMachineFileNotFormat,
    kSlotMachineFileTruncated,
    kSlotMachineFileForged,
    kSlotMachineFileTooLarge,
    kSlotMachineFileNoStitches,
    kSlotPictureMissing, // the picture's file name follows
    // Opening and importing machine files and artwork.
    kSlotImportDialogTitle,
    kSlotImportTooMany,
    kSlotArtworkUnreadable, // the reason follows
    // Everyday workflow: files, export and modes.
    kSlotUnsavedChanges, // Save / Discard / Cancel before the design is replaced or closed
    // Edits refused, and notes on what an edit did.
    kSlotLeavesArea,
    kSlotLargerThanArea,
    kSlotMovedInside,
    kSlotCannotPlace,
    kSlotCannotFlip,
    kSlotCannotTurnOrResize,
    kSlotCannotResize,
    kSlotPercentNotPositive,
    kSlotSizeNotPositive,
    kSlotQuarterTurnsOnly, // %1: the kind
    kSlotStitchesTransformed,
    kSlotRedoTooLarge,
    kSlotNoRoomToConvert,
    kSlotNoRoomToSplit,
    kSlotNothingToConvert,
    kSlotClipboardTooLong,
    kSlotClipboardTooMany,
    kSlotClipboardEmpty,
    // A field value refused; %1 is the field's name.
    kSlotFieldNoEntries,
    kSlotFieldNoSuchEntry,
    kSlotFieldOnOrOff,
    kSlotFieldSide,
    kSlotFieldNoColour,
    kSlotFieldChoices, // %2: the choices
    kSlotFieldOddPasses,
    kSlotFieldRange,      // %2, %3: the limits
    kSlotFieldRangeOrOff, // %2: the word for off, %3, %4: the limits
    // Why artwork was refused; follows kSlotArtworkUnreadable.
    kSlotSvgTooManyElements,
    kSlotSvgBadTransform,
    kSlotSvgBadShape,
    kSlotSvgTooLarge,
    kSlotSvgTooDeep,
    kSlotSvgUseLoop,
    kSlotSvgXmlError,
    kSlotSvgNotSvg,
    kSlotSvgBadRoot,
    kSlotSvgNothingDrawn,
    kSlotSvgUnreadable,
    // Writers and the files they make.
    kSlotJefTooLarge,
    kSlotPesTooLarge,
    kSlotPesTooManyBlocks,
    kSlotPesTooManyStitches,
    kSlotChartBadThread,
    kSlotChartCodeTwice,
    kSlotChartEmpty,
    kSlotChartRefused,
    kSlotCannotBeWritten,
    kSlotListCannotBeWritten,
    kSlotSheetNoObjects,
    kSlotSheetNoStitches,
    kSlotSheetTooLarge,
    kSlotSheetNoPage,
    kSlotPrintRefused,
    kSlotPrinterRefusedPage,
    kSlotHoopMisfit,
    kSlotExportNoFormat,
    kSlotExported,
    // The command line: why a design or an output failed, and usage errors.
    kSlotFileMissing,
    kSlotNotAFile,
    kSlotNotProjectFile,
    kSlotProjectTooBig,
    kSlotCannotBeRead,
    kSlotHoldsNoObjects,
    kSlotTooManyObjects,
    kSlotCutShort,
    kSlotNoStitches,
    kSlotTooLargeForMachine,
    kSlotUnknownFormat,
    kSlotPictureTooLarge,
    kSlotPngFailed,
    kSlotOutputIsProject,
    kSlotOutputIsInput,
    kSlotOutputTwice,
    kSlotFolderNotMade,
    kSlotUnknownHoop,
    kSlotUsageHint,
    kSlotOneAction,
    kSlotToNeedsFolder,
    kSlotFormatNeedsValue,
    kSlotScaleRange,
    kSlotHoopNeedsName,
    kSlotUnknownOption,
    kSlotNoAction,
    kSlotInfoOnlyDesigns,
    kSlotInfoNeedsDesign,
    kSlotGoesWithRender,
    kSlotHoopGoesWithExport,
    kSlotFormatGoesWithTo,
    kSlotActionTakesTwo,
    kSlotOutputNameEmpty,
    kSlotNoDesign,
    kSlotWorksheetPdfOnly,
    kSlotToNeedsFormat,
    // Notes on the status bar, and reports.
    kSlotTableFull,
    kSlotNoToolClick,
    kSlotStraightTool,
    kSlotRightClickFirst,
    kSlotInsertSelectFirst,
    kSlotInsertMissed,
    kSlotStitchOutPlaying,
    kSlotDrawHole,
    kSlotNextColour,
    kSlotOrderCaption,
    kSlotOrderJumps,
    kSlotOrderColours,
    kSlotPrinterNotStarted,
    kSlotCommandWarning,
    kSlotUnreadableCount,
    kSlotRecoveredFrom,
    // The hoop list, lettering fonts and library files.
    kSlotHoopNotMillimetres,
    kSlotHoopSides,
    kSlotHoopShape,
    kSlotHoopNoName,
    kSlotHoopLongName,
    kSlotHoopControlCharacter,
    kSlotTooManyHoops,
    kSlotHoopFileTooLarge,
    kSlotNoFonts,
    kSlotFontReplaced,
    kSlotLibraryClashEntry,
    kSlotCannotStitch,
    // Where a stitch file fails, after its kSlotMachineFile slot; later notes and captions.
    kSlotAtByte,
    kSlotDstNoLa,
    kSlotJefInsideHeader,
    kSlotJefThreadCount,
    kSlotJefStitchesBeyond,
    kSlotJefCommand,
    kSlotPesNoMagic,
    kSlotPesOffset,
    kSlotPesBlockBeyond,
    kSlotPesNoLa,
    kSlotHoleNeedsShape,
    kSlotNoHoop,
    kSlotInfoCaption,
    kSlotAboutCaption,
    kSlotPrintDialogTitle,
    // Status bar, underlay words, design information and stitch-out texts.
    kSlotNothingSelected,
    kSlotSelectedCount,
    kSlotTooLargeToStitch,
    kSlotStitchCount,
    kSlotSewnSize,
    kSlotPlanningStitches,
    kSlotStatusHoop,
    kSlotStatusNoFit,
    kSlotUnderlayCentreWalk,
    kSlotUnderlayZigzag,
    kSlotUnderlayAndZigzag,
    kSlotUnderlayNone,
    kSlotUnderlayDiffers,
    kSlotInfoSize,
    kSlotInfoStitches,
    kSlotInfoColourChanges,
    kSlotInfoTrims,
    kSlotInfoJumps,
    kSlotInfoObjects,
    kSlotInfoThread,
    kSlotInfoSewingTime,
    kSlotInfoNoHoop,
    kSlotInfoHoopFits,
    kSlotInfoHoopNoFit,
    kSlotInfoSmallestHoop,
    kSlotInfoNoHoopListed,
    kSlotStitchOutAt,
    kSlotStitchOutThread,
    kSlotStitchOutMinutes,
    kSlotStitchOutSpeed,
    kSlotStitchOutPlayingState,
    kSlotStitchOutPausedState,
    // Why a file was not written, in our own words where the system gives none.
    kSlotWriteFailed,
    kSlotNoFileName,
    kSlotIsFolder,
    kSlotFileNotMade,
    // Underlay in words: a centre walk before the rest of it (%1).
    kSlotUnderlayCentreWalkAnd,
    // Print's progress box: the figures' pass, the page's pass.
    kSlotPrintStitching,
    kSlotPrintPainting,
    kSlotCount, // one past the last slot; new slots go before it
};
static_assert(kSlotExportRefused == 20 && kSlotUnsavedChanges == 43, "the slots follow the message file");

// Reads the message file into the line table (the table then is the message
// table). Called last at start-up and after anything else used the table.
void loadMessages(LineTable& table, const std::string& programFolder);

// Cleans one raw line by the reader's rules (comment cut, tabs, blank runs,
// leading blank). Returns the empty text for a line that is not kept.
std::string cleanTextLine(std::string_view raw);

template <typename Keep>
void forEachTextLine(const char* data, std::size_t size, std::size_t maxLength, Keep&& keep)
{
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t end = pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        std::size_t len = end - pos;
        if (maxLength > 0 && len > maxLength)
            len = maxLength;
        std::string line = cleanTextLine(std::string_view(data + pos, len));
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            ++end;
        pos = end + 1;
        if (!line.empty() && !keep(std::move(line)))
            return;
    }
}

} // namespace kelvara
