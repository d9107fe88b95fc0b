// VBScript against the registered control, run by the system's own script host
// (cscript) as a web page or a script file would run it. regsvr32 registers the library
// for the suite and removes it afterwards.
//
// Each script is run after prelude.vbs and prints one line per check, "ok ..." or
// "FAIL ...", then "END". Wine's cscript exits 0 and prints nothing more when a script
// fails to run, so a missing END line is a failure of its own.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

struct CommandRun {
  DWORD exitCode = static_cast<DWORD>(-1);
  std::string output;
};

// Runs a command line of the system's and collects what it writes.
CommandRun RunCommand(const std::wstring& commandLine) {
  CommandRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return run;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(write);
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
      run.output.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(read);
  return run;
}

std::wstring ScriptPath(const std::string& name) {
  std::wstring path;
  for (char c : std::string(VANTIQ_SCRIPT_DIR) + "/" + name) path.push_back(c == '/' ? L'\\' : c);
  return path;
}

std::string ReadText(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::wstring LibraryPath() { return ProgramFolder() + L"VantiqCtl.dll"; }

class ScriptTest : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() {
    const CommandRun run = RunCommand(L"regsvr32.exe /s \"" + LibraryPath() + L"\"");
    registered_ = run.exitCode == 0;
  }
  static void TearDownTestSuite() { RunCommand(L"regsvr32.exe /u /s \"" + LibraryPath() + L"\""); }

  static bool registered_;
};

bool ScriptTest::registered_ = false;

TEST_P(ScriptTest, Passes) {
  ASSERT_TRUE(registered_) << "regsvr32 could not register VantiqCtl.dll";
  const std::string name = GetParam();
  const std::string prelude = ReadText(ScriptPath("prelude.vbs"));
  const std::string body = ReadText(ScriptPath(name + ".vbs"));
  ASSERT_FALSE(prelude.empty());
  ASSERT_FALSE(body.empty()) << name << ".vbs";

  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring script =
      std::wstring(folder) + L"vantiq-" + std::wstring(name.begin(), name.end()) + L".vbs";
  {
    std::ofstream out(script.c_str(), std::ios::binary);
    out << prelude << "\r\n" << body << "\r\nWScript.Echo \"END\"\r\n";
  }
  const CommandRun run = RunCommand(L"cscript.exe //nologo \"" + script + L"\"");
  DeleteFileW(script.c_str());

  int passed = 0;
  bool ended = false;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("ok ", 0) == 0)
      ++passed;
    else if (line.rfind("FAIL ", 0) == 0)
      ADD_FAILURE() << name << ": " << line.substr(5);
    else if (line == "END")
      ended = true;
  }
  EXPECT_TRUE(ended) << name << ".vbs stopped early; its output:\n" << run.output;
  EXPECT_GT(passed, 0) << name << ".vbs checked nothing";
}

INSTANTIATE_TEST_SUITE_P(VBScript, ScriptTest,
                         ::testing::Values("types", "hostile"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace vantiq::activex::testing
