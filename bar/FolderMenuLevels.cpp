#include "bar/FolderMenuLevels.h"

#include <algorithm>

#include "base/Casefold.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

bool HasLinkExt(const std::string& name) {
  return name.size() >= 4 && UpperCaseText(name.substr(name.size() - 4)) == ".LNK";
}

bool InChain(const std::vector<std::string>& chain, const std::string& real) {
  return std::any_of(chain.begin(), chain.end(), [&](const std::string& c) { return SameNameIgnoringCase(c, real); });
}

}  // namespace

bool ShownUnderHiddenSetting(const FindEntry& e, int hiddenShown) {
  const bool hidden = (e.attributes & kAttrHidden) != 0, system = (e.attributes & kAttrSystem) != 0;
  if (hidden && system) return hiddenShown >= 2;
  if (hidden) return hiddenShown >= 1;
  return true;
}

std::vector<std::string> ChainWith(std::vector<std::string> chain, const std::string& folder) {
  const std::string real = Files().FinalPath(folder);
  chain.push_back(real.empty() ? folder : real);
  return chain;
}

std::vector<TMenuLevelEntry> ListMenuLevel(const std::string& folder, const std::vector<std::string>& chain,
                                           const TMenuLevelRules& rules) {
  std::vector<TMenuLevelEntry> out;
  const std::vector<FindEntry> entries = Files().FindFiles(JoinPath(folder, "*"));
  out.reserve(entries.size());
  for (const FindEntry& e : entries) {
    if (e.name == "." || e.name == ".." || !ShownUnderHiddenSetting(e, rules.hiddenShown)) continue;
    TMenuLevelEntry item;
    item.name = e.name;
    item.caption = rules.hideLinkExt && HasLinkExt(e.name) ? e.name.substr(0, e.name.size() - 4) : e.name;
    if (item.caption.empty()) continue;
    item.path = JoinPath(folder, e.name);
    std::string opens;
    if (e.IsDirectory()) {
      opens = item.path;
    } else if (HasLinkExt(e.name) && rules.linkTarget) {
      const std::string target = rules.linkTarget(item.path);
      if (!target.empty() && Files().DirExists(target)) opens = target;
    }
    if (!opens.empty()) {
      // A real path already above (or this very folder) would loop.
      const std::string real = Files().FinalPath(opens);
      if (!InChain(chain, real.empty() ? opens : real)) item.folder = opens;
    }
    out.push_back(std::move(item));
  }
  return out;
}

}  // namespace tov
