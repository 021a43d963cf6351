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

namespace {

// The menu's entry for e in folder; false for one the menu leaves out.
bool LevelEntry(const FindEntry& e, const std::string& folder, const std::vector<std::string>& chain,
                const TMenuLevelRules& rules, TMenuLevelEntry* item) {
  if (e.name == "." || e.name == ".." || !ShownUnderHiddenSetting(e, rules.hiddenShown)) return false;
  item->name = e.name;
  item->caption = rules.hideLinkExt && HasLinkExt(e.name) ? e.name.substr(0, e.name.size() - 4) : e.name;
  if (item->caption.empty()) return false;
  item->path = JoinPath(folder, e.name);
  item->folder.clear();
  std::string opens;
  if (e.IsDirectory()) {
    opens = item->path;
  } else if (HasLinkExt(e.name) && rules.linkTarget) {
    const std::string target = rules.linkTarget(item->path);
    if (!target.empty() && Files().DirExists(target)) opens = target;
  }
  if (!opens.empty()) {
    // A real path already above (or this very folder) would loop.
    const std::string real = Files().FinalPath(opens);
    if (!InChain(chain, real.empty() ? opens : real)) item->folder = opens;
  }
  return true;
}

}  // namespace

std::vector<TMenuLevelEntry> ListMenuLevel(const std::string& folder, const std::vector<std::string>& chain,
                                           const TMenuLevelRules& rules) {
  std::vector<TMenuLevelEntry> out;
  const std::vector<FindEntry> entries = Files().FindFiles(JoinPath(folder, "*"));
  out.reserve(entries.size());
  for (const FindEntry& e : entries) {
    TMenuLevelEntry item;
    if (LevelEntry(e, folder, chain, rules, &item)) out.push_back(std::move(item));
  }
  return out;
}

TMenuLevelListing::TMenuLevelListing(const std::string& folder, std::vector<std::string> chain, TMenuLevelRules rules)
    : folder_(folder),
      chain_(std::move(chain)),
      rules_(std::move(rules)),
      find_(Files().StartFind(JoinPath(folder, "*"))) {}

bool TMenuLevelListing::Next(size_t count, std::vector<TMenuLevelEntry>* out) {
  FindEntry e;
  for (size_t added = 0; find_ && added < count;) {
    if (!find_->Next(&e)) {
      find_.reset();
      break;
    }
    TMenuLevelEntry item;
    if (!LevelEntry(e, folder_, chain_, rules_, &item)) continue;
    out->push_back(std::move(item));
    ++added;
  }
  return find_ != nullptr;
}

}  // namespace tov
