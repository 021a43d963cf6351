// Puts the files the program ships (Config, Langs) beside a headless
// program's executable, as the build puts them beside tovira.exe.
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/host/HostPlatform.h"

namespace tov::testing {

inline void InstallShippedFiles(host::HostPlatform& hp, const std::string& appDir) {
  namespace fs = std::filesystem;
  const fs::path target = hp.HostPath(appDir);
  for (const char* folder : {"Config", "Langs", "pics"}) {
    fs::create_directories(target / folder);
    fs::copy(fs::path(TOVIRA_TEST_DATA).parent_path().parent_path() / "data" / folder, target / folder,
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  }
  // The built-in texts are Italian: its language file may be all but empty.
  if (!fs::exists(target / "Langs" / "Italiano.lng")) std::ofstream(target / "Langs" / "Italiano.lng") << "; Tovira\n";
}

// The bytes of a file of the source tree (a path relative to its top).
inline bool ReadSourceFile(const std::string& relative, std::string* bytes) {
  std::ifstream in(std::filesystem::path(TOVIRA_TEST_DATA).parent_path().parent_path() / relative, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace tov::testing
