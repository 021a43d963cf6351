#include "bar/BarHotkeys.h"

#include "base/Strings.h"
#include "text/Texts.h"

namespace tov {

void TBarHotkeys::ReleaseAll(IWindow& window) {
  for (const auto& [id, hotkey] : registered_)
    window.UnregisterHotkey(id);
  registered_.clear();
}

std::vector<std::string> TBarHotkeys::Apply(IWindow& window, const std::vector<HotkeyRequest>& requests) {
  ReleaseAll(window);
  std::vector<std::string> problems;
  auto tell = [&](const std::string& what, const std::string& message) {
    if (told_.insert(what).second) problems.push_back(message);
  };
  for (const HotkeyRequest& r : requests) {
    Hotkey hk;
    std::string why;
    const bool bar = r.owner.empty();
    if (!ParseHotkey(r.text, &hk, &why)) {
      tell("bad|" + r.owner + "|" + r.text,
           bar ? FormatText(LangText("MsgErr.BarHotkeyInvalid",
                                     "La combinazione \"%s\" della barra non \u00E8 valida (ad esempio \"CA+T\")."),
                            {r.text})
               : FormatText(LangText("MsgErr.HotkeyInvalid",
                                     "La combinazione \"%s\" del pulsante \"%s\" non \u00E8 valida (ad esempio "
                                     "\"CA+N\")."),
                            {r.text, r.owner}));
      continue;
    }
    if (hk.Empty()) continue;
    if (!window.RegisterHotkey(r.id, hk.modifiers, hk.key)) {
      tell("taken|" + r.owner + "|" + FormatHotkey(hk),
           bar ? FormatText(LangText("MsgErr.BarHotkeyTaken",
                                     "La combinazione %s della barra \u00E8 gi\u00E0 usata "
                                     "dal sistema o da un altro programma."),
                            {HotkeyDisplayText(hk)})
               : FormatText(LangText("MsgErr.HotkeyTaken",
                                     "La combinazione %s del pulsante \"%s\" \u00E8 gi\u00E0 "
                                     "usata dal sistema o da un altro programma."),
                            {HotkeyDisplayText(hk), r.owner}));
      continue;
    }
    registered_[r.id] = hk;
  }
  return problems;
}

}  // namespace tov
