#include "controls/Appearance.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/Casefold.h"
#include "controls/Colors.h"
#include "files/ProgramFolders.h"
#include "platform/Platform.h"

namespace tov {

// Amounts beyond a channel's range are cut first, so that no sum overflows.
Color Lighter(Color color, int amount) {
  amount = std::clamp(amount, -255, 255);
  auto up = [amount](uint8_t c) { return uint8_t(std::clamp(int(c) + amount, 0, 255)); };
  return RGB(up(RedOf(color)), up(GreenOf(color)), up(BlueOf(color)));
}

Color Darker(Color color, int amount) {
  Color c = ColorToRGB(color);
  amount = std::clamp(amount, -255, 255);
  auto down = [amount](uint8_t v) { return uint8_t(std::clamp(int(v) - amount, 0, 255)); };
  return RGB(down(RedOf(c)), down(GreenOf(c)), down(BlueOf(c)));
}

namespace {

struct CacheEntry {
  std::string key;
  std::unique_ptr<Picture> picture;
};

std::vector<CacheEntry>& Cache() {
  static std::vector<CacheEntry> cache;
  return cache;
}

std::string PicturePath(const std::string& name, const char* ext) { return AppSubDir("pics") + name + ext; }

// Reads and decodes a picture file; null when it is missing or unreadable.
const Picture* LoadFile(const std::string& key, const std::string& path) {
  if (!Files().FileExists(path)) return nullptr;
  std::string bytes;
  IImageCodec* codec = Canvases().ImageCodec();
  if (!codec || !Files().ReadFile(path, &bytes)) return nullptr;
  auto p = std::make_unique<Picture>();
  std::string error;
  if (!codec->Decode(bytes, p.get(), &error)) return nullptr;
  Cache().push_back(CacheEntry{key, std::move(p)});
  return Cache().back().picture.get();
}

}  // namespace

const Picture* CachedPicture(const std::string& key) {
  for (const CacheEntry& e : Cache()) {
    if (SameNameIgnoringCase(e.key, key)) return e.picture.get();
  }
  return nullptr;
}

void FreePictureCache() { Cache().clear(); }

const Picture* LoadPng(const std::string& name) {
  const std::string key = "PNG." + name;
  if (const Picture* p = CachedPicture(key)) return p;
  return LoadFile(key, PicturePath(name, ".png"));
}

const Picture* LoadPicture(const std::string& name, bool preferPng) {
  if (const Picture* p = CachedPicture(name)) return p;
  if (preferPng && Files().FileExists(PicturePath(name, ".png"))) return LoadPng(name);
  return LoadFile(name, PicturePath(name, ".bmp"));
}

void SetPngButtonImages(Component& button, const std::string& name) {
  const std::pair<const char*, std::string> images[] = {
      {kPngImageProperty, name}, {kPngImageOverProperty, name + "_Over"}, {kPngImageDownProperty, name + "_Down"}};
  for (const auto& [property, file] : images) {
    if (LoadPng(file)) button.properties[property] = "PNG." + file;
  }
  button.Changed();
}

void SetButtonPicture(Component& button, const std::string& name, int glyphCount) {
  const std::string cls = button.ClassName();
  if (cls == "TPNGButton") {
    SetPngButtonImages(button, name);
    return;
  }
  static const char* const kBitmapButtons[] = {"TBitBtn",     "TSpeedButton",     "TRxSpeedButton",
                                               "TFlatButton", "TFlatSpeedButton", "TSpeedItem"};
  if (std::none_of(std::begin(kBitmapButtons), std::end(kBitmapButtons), [&](const char* c) { return cls == c; }))
    return;
  if (LoadPicture(name, false)) {
    button.properties[kGlyphProperty] = name;
  } else {
    button.properties.erase(kGlyphProperty);
  }
  button.properties[kNumGlyphsProperty] = std::to_string(glyphCount);
  button.Changed();
}

void SetFlatPanelColors(Component& panel, Color color, int amount) {
  panel.properties["Color"] = std::to_string(color);
  panel.properties["ColorHighLight"] = std::to_string(Lighter(color, amount));
  panel.properties["ColorShadow"] = std::to_string(Darker(color, amount));
  panel.Changed();
}

void TrimMenu(Component& item, int count, bool fromEnd) {
  const int n = int(item.ChildCount());
  count = std::max(count, 0);
  // Freed from the last to the first, so the positions still to go stay put.
  if (fromEnd) {
    for (int i = n - count - 1; i >= 0; --i)
      item.Remove(item.Child(size_t(i)));
  } else {
    for (int i = n - 1; i >= count; --i)
      item.Remove(item.Child(size_t(i)));
  }
}

void ClearMenu(Component& item) { TrimMenu(item, 0, false); }

Component& AddMenuItem(Component* owner, Component& parent, const std::string& name, const std::string& caption,
                       EventFn onClick, intptr_t tag, int position) {
  auto item = MakeComponent(ComponentKind::MenuItem, name, caption);
  item->tag = tag;
  if (onClick) item->Bind("OnClick", name + "Click", std::move(onClick));
  if (owner) item->SetOwner(owner);
  return parent.Add(std::move(item), position);
}

Component& AddMenuSeparator(Component& parent, Component* owner) {
  auto item = MakeComponent(ComponentKind::MenuItem, std::string(), "-");
  if (owner) item->SetOwner(owner);
  return parent.Add(std::move(item));
}

}  // namespace tov
