// The bar's options as read from the user store.
#include <gtest/gtest.h>

#include <memory>

#include "tests/ShippedFiles.h"

#include "platform/host/HostPlatform.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "text/LanguageFiles.h"
#include "text/Texts.h"

namespace tov {
namespace {

class Background : public IBarBackground {
 public:
  void DropBackgroundBitmap() override { dropped = true; }
  void SetBackgroundColor(int32_t c) override { color = c; }
  bool dropped = false;
  int32_t color = 0;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { settings.Lingua = "vecchia"; }
  // The stores as the program's start opens them, opened on first use.
  TSettingsStores& Stores() {
    if (!stores) stores = std::make_unique<TSettingsStores>();
    return *stores;
  }
  // The start-up's step: the stores opened, the bar's settings read.
  void StartSettings(IBarBackground* bg = nullptr) {
    stores = std::make_unique<TSettingsStores>();
    ReadBarSettings(stores->User(), settings, bg);
  }
  void Store(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(Stores().User().SetString(section, key, value));
  }
  host::HostPlatform hp;
  std::unique_ptr<TSettingsStores> stores;
  TBarSettings settings;
};

TEST_F(SettingsTest, AFreshFolderGivesTheCatalogueDefaults) {
  Background bg;
  StartSettings(&bg);
  const TBarSettings& b = settings;
  EXPECT_EQ(b.Lingua, "Italiano");
  EXPECT_FALSE(b.AutoStart);
  EXPECT_FALSE(b.AlwaysOnTop);
  EXPECT_FALSE(b.AutoHide);
  EXPECT_TRUE(b.Animate);
  EXPECT_TRUE(b.ShowBevel);
  EXPECT_TRUE(b.FixedBorder);
  EXPECT_FALSE(b.GlassPanel);
  EXPECT_FALSE(b.Borderless);
  EXPECT_FALSE(b.DrawBackground);
  EXPECT_EQ(b.BackgroundColor, int32_t(0x8000000F));
  EXPECT_EQ(b.BackgroundImage, "");
  EXPECT_FALSE(b.CustomMargins);
  EXPECT_EQ(b.MarginWidth, 2);
  EXPECT_EQ(b.MarginHeight, 2);
  EXPECT_TRUE(b.HideLinkExt);
  EXPECT_TRUE(bg.dropped);
  EXPECT_EQ(bg.color, int32_t(0x8000000F));
}

TEST_F(SettingsTest, StoredValuesAndTheBackgroundRules) {
  Store("Interfaccia", "Lingua", "English");
  Store("Pannello", "DrawBackground", "True");
  Store("Pannello", "BackgroundImage", "C:\\sfondo.bmp");
  Store("Pannello", "BackgroundColor", "255");
  Store("Pannello", "Animate", "no");
  Store("Pulsanti", "HideLinkExt", "0");
  Background bg;
  ReadBarSettings(Stores().User(), settings, &bg);
  EXPECT_EQ(settings.Lingua, "English");
  EXPECT_EQ(settings.BackgroundColor, 255);
  EXPECT_FALSE(settings.Animate);
  EXPECT_FALSE(settings.HideLinkExt);
  EXPECT_FALSE(bg.dropped);
  EXPECT_EQ(bg.color, 0);

  Store("Pannello", "BackgroundImage", "");
  Store("Pulsanti", "HideLinkExt", "5");
  bg = Background{};
  ReadBarSettings(Stores().User(), settings, &bg);
  EXPECT_TRUE(bg.dropped);  // drawn, but without an image
  EXPECT_EQ(bg.color, 0);   // the colour is left alone
  EXPECT_TRUE(settings.HideLinkExt);

  Store("Pannello", "DrawBackground", "False");
  Store("Pannello", "BackgroundImage", "C:\\sfondo.bmp");
  Store("Pulsanti", "HideLinkExt", "True");  // not an integer: the default
  bg = Background{};
  ReadBarSettings(Stores().User(), settings, &bg);
  EXPECT_TRUE(bg.dropped);
  EXPECT_EQ(bg.color, int32_t(0x8000000F));
  EXPECT_TRUE(settings.HideLinkExt);
}

#if TOVIRA_HOST
// The shipped template: every key of the catalogue with a type its getter reads.
TEST_F(SettingsTest, TheShippedTemplateDeclaresTheCatalogue) {
  std::string tpl;
  ASSERT_TRUE(tov::testing::ReadSourceFile("data/Config/Settings.tpl", &tpl));
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Programmi\\Tovira\\Config"));
  ASSERT_TRUE(Files().WriteFile("C:\\Programmi\\Tovira\\Config\\Settings.tpl", tpl));
  stores.reset();
  StartSettings();
  TSettingsStore& s = Stores().User();
  ASSERT_TRUE(s.HasTemplate());
  const char* bools[][2] = {{"Interfaccia", "AutoStart"}, {"Pannello", "AlwaysOnTop"}, {"Pannello", "AutoHide"},
                            {"Pannello", "Animate"},      {"Pannello", "ShowBevel"},   {"Pannello", "FixedBorder"},
                            {"Pannello", "GlassPanel"},   {"Pannello", "Borderless"},  {"Pannello", "DrawBackground"},
                            {"Pannello", "CustomMargins"}};
  for (auto& k : bools)
    EXPECT_EQ(s.GetFieldType(k[0], k[1]), stBool) << k[1];
  EXPECT_EQ(s.GetFieldType("Interfaccia", "Lingua"), stFixedChoice);
  EXPECT_EQ(s.GetFieldType("Pannello", "BackgroundColor"), stColor);
  EXPECT_EQ(s.GetFieldType("Pannello", "BackgroundImage"), stFile);
  EXPECT_EQ(s.GetFieldType("Pannello", "MarginWidth"), stInteger);
  EXPECT_EQ(s.GetFieldType("Pannello", "MarginHeight"), stInteger);
  EXPECT_EQ(s.GetFieldType("Pulsanti", "HideLinkExt"), stInteger);
  EXPECT_EQ(s.GetFieldType("Generale", "FolderSource"), stDirectory);
  EXPECT_EQ(s.GetFieldType("Avvio", "UserDir"), stChoice);
  // Its defaults agree with the catalogue's.
  const TBarSettings& b = settings;
  EXPECT_EQ(b.Lingua, "Italiano");
  EXPECT_TRUE(b.Animate && b.ShowBevel && b.FixedBorder);
  EXPECT_FALSE(b.AutoHide || b.GlassPanel || b.DrawBackground || b.CustomMargins);
  EXPECT_EQ(b.BackgroundColor, int32_t(0x8000000F));
  EXPECT_EQ(b.MarginWidth, 2);
  EXPECT_TRUE(b.HideLinkExt);
  EXPECT_EQ(Stores().App().GetString("Avvio", "UserDir", "x"), "<UserAppData>");
}

// Both shipped language files caption every key of the shipped template.
TEST_F(SettingsTest, TheShippedLanguageFilesCaptionTheTemplate) {
  auto read = [](const char* rel) {
    std::string bytes;
    tov::testing::ReadSourceFile(std::string("data/") + rel, &bytes);
    return bytes;
  };
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Programmi\\Tovira\\Config"));
  ASSERT_TRUE(Files().WriteFile("C:\\Programmi\\Tovira\\Config\\Settings.tpl", read("Config/Settings.tpl")));
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\Programmi\\Tovira\\Langs"));
  for (const char* lang : {"English", "Italiano"}) {
    std::string bytes = read((std::string("Langs/") + lang + ".lng").c_str());
    ASSERT_FALSE(bytes.empty()) << lang;
    ASSERT_TRUE(Files().WriteFile(std::string("C:\\Programmi\\Tovira\\Langs\\") + lang + ".lng", bytes));
  }
  stores.reset();
  TSettingsStore& s = Stores().User();
  for (const char* lang : {"English", "Italiano"}) {
    LoadMessageTable(LanguageFilePath(lang));
    for (const std::string& section : s.TemplateSections()) {
      EXPECT_NE(LangText("Config." + section, ""), "") << lang << " " << section;
      for (const std::string& key : s.TemplateSectionKeys(section)) {
        EXPECT_NE(s.FieldCaption(section, key), section + "." + key) << lang << " " << key;
        EXPECT_NE(s.FieldHint(section, key), "") << lang << " " << key;
      }
    }
  }
  LoadMessageTable(LanguageFilePath("English"));
  EXPECT_EQ(LangText("Message.Error", "Errore"), "Error");
  FreeMessageTable();
}
#endif

}  // namespace
}  // namespace tov
