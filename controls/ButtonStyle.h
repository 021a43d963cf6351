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

// The side in pixels of a button's icon at a screen's DPI (96 is 100 %):
// 16, 24, 32 small and 32, 48, 64 large at 100, 150 and 200 %; a scale in
// between takes the nearest of the sizes icons are drawn in (20 and 40 at
// 125 %), a scale beyond takes the next ones.
int IconPixelSize(bool large, Dpi dpi);

// What a button shows while its icon is on its way: a square of pixels x
// pixels in the background colour with a thin neutral frame inset by an
// eighth of its side.
Bitmap IconPlaceholder(int pixels, Color background);
// An icon with its alpha laid over the background colour (system colours
// resolved); an empty picture gives an empty bitmap.
Bitmap IconOverBackground(const Picture& icon, Color background);
// The button shows the icon that arrived (an empty picture: no icon).
void ApplyArrivedIcon(TLbSpeedButton& b, const Picture& icon);

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
  // The DPI the button was last given at (ApplyToButton; not stored): its
  // icon's size follows it.
  int IconDpi = 96;

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
  // The side of the button's icon at IconDpi.
  int IconPixels() const { return IconPixelSize(!SmallIcon, Dpi(IconDpi)); }
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
