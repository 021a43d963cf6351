// tovira-tool crypt: protected setting values, as the settings file stores
// them, under a given key file.
#include <cstdio>

#include "settings/ProtectedValue.h"
#include "settings/SecHash.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

int Crypt(const std::vector<std::string>& args) {
  if (args.size() != 3 || (args[0] != "encrypt" && args[0] != "decrypt"))
    return Fail("usage: crypt encrypt KEYFILE TEXT | crypt decrypt KEYFILE LETTERS");
  const std::string& keyFile = args[1];
  const std::string& text = args[2];
  try {
    std::string out;
    if (args[0] == "encrypt") {
      out = EncipherProtectedValue(text, keyFile);
    } else {
      if (text.find_first_not_of("abcdefghijklmnop") != std::string::npos)
        return Fail("not a protected value (letters \"a\" to \"p\" only): " + text);
      out = DecipherProtectedValue(text, keyFile);
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
  } catch (const ESecHashException&) {
    return Fail("cannot read key file " + keyFile);
  }
}

}  // namespace

TOVIRA_TOOL_COMMAND("crypt", "crypt encrypt KEYFILE TEXT | crypt decrypt KEYFILE LETTERS", Crypt);

}  // namespace tov::tool
