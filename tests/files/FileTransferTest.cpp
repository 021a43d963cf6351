// The free name a file takes in a folder where its own is taken.
#include <gtest/gtest.h>

#include "files/FileTransfer.h"
#include "platform/Platform.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

TEST(FreeNameIn, TheNextFreeNumberBeforeTheLastExtension) {
  host::HostPlatform hp;
  ForceDirectories(Files(), "C:\\D");
  EXPECT_EQ(FreeNameIn("C:\\D", "a.lnk"), "a.lnk");
  for (const char* f : {"C:\\D\\a.lnk", "C:\\D\\a (2).lnk", "C:\\D\\b.tar.gz", "C:\\D\\Leggimi", "C:\\D\\.profilo"})
    Files().WriteFile(f, "");
  EXPECT_EQ(FreeNameIn("C:\\D", "a.lnk"), "a (3).lnk");
  EXPECT_EQ(FreeNameIn("C:\\D\\", "A.LNK"), "A (3).LNK");
  EXPECT_EQ(FreeNameIn("C:\\D", "b.tar.gz"), "b.tar (2).gz");
  EXPECT_EQ(FreeNameIn("C:\\D", "Leggimi"), "Leggimi (2)");
  EXPECT_EQ(FreeNameIn("C:\\D", ".profilo"), ".profilo (2)");
  // A folder of that name takes the name as well.
  ForceDirectories(Files(), "C:\\D\\Sub");
  EXPECT_EQ(FreeNameIn("C:\\D", "sub"), "sub (2)");
}

TEST(TransferFileInto, AMoveWithinADrivesRootIsNoMove) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().WriteFile("C:\\a.txt", "x"));
  EXPECT_EQ(TransferFileInto("C:\\a.txt", "C:\\", true).result, TTransferResult::SameFolder);
  EXPECT_EQ(TransferFileInto("C:\\a.txt", "c:", true).result, TTransferResult::SameFolder);
  EXPECT_TRUE(Files().FileExists("C:\\a.txt"));
  EXPECT_FALSE(Files().FileExists("C:\\a (2).txt"));
}

}  // namespace
}  // namespace tov
