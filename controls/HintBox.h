// The rich hint box: a few paragraphs of help text in a box with a drop
// shadow. The text may carry the markup of HintMarkup.h (bold, italic,
// underline, strike-out, centred and right-aligned lines, line breaks); lines
// wider than the box wrap at blanks. The control holds no window: it paints
// itself onto a canvas of its size, and asks whoever shows it for a repaint
// through onInvalidate when something it shows changes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Colors.h"
#include "controls/HintMarkup.h"

namespace tov {

constexpr Color clInfoBk = 0x80000018;

class THintBox {
 public:
  THintBox() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Negative sizes count as 0.
  void SetSize(int width, int height);

  // The box's fill.
  Color BoxColor() const { return color_; }
  void SetColor(Color v);
  Color ShadowColor() const { return shadowColor_; }
  void SetShadowColor(Color v);
  // The shadow's offset in pixels. A new size makes the control as much
  // wider and higher as the shadow grows; negative sizes are ignored.
  int ShadowSize() const { return shadowSize_; }
  void SetShadowSize(int v);
  // Off: the lines are drawn as plain text, left-aligned.
  bool HTMLFormatting() const { return htmlFormatting_; }
  void SetHTMLFormatting(bool v);
  // Off: no box and no shadow; the control shows its parent's colour.
  bool DrawHintBox() const { return drawHintBox_; }
  void SetHintBox(bool v);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& v);
  Color ParentColor() const { return parentColor_; }
  void SetParentColor(Color v);

  // The text, one paragraph per string. After changing the strings in place
  // call Update.
  const std::vector<std::string>& Lines() const { return lines_; }
  std::vector<std::string>& Lines() { return lines_; }
  void SetLines(const std::vector<std::string>& v);
  void Update();

  // The display lines made from Lines, style tags still inside, and the
  // alignment of each (THintAlignment).
  void Parse();
  const std::vector<std::string>& ParsedLines() const { return parsedLines_; }
  const std::vector<int>& LineAlignments() const { return lineAlignments_; }

  // Paints the whole control onto a canvas at (0, 0).
  void Paint(ICanvas& canvas);

  // Extent of a display line drawn with its style tags, from the current text
  // style; the text style is left as it was.
  Size TextExtentEx(ICanvas& canvas, std::string_view text);
  // Draws a display line with its style tags from (x, y); the styles it
  // switches stay in force for what is drawn next.
  void TextOutEx(ICanvas& canvas, int x, int y, std::string_view text);
  // The font style in force for the text being drawn; each paint starts
  // with none.
  uint32_t TextStyle() const { return textStyle_; }

  // Called when the control wants to be painted again.
  std::function<void()> onInvalidate;

 private:
  struct Pass;

  void Invalidate();
  void ApplyFont(ICanvas& canvas);
  void Switch(const THintSegment& segment);
  Rect DrawFrame(ICanvas& canvas);
  void DrawLines(ICanvas& canvas, const std::vector<std::string>& lines, const std::vector<int>* alignments);
  bool WrapLine(Pass& pass, const std::string& line, int alignment, int lineHeight);
  Size Measure(Pass& pass, std::string_view text);
  void Place(Pass& pass, std::string_view piece, int width, int alignment, int lineHeight);

  int width_ = 200;
  int height_ = 200;
  Color color_ = clInfoBk;
  Color shadowColor_ = clGray;
  int shadowSize_ = 4;
  bool htmlFormatting_ = true;
  bool drawHintBox_ = true;
  FontSpec font_{"MS Sans Serif", 8, 0, clWindowText};
  Color parentColor_ = clBtnFace;
  std::vector<std::string> lines_;
  std::vector<std::string> parsedLines_;
  std::vector<int> lineAlignments_;
  bool parsed_ = false;
  uint32_t textStyle_ = 0;
};

}  // namespace tov
