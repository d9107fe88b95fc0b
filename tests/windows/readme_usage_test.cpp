// The README's VBScript and C++ examples, run as a reader would run them: the control
// registered with regsvr32, the script through cscript, the C++ example as built. Each
// must print what the README says it prints.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "support/project_files.h"

namespace vantiq::testing {
namespace {

// What a command line writes, CRs removed.
std::string Output(const std::wstring& commandLine) {
  std::string out;
  RunProgram(commandLine, &out);
  return out;
}

class ReadmeUsage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Output(L"regsvr32.exe /s \"" + ProgramFolder() + L"VantiqCtl.dll\""); }
  static void TearDownTestSuite() { Output(L"regsvr32.exe /u /s \"" + ProgramFolder() + L"VantiqCtl.dll\""); }
};

TEST_F(ReadmeUsage, VbscriptExamplePrintsWhatTheReadmeSays) {
  const std::string script = ReadmeBlock("vbscript");
  ASSERT_FALSE(script.empty());
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"vantiq-readme.vbs";
  std::ofstream(path.c_str(), std::ios::binary) << script;
  EXPECT_EQ(Output(L"cscript.exe //nologo \"" + path + L"\""), "200 0.0 255 2\n387\n");
  DeleteFileW(path.c_str());
}

TEST_F(ReadmeUsage, CppExamplePrintsWhatTheReadmeSays) {
  EXPECT_EQ(Output(L"\"" + ProgramFolder() + L"vantiq-readme-example.exe\""), "value 200, format 0.0\n");
}

}  // namespace
}  // namespace vantiq::testing
