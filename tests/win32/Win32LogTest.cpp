// The day's log on the real file system: missing folders made, entries
// appended (never rewritten) while another program holds the file open, each
// ending in exactly CR LF.
#include <gtest/gtest.h>

#include "files/Log.h"
#include "files/ProgramFolders.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

namespace tov {
namespace {

TEST(Win32Log, EntriesAreAppendedWhileAnotherProgramHoldsTheFile) {
  win32::Win32Platform wp;
  const std::string root = UserAppDataSubDir("Win32LogTest");
  const std::string folder = root + "Debug\\Oggi";
  TLog log(folder);
  ASSERT_TRUE(Files().DirExists(folder));
  Files().DeleteFile(log.FileName());
  ASSERT_TRUE(Files().WriteFile(log.FileName(), "prima\r\n"));
  // A reader that lets others write, as a viewer following the log does.
  HANDLE reader = CreateFileA(log.FileName().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(log.AddLine("uno"));
  EXPECT_TRUE(TLog(folder).AddLines({"due", "tre"}));
  CloseHandle(reader);

  std::string bytes;
  ASSERT_TRUE(Files().ReadFile(log.FileName(), &bytes));
  ASSERT_EQ(bytes.rfind("prima\r\n", 0), 0u) << bytes;
  size_t entries = 0, at = 7;
  for (size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2, ++entries)
    EXPECT_NE(bytes[end - 1], '\r') << bytes;
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(entries, 3u);
  EXPECT_NE(bytes.find(": uno\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(": tre\r\n"), std::string::npos);

  EXPECT_TRUE(Files().DeleteFile(log.FileName()));
  EXPECT_TRUE(Files().RemoveDir(folder));
  EXPECT_TRUE(Files().RemoveDir(root + "Debug"));
  EXPECT_TRUE(Files().RemoveDir(root));
}

}  // namespace
}  // namespace tov
