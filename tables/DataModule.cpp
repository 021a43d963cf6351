#include "tables/DataModule.h"

#include "tables/DamagedTableFile.h"

namespace tov {

namespace {

// The data module that began the session of table files; none between sessions.
const TDataModule* sessionOwner = nullptr;

// The appearance columns both tables share, in their order.
void DefineAppearanceColumns(TRecordTable& t, bool withRealTime) {
  t.AddFieldDef("Width", ftInteger);
  t.AddFieldDef("Height", ftInteger);
  t.AddFieldDef("Color", ftInteger);
  t.AddFieldDef("LightColor", ftInteger);
  t.AddFieldDef("ShadowColor", ftInteger);
  t.AddFieldDef("HotTrackColor", ftInteger);
  t.AddFieldDef("FontName", ftString, 64);
  t.AddFieldDef("FontColor", ftInteger);
  t.AddFieldDef("FontStyle", ftInteger);
  t.AddFieldDef("FontSize", ftInteger);
  if (withRealTime) t.AddFieldDef("RealTime", ftBoolean);
  t.AddFieldDef("SelFontName", ftString, 64);
  t.AddFieldDef("SelFontColor", ftInteger);
  t.AddFieldDef("SelFontStyle", ftInteger);
  t.AddFieldDef("SelFontSize", ftInteger);
  t.AddFieldDef("ShowText", ftBoolean);
  t.AddFieldDef("AutoSize", ftBoolean);
  t.AddFieldDef("WordWrap", ftBoolean);
  t.AddFieldDef("ButtonStyle", ftInteger);
  t.AddFieldDef("FolderMenu", ftBoolean);
  t.AddFieldDef("HotTrack", ftBoolean);
  t.AddFieldDef("TextAlignment", ftInteger);
  t.AddFieldDef("ImgLayout", ftInteger);
  t.AddFieldDef("SmallIcon", ftBoolean);
  t.AddFieldDef("Type", ftString, 16);
  t.AddFieldDef("ShowIcon", ftBoolean);
  t.AddFieldDef("Hotkey", ftString, 16);
}

}  // namespace

void DefineLinkColumns(TRecordTable& t) {
  t.ClearFieldDefs();
  t.AddFieldDef("Ordine", ftInteger);
  t.AddFieldDef("Caption", ftString, 256);
  t.AddFieldDef("Path", ftString, 4096);
  DefineAppearanceColumns(t, true);
  t.CreateTable();
}

void DefineThemeColumns(TRecordTable& t) {
  t.ClearFieldDefs();
  t.AddFieldDef("Theme", ftString, 32);
  DefineAppearanceColumns(t, false);
  t.CreateTable();
}

TDataModule::TDataModule() {
  CreateTables();
  if (!sessionOwner) {
    sessionOwner = this;
    // A new session: no table file has been found unreadable yet.
    ForgetGuardedTableFiles();
  }
}

TDataModule::~TDataModule() {
  if (sessionOwner == this) {
    sessionOwner = nullptr;
    ForgetGuardedTableFiles();
  }
}

bool TDataModule::BeganSession() const { return sessionOwner == this; }

void TDataModule::CreateTables() {
  DefineLinkColumns(TblLinks);
  DefineThemeColumns(TblThemes);
}

}  // namespace tov
