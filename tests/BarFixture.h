// The whole bar on the headless platform, started and stopped as the entry
// point does, with helpers that prepare its button list.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bar/BarWindow.h"
#include "controls/ButtonTable.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov::testing {

// The links folder of a first start.
inline const char* const kBarLinks = "C:\\Users\\utente\\AppData\\Roaming\\tovira\\ToolbarLinks\\";

struct BarFixture : ::testing::Test {
  BarFixture() {
    for (const char* dir : {"C:\\Uno\\", "C:\\Due\\"})
      InstallShippedFiles(hp, dir);
    hp.Files().SetExePath("C:\\Uno\\tovira.exe");
  }
  // Starts the program as the entry point does, up to an idle message loop.
  TBarWindow& Start() { return program.Start(); }
  void Stop() { program.Stop(); }
  std::string Slot(int i) {
    RegValue v;
    return Registry().ReadValue(kInstanceRootKey, InstanceValueName(i), &v) ? v.AsString() : "";
  }
  void PrepareButtons(const std::vector<std::pair<std::string, std::string>>& rows) {
    TDataModule scratch;
    int i = 0;
    for (const auto& [caption, type] : rows) {
      if (type == "Button")
        AddButtonRow(scratch.TblLinks, i++, caption, std::string(kBarLinks) + caption + ".lnk");
      else
        AddSeparatorRow(scratch.TblLinks, i++, "*Separator*");
    }
    // Buttons of the fixed size 92 x 21, so the layout's arithmetic shows.
    TRecordTable& t = scratch.TblLinks;
    for (t.First(); !t.Eof(); t.Next()) {
      t.Edit();
      t.FieldByName("AutoSize").SetAsBoolean(false);
      t.Post();
    }
    SaveButtonList(scratch.TblLinks, kBarLinks, scratch.SaveFormat);
  }
  // The first start (it makes the links folder), then a start on the buttons
  // rows gives, as PrepareButtons writes them.
  void StartOn(const std::vector<std::pair<std::string, std::string>>& rows) {
    Start();
    Stop();
    PrepareButtons(rows);
    Start();
  }
  // Saves a list of one button with a folder menu on folder.
  void PrepareFolderMenu(const std::string& caption, const std::string& folder) {
    TDataModule scratch;
    AddButtonRow(scratch.TblLinks, 0, caption, folder);
    scratch.TblLinks.Edit();
    scratch.TblLinks.FieldByName("FolderMenu").SetAsBoolean(true);
    scratch.TblLinks.Post();
    SaveButtonList(scratch.TblLinks, kBarLinks, scratch.SaveFormat);
  }
  // The captions of the button list as saved in the links folder, in its order.
  std::vector<std::string> Saved() {
    TDataModule saved;
    LoadButtonList(saved.TblLinks, std::string(kBarLinks) + "ButtonList.lob", saved.SaveFormat);
    std::vector<std::string> out;
    for (saved.TblLinks.First(); !saved.TblLinks.Eof(); saved.TblLinks.Next())
      out.push_back(saved.TblLinks.FieldByName("Caption").AsString());
    return out;
  }
  // A client point as a mouse message carries it.
  static intptr_t At(Point p) { return intptr_t((uint32_t(uint16_t(p.y)) << 16) | uint16_t(p.x)); }
  static Point Middle(const Rect& r) { return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  Rect Position(size_t i) { return bar->PositionRects().at(i); }
  // Clicks the middle of button i, as the mouse does.
  void Click(size_t i) {
    const Point p = Middle(bar->Button(i).BoundsRect());
    Win().Send(WM_LBUTTONDOWN, 1, At(p));
    Win().Send(WM_LBUTTONUP, 0, At(p));
  }
  host::HostWindow& Win() { return *hp.Windows().Find(bar->Handle()); }
  // The bar's buttons by their hints, in the order they stand.
  std::vector<std::string> Hints() {
    std::vector<std::string> out;
    for (size_t i = 0; i < bar->ButtonCount(); ++i)
      out.push_back(bar->Button(i).hint);
    return out;
  }
  host::HostPlatform hp;
  HeadlessBar program{hp};  // gone before the platform it runs on
  std::unique_ptr<TDataModule>& dc = program.dc;
  std::unique_ptr<TBarWindow>& bar = program.bar;
};

}  // namespace tov::testing
