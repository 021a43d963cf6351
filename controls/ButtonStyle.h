// The appearance of one bar entry: caption, target, size, colours, two fonts,
// drawing style and switches. A style is filled from a row of the button
// table or the theme table, written back to one, and applied to a speed
// button. TCustomButtonStyle stands for a button row, TCustomPanelStyle for
// a separator row (which the bar draws itself).
#pragma once
#include <cstdint>
#include <string>

#include "base/Dpi.h"
#include "controls/Colors.h"
#include "controls/LbSpeedButton.h"
#include "files/ProgramFolders.h"

namespace tov {

class TRecordTable;

enum TCustomButtonStyleKind : uint8_t { cbsDefault = 0, cbsShine = 1, cbsCustomFlat = 2, cbsCustomShine = 3 };

// The font-style column: bit 0 bold, bit 1 italic, bit 2 underline.
int32_t FontStyleToColumn(uint32_t style);
uint32_t FontStyleFromColumn(int32_t value);

// The side in pixels of a button's icon at a scale: small icons 16, 24 or 32,
// large ones 32, 48 or 64 - the largest of those the scale reaches (16 and 32
// at 96 DPI, 24 and 48 at 144, 32 and 64 at 192), so an icon is drawn at a
// size the shell's pictures are made in and never stretched.
int IconPixelSize(bool large, Dpi dpi);

class TCustomButtonStyle {
 public:
  TCustomButtonStyle() = default;
  virtual ~TCustomButtonStyle() = default;

  int Ordine = 0;
  std::string Caption;
  std::string Path;
  uint8_t TextAlignment = 2;  // 0 left, 1 right, 2 centred
  tov::Color Color = clBtnFace;
  tov::Color LightColor = clBtnHighlight;
  tov::Color ShadowColor = clBtnShadow;
  tov::Color HotTrackColor = clBtnFace;
  int Width = 92;
  int Height = 21;
  bool AutoSize = true;
  bool WordWrap = false;
  FontSpec Font{"MS Sans Serif", 8, 0, clWindowText};
  FontSpec SelFont{"MS Sans Serif", 8, 0, clWindowText};
  bool HotTrack = false;
  uint8_t ButtonStyle = cbsDefault;
  bool FolderMenu = false;
  bool RealTime = false;
  bool ShowText = true;
  uint8_t ImgLayout = 0;  // 0 icon left, 1 right, 2 above, 3 below
  bool SmallIcon = true;
  bool ShowIcon = true;

  // Gives the button this appearance, size and icon at the scale dpi (the
  // style's sizes are 96-DPI units and stay so). The surface measures the
  // caption for the automatic size (the bar window's canvas); without one an
  // off-screen canvas measures it.
  virtual void ApplyToButton(TLbSpeedButton& b, ICanvas* surface = nullptr, Dpi dpi = Dpi());
  virtual std::string TypeName() const { return "Button"; }

  // The current row of a table. "Ordine", "Caption", "Path" and "RealTime"
  // are read and written only where the table has them (the theme table has
  // none of them); any other missing column raises the table's
  // field-not-found error.
  void LoadFromRow(TRecordTable& t);
  void SaveToRow(TRecordTable& t);

  // The size the button takes when AutoSize is on, in pixels at dpi.
  Size AutoSizeExtent(ICanvas& surface, Dpi dpi = Dpi()) const;
  // Index of the path's icon in the shell image lists, or -1.
  static int PathIconIndex(const std::string& path);
  // The small or the large shell image list, by SmallIcon; null without a shell list.
  const TImageList* StyleImageList() const;
};

class TCustomPanelStyle : public TCustomButtonStyle {
 public:
  void ApplyToButton(TLbSpeedButton&, ICanvas* = nullptr, Dpi = Dpi()) override {}
  std::string TypeName() const override { return "Panel"; }
};

}  // namespace tov
