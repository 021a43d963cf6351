// One copy of the program is the executable at one path; its bar runs at
// most once. A second start of a copy that runs already asks the running bar
// to come forward and ends before it makes a window or an application bar.
// Copies in other folders run side by side, each in its own instance slot.
//
// A copy is named after its executable's path as Windows compares paths
// (letters in one case, "/" read as "\"), hashed: the names of mutexes may
// not hold backslashes.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Instances.h"

namespace tov {

// "Local\Brenvoll.Tovira." + 40 hexadecimal digits: held while the bar runs.
std::string CopyClaimName(const std::string& exePath);
// The message a second start posts to the running bar of its copy.
std::string CopyWakeMessageName(const std::string& exePath);

class TRunningCopy {
 public:
  // Claims the copy at exePath for this process.
  explicit TRunningCopy(const std::string& exePath);
  ~TRunningCopy();  // gives the claim back
  TRunningCopy(const TRunningCopy&) = delete;
  TRunningCopy& operator=(const TRunningCopy&) = delete;

  // Another process runs this copy. A claim the system could not answer is
  // not taken for one: the bar then starts as it always did.
  bool RunsElsewhere() const { return claim_ == ClaimResult::HeldElsewhere; }
  // Lets the running bar take the foreground and posts it the wake message.
  void WakeRunningBar();

 private:
  std::string exePath_;
  std::string name_;
  ClaimResult claim_ = ClaimResult::Failed;
};

}  // namespace tov
