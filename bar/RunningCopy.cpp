#include "bar/RunningCopy.h"

#include "bar/BarWindow.h"
#include "base/Casefold.h"
#include "base/Strings.h"
#include "platform/Platform.h"
#include "settings/SecHash.h"

namespace tov {

namespace {

std::string PathDigest(const std::string& exePath) {
  std::string folded = UpperCaseText(exePath);
  for (char& c : folded)
    if (c == '/') c = '\\';
  return DigestHex(TSecHash::HashBytes(folded));
}

}  // namespace

std::string CopyClaimName(const std::string& exePath) { return "Local\\Brenvoll.Tovira." + PathDigest(exePath); }

std::string CopyWakeMessageName(const std::string& exePath) { return "Brenvoll.Tovira.Wake." + PathDigest(exePath); }

TRunningCopy::TRunningCopy(const std::string& exePath) : exePath_(exePath), name_(CopyClaimName(exePath)) {
  if (Sys().instances) claim_ = Instances().ClaimName(name_);
}

TRunningCopy::~TRunningCopy() {
  if (claim_ == ClaimResult::Claimed && Sys().instances) Instances().ReleaseName(name_);
}

void TRunningCopy::WakeRunningBar() {
  if (!Sys().instances) return;
  const uint32_t wake = Instances().RegisterMessage(CopyWakeMessageName(exePath_));
  if (wake == 0) return;
  Instances().AllowOthersForeground();
  Instances().PostToAll(wake, 0, 0);
}

// ------------------------------------------------- the bar, woken by a second start

void TBarWindow::ListenForSecondStarts() {
  if (Sys().instances) wakeMessage_ = Instances().RegisterMessage(CopyWakeMessageName(Files().ExePath()));
}

void TBarWindow::ComeForward() {
  if (!HandleAllocated()) return;
  if (!Visible()) Show();
  // A bar hidden at its edge slides out, and stays out while it is active.
  ShowHiddenAppBar(true);
  Window().BringToForeground();
}

}  // namespace tov
