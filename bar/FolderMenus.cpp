#include "bar/FolderMenus.h"

#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/ShellImages.h"
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
    item.Bind("OnClick", "FolderItemClick", [this](Component& sender) { ItemClick(sender); });
  }
  return menu;
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
    item.tag = TCustomButtonStyle::PathIconIndex(path->second) + 1;
    item.properties.erase(path);
  }
  MenuItemDrawing drawing;
  const TImageList* small = SharedImageList(true);
  drawing.images = small ? small->handle : 0;
  drawing.getImageIndex = &TFolderMenus::GetFolderImageIndex;
  drawing.measureItem = &TFolderMenus::PopupFolderMeasureItem;
  // The menu stays alive while it shows, even when something handled
  // meanwhile (the shell moving the bar) rebuilds the bar and its menus.
  const std::shared_ptr<Component> shown = menu;
  PopupComponentMenu(*shown, Point{p.x + offset.x, p.y + offset.y}, window_.Handle(), &drawing);
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
  Component* menu = item.Parent();
  if (!menu) return;
  TRecordTable& links = links_;
  if (!links.Locate("Ordine", std::to_string(menu->tag))) return;
  const std::string folder = ResolveLinkTarget(links.FieldByName("Path").AsString());
  if (folder.empty()) return;
  OpenTarget(window_.Handle(), JoinPath(folder, item.Property(kFileNameProperty)), item.caption);
}

void TFolderMenus::GetFolderImageIndex(Component& item, int& imageIndex) {
  if (item.tag > 0) imageIndex = int(item.tag) - 1;
}

void TFolderMenus::PopupFolderMeasureItem(Component&, int& height) { height += 5; }

}  // namespace tov
