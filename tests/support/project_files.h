// The source tree's files, as the tests that hold the README to the code read them,
// and on Windows the folder of the built programs and a way to run them.
// VANTIQ_SOURCE_DIR is the tree's root.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantiq::testing {

inline std::string ReadSourceFile(const std::string& relative) {
  std::ifstream in(std::string(VANTIQ_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The body of the README's first fenced block of the language; empty when there is none.
inline std::string ReadmeBlock(const std::string& language) {
  const std::string readme = ReadSourceFile("README.md");
  const std::string fence = "```" + language + "\n";
  const std::size_t start = readme.find(fence);
  if (start == std::string::npos) return {};
  const std::size_t body = start + fence.size();
  return readme.substr(body, readme.find("```", body) - body);
}

#ifdef _WIN32
// The folder of the running test program, ending in a separator: the built programs' own.
inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Runs a command line and waits for it: its exit code (-1 when it cannot start), and in
// `output`, when given, what it wrote to standard output and error, CRs removed.
inline DWORD RunProgram(std::wstring commandLine, std::string* output = nullptr) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!::CreatePipe(&read, &write, &inherit, 0)) return static_cast<DWORD>(-1);
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  PROCESS_INFORMATION process{};
  DWORD code = static_cast<DWORD>(-1);
  const bool started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
  ::CloseHandle(write);  // the child's copy is the only writer left: reading ends when it does
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      for (DWORD i = 0; output && i < got; ++i)
        if (buffer[i] != '\r') output->push_back(buffer[i]);
    }
    ::WaitForSingleObject(process.hProcess, 120000);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
  ::CloseHandle(read);
  return code;
}
#endif

}  // namespace vantiq::testing
