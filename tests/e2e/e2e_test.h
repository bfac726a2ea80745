// GoogleTest helpers for the end-to-end scenarios.
//
//   TEST_F(OrvelundTest, AsksBeforeQuitting) {
//       Process p = Launch(CopyExe());
//       HWND main = WaitForWindow("Orvelund", 10000, p.Id());
//       ...
//       MessageBoxInfo box = WaitForMessageBox(5000, p.Id());
//       EXPECT_TRUE(MessageBoxIs(box, "Orvelund", "Quit?", {"Yes", "No"}, Icon::Question));
//       EXPECT_TRUE(Answer(box, IDYES));
//   }
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "driver.h"

namespace e2e {

// Windows paths of the programs under test, from the environment CTest
// sets (ORVELUND_EXE, E2E_RECORDER); empty when unset.
const std::string& OrvelundExe();
const std::string& RecorderExe();
// Where screenshots go: E2E_ARTIFACTS, else %TEMP%\orvelund-e2e-artifacts; made if missing.
std::string ArtifactsFolder();

// Title, message text, button captions left to right without '&' ("Yes",
// "No", "Cancel") and icon.
::testing::AssertionResult MessageBoxIs(const MessageBoxInfo& box, const std::string& title,
                                        const std::string& text,
                                        const std::vector<std::string>& buttons, Icon icon);

// The pop-up offers exactly these items (PopupMenu::Texts()), in this order.
::testing::AssertionResult PopupOffers(const PopupMenu& menu, const std::vector<std::string>& texts);

using ShellCalls = std::vector<std::pair<std::string, std::string>>;
// Waits until the shell has started the recorder as often as expected, then
// compares all calls (verb, target) in order; a little longer to catch extras.
::testing::AssertionResult RecorderGot(const ShellCalls& expected, int timeoutMs = 5000);

std::ostream& operator<<(std::ostream& os, Icon icon);

// A fresh test folder per test; every Orvelund started through it is ended
// afterwards, and a failing test leaves a screenshot in E2E_ARTIFACTS.
class OrvelundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // %TEMP%\orvelund-e2e\<Suite>.<Test>, empty at the start of the test.
    const std::string& Folder() const { return folder_; }
    // Copies Orvelund.exe into Folder() (or a subfolder of it) under this
    // name; returns the copy's path.
    std::string CopyExe(const std::string& name = "Orvelund.exe", const std::string& subfolder = "");
    // Starts exePath (default: the built Orvelund.exe) and remembers it for cleanup.
    Process Launch(const std::string& exePath = "", const std::string& args = "",
                   const std::string& workDir = "");

private:
    std::string folder_;
    std::vector<std::string> launched_;
};

}  // namespace e2e
