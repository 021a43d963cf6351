#include "bar/FolderMenus.h"

#include <algorithm>
#include <map>

#include "bar/FolderMenuLevels.h"
#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/IconLoader.h"
#include "files/FileHelpers.h"
#include "formats/ShortcutFiles.h"
#include "settings/Settings.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/PopupMenu.h"

namespace tov {

namespace {

const char* const kFileNameProperty = "FileName";  // the entry a folder-menu item opens
const char* const kIconPathProperty = "IconPath";  // the entry whose icon it shows, until looked up
// Items of the levels below the first: the entry an item opens, the folder
// an item's sub-menu lists and the real paths of the folders above it.
const char* const kFullPathProperty = "FullPath";
const char* const kSubFolderProperty = "SubFolder";
const char* const kChainProperty = "Chain";
constexpr char kChainSeparator = '|';  // never in a path
// A right click on an item shows the shell's menu for this path.
const char* const kShellPathProperty = "ShellPath";
// An item shows the icon of the entry it opens (its shell path) at the
// menu's scale, and the items of one kind of file share one icon (read by
// the pop-up menu).
const char* const kFileIconProperty = "FileIcon";
const char* const kIconKindProperty = "IconKind";

// The item shows its entry's icon, unless the entry is hidden or a system
// one; files of one kind share the icon of the first of them drawn.
void SetItemIcon(Component& item, const std::string& kind, bool shows) {
  if (!shows) return;
  item.properties[kFileIconProperty] = "True";
  if (!kind.empty()) item.properties[kIconKindProperty] = kind;
}

// The kind of file whose icon every file of it shares (its extension in
// capitals); empty for files that carry icons of their own (programs,
// shortcuts, icons, libraries of them) and for names without an extension.
std::string IconKind(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return std::string();
  const std::string ext = UpperCaseText(name.substr(dot + 1));
  for (const char* own : {"EXE", "LNK", "ICO", "CUR", "ANI", "URL", "SCR", "CPL", "MSC", "PIF"})
    if (ext == own) return std::string();
  return ext;
}

std::string JoinChain(const std::vector<std::string>& chain) {
  std::string out;
  for (const std::string& c : chain)
    out += (out.empty() ? "" : std::string(1, kChainSeparator)) + c;
  return out;
}

std::vector<std::string> SplitChain(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find(kChainSeparator, at), text.size());
    out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

bool HasLinkExtension(const std::string& name) {
  return name.size() >= 4 && UpperCaseText(name.substr(name.size() - 4)) == ".LNK";
}

}  // namespace

void OpenButtonTarget(TRecordTable& links, WindowId owner, const TLbSpeedButton& button) {
  if (!links.Locate("Ordine", std::to_string(button.tag))) return;
  OpenTarget(owner, links.FieldByName("Path").AsString(), button.Caption());
}

bool OpenTarget(WindowId owner, const std::string& path, const std::string& name) {
  if (Shell().Open(owner, path, "", "")) return true;
  // Told once, for this click: what could not be opened, and the system's
  // reason when it gave one.
  std::string reason = Shell().LastOpenError();
  if (reason.empty())
    reason = Files().FileExists(path) || Files().DirExists(path)
                 ? LangText("MsgErr.OpenRefused", "il sistema non sa aprirlo")
                 : LangText("MsgErr.OpenMissing", "non esiste");
  ErrorMessage(FormatText(LangText("MsgErr.OpenFailed", "\"%s\" non si apre: \"%s\" (%s)."), {name, path, reason}));
  return false;
}

TFolderMenus::TFolderMenus(TAppBar& window, TButtonHost& buttons, TRecordTable& links, const TBarSettings& settings)
    : window_(window), buttons_(buttons), links_(links), settings_(settings) {}

std::string TFolderMenus::ResolveLinkTarget(const std::string& path) {
  if (!HasLinkExtension(path)) return path;
  const std::string target = ReadShortcutTarget(window_.Handle(), path);
  return target.empty() ? path : target;
}

void TFolderMenus::Build(size_t positions) {
  menus_.reset();
  pending_.clear();
  menus_.emplace(positions);
  TRecordTable& links = links_;
  for (size_t i = 0; i < buttons_.ButtonCount(); ++i) {
    TLbSpeedButton& button = buttons_.Button(i);
    if (button.tag < 0 || !links.Locate("Ordine", std::to_string(button.tag))) continue;
    TCustomButtonStyle style;
    style.LoadFromRow(links);
    std::unique_ptr<Component> menu = BuildMenu(button, style);
    if (!menu) continue;
    if (size_t(button.tag) >= menus_->size()) menus_->resize(size_t(button.tag) + 1);
    (*menus_)[size_t(button.tag)] = std::move(menu);
    if (style.FolderMenu) button.OnClick = [this](TLbSpeedButton& sender) { Popup(sender); };
  }
}

std::unique_ptr<Component> TFolderMenus::BuildMenu(TLbSpeedButton& button, const TCustomButtonStyle& style) {
  if (!style.FolderMenu) return nullptr;
  const std::string folder = ResolveLinkTarget(style.Path);
  if (folder.empty() || !Files().DirExists(folder)) return nullptr;
  auto menu = MakeComponent(ComponentKind::PopupMenu, "PopFolderMenu" + std::to_string(button.tag));
  menu->tag = button.tag;
  const bool hideLinkExt = settings_.HideLinkExt;
  const std::vector<FindEntry> entries = Files().FindFiles(JoinPath(folder, "*"));
  const std::vector<std::string> chain = ChainWith({}, folder);
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string& name = entries[i].name;
    std::string caption = name;
    if (hideLinkExt && HasLinkExtension(name)) caption = name.substr(0, name.size() - 4);
    if (caption.empty() || caption == "." || caption == "..") continue;
    // The entry's icon is looked up when the menu is first shown, not while
    // the bar is laid out.
    Component& item = menu->Add(
        MakeComponent(ComponentKind::MenuItem, "Pop" + std::to_string(button.tag) + "_" + std::to_string(i), caption));
    item.tag = 0;
    item.properties[kIconPathProperty] = JoinPath(folder, name);
    item.properties[kFileNameProperty] = name;
    item.properties[kShellPathProperty] = JoinPath(folder, name);
    // A sub-folder, or a shortcut to a folder, cascades (unless it loops back).
    std::string sub;
    if (entries[i].IsDirectory())
      sub = JoinPath(folder, name);
    else if (HasLinkExtension(name))
      if (const std::string target = ResolveLinkTarget(JoinPath(folder, name)); Files().DirExists(target)) sub = target;
    const std::string real = sub.empty() ? std::string() : Files().FinalPath(sub);
    if (!sub.empty() && !SameNameIgnoringCase(real.empty() ? sub : real, chain.back())) {
      MakeCascading(item, sub, chain);
      continue;
    }
    item.Bind("OnClick", "FolderItemClick", [this](Component& sender) { ItemClick(sender); });
  }
  return menu;
}

void TFolderMenus::MakeCascading(Component& item, const std::string& folder, const std::vector<std::string>& chain) {
  item.properties[kSubFolderProperty] = folder;
  item.properties[kChainProperty] = JoinChain(chain);
  item.Bind("OnExpand", "FolderItemExpand", [this](Component& sender) { Expand(sender); });
}

void TFolderMenus::Expand(Component& item) {
  if (item.ChildCount() > 0) return;  // made once, when first opened
  const std::string folder = item.Property(kSubFolderProperty);
  const std::vector<std::string> chain = ChainWith(SplitChain(item.Property(kChainProperty)), folder);
  // The folder itself first, then its entries.
  Component& open = item.Add(MakeComponent(ComponentKind::MenuItem, item.name + "_Apri",
                                           LangText("Messages.OpenThisFolder", "Apri questa cartella")));
  SetItemIcon(open, std::string(), PathShowsIcon(folder));
  open.properties[kFullPathProperty] = folder;
  open.properties[kShellPathProperty] = folder;
  open.Bind("OnClick", "FolderItemClick", [this](Component& sender) { ItemClick(sender); });
  item.Add(MakeComponent(ComponentKind::MenuItem, item.name + "_Sep", "-"));
  TMenuLevelRules rules;
  rules.hideLinkExt = settings_.HideLinkExt;
  rules.hiddenShown = Shell().HiddenFilesShown();
  rules.linkTarget = [this](const std::string& path) { return ResolveLinkTarget(path); };
  TPendingLevel level;
  level.listing = std::make_unique<TMenuLevelListing>(folder, chain, rules);
  level.chain = chain;
  // A level of thousands of entries opens at once: its first screenful is
  // read and made now, the rest in batches while the menu shows (ExpandMore).
  const bool more = AddLevelEntries(item, level, kFirstScreenful);
  if (level.made == 0) {
    Component& none = item.Add(
        MakeComponent(ComponentKind::MenuItem, item.name + "_Vuota", LangText("Messages.EmptyFolder", "(vuota)")));
    none.enabled = false;
  }
  pending_.erase(item.name);
  if (more) {
    pending_[item.name] = std::move(level);
    item.Bind("OnExpandMore", "FolderItemExpandMore", [this](Component& sender) { ExpandMore(sender); });
  }
}

void TFolderMenus::ExpandMore(Component& item) {
  auto level = pending_.find(item.name);
  if (level == pending_.end()) return;
  if (!AddLevelEntries(item, level->second, kLevelBatch)) pending_.erase(level);
}

bool TFolderMenus::AddLevelEntries(Component& item, TPendingLevel& level, size_t count) {
  std::vector<TMenuLevelEntry> batch;
  batch.reserve(count);
  const bool more = level.listing->Next(count, &batch);
  // The icon of a kind of file is looked up once, only files with icons of
  // their own one by one.
  for (const TMenuLevelEntry& e : batch) {
    const size_t i = level.made++;
    Component& c = item.Add(MakeComponent(ComponentKind::MenuItem, item.name + "_" + std::to_string(i), e.caption));
    const std::string kind = e.folder.empty() ? IconKind(e.name) : std::string();
    if (kind.empty()) {
      SetItemIcon(c, kind, PathShowsIcon(e.path));
    } else {
      auto known = level.iconOfKind.find(kind);
      if (known == level.iconOfKind.end()) known = level.iconOfKind.emplace(kind, PathShowsIcon(e.path)).first;
      SetItemIcon(c, kind, known->second != 0);
    }
    c.properties[kFullPathProperty] = e.path;
    c.properties[kShellPathProperty] = e.path;
    if (!e.folder.empty())
      MakeCascading(c, e.folder, level.chain);
    else
      c.Bind("OnClick", "FolderItemClick", [this](Component& sender) { ItemClick(sender); });
  }
  return more;
}

void TFolderMenus::CloseLevels(Component& menu) {
  for (auto& [name, level] : pending_) {
    level.listing->Close();
    // Its entries are made again, from the folder as it is then.
    if (Component* item = menu.Find(name)) {
      item->RemoveChildren();
      item->Unbind("OnExpandMore");
    }
  }
  pending_.clear();
}

void TFolderMenus::Popup(TLbSpeedButton& button) {
  if (!menus_) {
    OpenButtonTarget(links_, window_.Handle(), button);
    return;
  }
  const Point offset = MenuOffset(button);
  const Point p = buttons_.ClientToScreen(Point{button.Left(), button.Top()});
  if (button.tag < 0 || size_t(button.tag) >= menus_->size()) return;
  std::shared_ptr<Component>& menu = (*menus_)[size_t(button.tag)];
  if (menu) {
    TRecordTable& links = links_;
    if (links.Locate("Ordine", std::to_string(button.tag))) {
      TCustomButtonStyle style;
      style.LoadFromRow(links);
      // A real-time menu lists the folder as it is at this very click.
      if (style.RealTime) menu = BuildMenu(button, style);
    }
  }
  if (!menu) return;
  for (size_t i = 0; i < menu->ChildCount(); ++i) {
    Component& item = menu->Child(i);
    auto path = item.properties.find(kIconPathProperty);
    if (path == item.properties.end()) continue;
    SetItemIcon(item, IconKind(item.Property(kFileNameProperty)), PathShowsIcon(path->second));
    item.properties.erase(path);
  }
  // Each item's icon is taken at the menu's scale when it is first drawn:
  // no image list of the system's is made for a menu.
  MenuItemDrawing drawing;
  drawing.measureItem = &TFolderMenus::PopupFolderMeasureItem;
  // The menu stays alive while it shows, even when something handled
  // meanwhile (the shell moving the bar) rebuilds the bar and its menus.
  const std::shared_ptr<Component> shown = menu;
  PopupComponentMenu(*shown, Point{p.x + offset.x, p.y + offset.y}, window_.Handle(), &drawing);
  CloseLevels(*shown);
}

Point TFolderMenus::MenuOffset(const TLbSpeedButton& button) const {
  switch (window_.GetEdge()) {
    case abeLeft:
      return Point{button.Width(), 0};
    case abeTop:
    case abeRight:
      return Point{0, button.Height()};
    default:
      return Point{0, 0};
  }
}

void TFolderMenus::ItemClick(Component& item) {
  if (const std::string full = item.Property(kFullPathProperty); !full.empty()) {
    OpenTarget(window_.Handle(), full, item.caption);
    return;
  }
  Component* menu = item.Parent();
  if (!menu) return;
  TRecordTable& links = links_;
  if (!links.Locate("Ordine", std::to_string(menu->tag))) return;
  const std::string folder = ResolveLinkTarget(links.FieldByName("Path").AsString());
  if (folder.empty()) return;
  OpenTarget(window_.Handle(), JoinPath(folder, item.Property(kFileNameProperty)), item.caption);
}

void TFolderMenus::PopupFolderMeasureItem(Component&, int& height) { height += 5; }

}  // namespace tov
