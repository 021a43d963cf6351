// Window positions kept in the settings store's INI file.
#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "toolkit/FormHelpers.h"

namespace tov {
namespace {

TEST(FormPlacement, KeepsBoundsInTheStoresFileUnderTheFormNameBeforeItsUnderscore) {
  host::HostPlatform hp;
  TSettingsStore store("C:\\Dati\\Config\\", "Brenvoll\\Tovira", "");
  Component form(ComponentKind::Form, "FormImpostazioni_1");
  Component& placement = form.Add(ComponentKind::FormPlacement, "Placement");
  EXPECT_FALSE(SaveFormPlacement(placement, form));  // not bound yet
  BindFormPlacement(store, placement, form);
  EXPECT_EQ(placement.Property("IniFileName"), store.IniFileName());
  EXPECT_EQ(placement.Property("IniSection"), "FormImpostazioni");

  Rect design = form.bounds = BoundsRect(10, 20, 300, 200);
  Component other(ComponentKind::Form, "FormImpostazioni");
  EXPECT_FALSE(RestoreFormPlacement(placement, other));  // nothing stored yet
  EXPECT_EQ(other.bounds, Rect{});
  ASSERT_TRUE(SaveFormPlacement(placement, form));
  EXPECT_EQ(store.GetInteger("FormImpostazioni", "Width", 0), 300);
  ASSERT_TRUE(RestoreFormPlacement(placement, other));
  EXPECT_EQ(other.bounds, design);

  // Unusable values leave the form as it is.
  ASSERT_TRUE(store.SetString("FormImpostazioni", "Height", "0"));
  other.bounds = Rect{};
  EXPECT_FALSE(RestoreFormPlacement(placement, other));
  EXPECT_EQ(other.bounds, Rect{});
}

}  // namespace
}  // namespace tov
