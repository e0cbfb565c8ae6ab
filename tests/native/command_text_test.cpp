#include "services/command_text.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

std::vector<std::pair<StepKind, std::string>> Steps(std::string_view text) {
    std::vector<std::pair<StepKind, std::string>> out;
    for (const auto& s : SplitCommandText(text)) out.emplace_back(s.kind, s.text);
    return out;
}

using P = std::pair<StepKind, std::string>;

TEST(CommandText, PlainPathIsOneRunStepInItsOriginalCase) {
    EXPECT_EQ(Steps("C:\\Tools\\App.exe -X"), (std::vector<P>{{StepKind::Run, "C:\\Tools\\App.exe -X"}}));
}

TEST(CommandText, ComposedTextRunsOnlyWhatFollowsTheFirstMarker) {
    auto steps = Steps("+ Two\r\nA^^^ c:\\a.exe\r\nc:\\b.exe ^^^x ");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (P{StepKind::Run, "c:\\a.exe"}));
    EXPECT_EQ(steps[1], (P{StepKind::Run, "c:\\b.exe ^^^x"}));
}

TEST(CommandText, EmptyAndShortLinesAreSkippedButKeepTheirPlace) {
    auto steps = Steps("c:\\one.exe\r\n\r\n  abcd  \r\nc:\\two.exe");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].first, StepKind::Run);
    EXPECT_EQ(steps[1].first, StepKind::Skip);
    EXPECT_EQ(steps[2], (P{StepKind::Skip, "abcd"}));
    EXPECT_EQ(steps[3], (P{StepKind::Run, "c:\\two.exe"}));
    EXPECT_TRUE(Steps("").empty());
    EXPECT_TRUE(Steps("x^^^   ").empty());
}

TEST(CommandText, OnlyCarriageReturnLineFeedSeparatesLines) {
    // A bare LF stays inside the line (and is trimmed off its ends).
    auto steps = Steps("c:\\a.exe\nc:\\b.exe\r\n");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].second, "c:\\a.exe\nc:\\b.exe");
    EXPECT_EQ(steps[1].first, StepKind::Skip);
}

TEST(CommandText, ClipboardDataLinesAreRecognisedWithoutRegardToCase) {
    auto steps = Steps("C:\\Prog\\Data\\0A1B.STX\r\nhttp://Example.com/A?B=C");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (P{StepKind::RestoreClipboard, "C:\\Prog\\Data\\0A1B.STX"}));
    EXPECT_EQ(steps[1], (P{StepKind::Run, "http://Example.com/A?B=C"}));
    EXPECT_EQ(Steps(".stx")[0].first, StepKind::Skip);  // too short to be a file
}

TEST(CommandText, JoinedCommandLinesLongerThanTheBufferAreRefused) {
    std::string out;
    EXPECT_TRUE(JoinCommandLine("a.exe", "", out));
    EXPECT_EQ(out, "a.exe");
    EXPECT_TRUE(JoinCommandLine("a.exe", "-x", out));
    EXPECT_EQ(out, "a.exe -x");

    const std::string command(1030, 'c');
    EXPECT_TRUE(JoinCommandLine(command, std::string(8, 'p'), out));  // exactly 1039
    EXPECT_EQ(out.size(), kMaxCommandLine);
    EXPECT_FALSE(JoinCommandLine(command, std::string(9, 'p'), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(JoinCommandLine(std::string(1040, 'c'), "", out));
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

// What a started program sees: its own quoted path as its command line, and
// its own folder as its working folder.
TEST(DirectStart, TheProgramSeesItsQuotedPathAndWorksInItsOwnFolder) {
    const DirectStart app = DirectStartOf("C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(app.application, "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(app.commandLine, "\"C:\\Program Files\\App\\app.exe\"");
    EXPECT_EQ(app.folder, "C:\\Program Files\\App");
    EXPECT_EQ(DirectStartOf("C:\\tool.exe").folder, "C:\\") << "a drive's root keeps its backslash";
    EXPECT_EQ(DirectStartOf("notepad.exe").folder, "") << "a bare name: no folder";
    // 診 is D4 5C in GBK: its second byte is no folder separator.
    EXPECT_EQ(DirectStartOf("C:\\\xD4\x5C\\t.exe").folder, "C:\\\xD4\x5C");
}

}  // namespace
}  // namespace tvx
