// The source tree's files, as the tests that hold the README to the code read them,
// and on Windows the folder of the built programs. VANTIQ_SOURCE_DIR is the tree's root.
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
#endif

}  // namespace vantiq::testing
