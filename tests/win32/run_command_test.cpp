#include "services/win32/run_command.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

namespace tvx::win {
namespace {

class RunCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        helper_ = test::ExeFolder() + "\\tvxhelper.exe";
        ASSERT_NE(GetFileAttributesA(helper_.c_str()), INVALID_FILE_ATTRIBUTES) << helper_;
        log_ = dir_.File("helper.log");
        SetEnvironmentVariableA("TVX_HELPER_LOG", log_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("TVX_HELPER_LOG", nullptr); }

    test::ScratchDir dir_{"run"};
    std::string helper_;
    std::string log_;
};

TEST_F(RunCommandTest, APlainProgramPathStartsDirectly) {
    EXPECT_EQ(StartCommand(helper_, "", 1), LaunchRoute::Direct);
    auto runs = test::WaitForHelperRuns(log_, 1, 10000);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].commandLine.find("tvxhelper.exe"), std::string::npos);
    EXPECT_NE(RunCommand(helper_.c_str(), nullptr, 1), 0);
    EXPECT_EQ(test::WaitForHelperRuns(log_, 2, 10000).size(), 2u);
}

TEST_F(RunCommandTest, ADocumentStartsThroughItsShellAssociation) {
    // Associate a private extension with the helper, as an installed program would.
    const std::string command = "\"" + helper_ + "\" \"%1\"";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, ".tvxtestdoc", REG_SZ, "TvxTest.Document", 0),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, "TvxTest.Document\\shell\\open\\command", REG_SZ,
                           command.c_str(), 0),
              ERROR_SUCCESS);
    const std::string doc = dir_.File("Report.tvxtestdoc");
    test::WriteWholeFile(doc, "not a program");

    EXPECT_EQ(StartCommand(doc, "", 1), LaunchRoute::Association);
    EXPECT_EQ(RunCommand(doc.c_str(), nullptr, 1), 0) << "only a direct start reports non-zero";
    auto runs = test::WaitForHelperRuns(log_, 2, 10000);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NE(runs[0].commandLine.find("Report.tvxtestdoc"), std::string::npos);
}

TEST_F(RunCommandTest, ACommandLineWithArgumentsKeepsTheirLetterCase) {
    const std::string line = helper_ + " MiXeD http://Example.com/A?B=C";
    EXPECT_EQ(StartCommand(line, "", 1), LaunchRoute::CommandLine);
    auto runs = test::WaitForHelperRuns(log_, 1, 10000);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].commandLine.find("MiXeD http://Example.com/A?B=C"), std::string::npos) << runs[0].commandLine;
}

TEST_F(RunCommandTest, SeparateParametersGoToTheShellAsParameters) {
    // The joined text is no file name, so the shell starts the program with
    // the parameters handed over separately.
    EXPECT_EQ(StartCommand(helper_, "Alpha BETA", 1), LaunchRoute::Association);
    auto runs = test::WaitForHelperRuns(log_, 1, 10000);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].commandLine.find("Alpha BETA"), std::string::npos) << runs[0].commandLine;
}

TEST_F(RunCommandTest, ATooLongCommandLineIsRefusedAndStartsNothing) {
    const std::string line = helper_ + " " + std::string(1100, 'a');
    EXPECT_EQ(StartCommand(line, "", 1), LaunchRoute::Refused);
    EXPECT_EQ(StartCommand(helper_, std::string(1100, 'p'), 1), LaunchRoute::Refused);
    EXPECT_TRUE(ExecuteItemText(nullptr, line));
    EXPECT_TRUE(test::WaitForHelperRuns(log_, 1, 1500).empty());
}

TEST_F(RunCommandTest, AComposedTextStartsEachLineHalfASecondApart) {
    const std::string text = "+ Pair\r\nfirst^^^" + helper_ + " First\r\n\r\n" + helper_ + " SECOND";
    const DWORD start = GetTickCount();
    EXPECT_TRUE(ExecuteItemText(nullptr, text));
    EXPECT_GE(GetTickCount() - start, 950u) << "two pauses of 500 ms, the skipped line included";
    auto runs = test::WaitForHelperRuns(log_, 2, 10000);
    ASSERT_EQ(runs.size(), 2u);
    const test::HelperRun& first = runs[0].commandLine.find("First") != std::string::npos ? runs[0] : runs[1];
    const test::HelperRun& second = &first == &runs[0] ? runs[1] : runs[0];
    EXPECT_NE(second.commandLine.find("SECOND"), std::string::npos);
    EXPECT_GE(second.ms - first.ms, 900u) << "the middle line is empty but still costs its pause";
}

TEST_F(RunCommandTest, ClipboardLinesGoToTheRestorerAndStartNothing) {
    static std::string restored;
    SetClipboardRestorer([](HWND, const char* path) { restored = path; return 1; });
    EXPECT_TRUE(ExecuteItemText(nullptr, "C:\\Inst\\Data\\ABC.STX"));
    SetClipboardRestorer(nullptr);
    EXPECT_EQ(restored, "C:\\Inst\\Data\\ABC.STX");
    EXPECT_TRUE(test::WaitForHelperRuns(log_, 1, 500).empty());
}

}  // namespace
}  // namespace tvx::win
