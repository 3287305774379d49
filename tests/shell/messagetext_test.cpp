// Message texts: a user's message file, its gaps, and the details an outcome carries.
#include "shell/outcome.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kelvara;
using kelvara::testing::TempFolder;

TEST(MessageText, DetailsGoWhereTheTextNamesThemAndUnnamedOnesFollow)
{
    TempFolder folder;
    folder.write(kMessageFileName, "zero\n%2 holds %1 objects%s not %1%\nno details here\n");
    auto table = std::make_unique<LineTable>();
    loadMessages(*table, folder.file(""));
    EXPECT_EQ(messageText(*table, Outcome(MessageSlot(1), "9", "a.kvp")), "a.kvp holds 9 objects; not 9%");
    // An older file's line names no detail: it follows after a blank, an empty one not at all.
    EXPECT_EQ(messageText(*table, Outcome(MessageSlot(2), "at byte 7", "", "x")),
              "no details here at byte 7 x");
    EXPECT_EQ(messageText(*table, Outcome()), "");
}

TEST(MessageText, SlotsTheUserFileLacksFallBackToTheBuiltInTexts)
{
    TempFolder folder;
    folder.write(kMessageFileName, "Neuer Entwurf\n-\n");
    auto table = std::make_unique<LineTable>();
    loadMessages(*table, folder.file(""));
    EXPECT_EQ(messageText(*table, kSlotNewDesignCaption), "Neuer Entwurf");
    EXPECT_EQ(messageText(*table, kSlotDiscardQuestion), "-"); // the user's own line wins, even a "-"
    EXPECT_EQ(messageText(*table, kSlotErrorCaption), builtInMessage(kSlotErrorCaption));
    EXPECT_FALSE(builtInMessage(kSlotErrorCaption).empty());
    // No file at all, and slots outside the table.
    loadMessages(*table, folder.file("missing/"));
    EXPECT_EQ(messageText(*table, kSlotCount - 1), builtInMessage(kSlotCount - 1));
    EXPECT_EQ(messageText(*table, kSlotCount), "");
    EXPECT_EQ(messageText(*table, -1), "");
}
