#include "controls/HintBox.h"

#include <algorithm>
#include <climits>

namespace tov {

// What one paint keeps while it runs through the lines.
struct THintBox::Pass {
  ICanvas& canvas;
  Rect area;            // where the text goes
  long long avail = 0;  // the width a line may take before it wraps
  int row = 0;          // the next row of text
  bool markup = true;   // style tags are read, not shown

  // A row of the given height fits above the text area's bottom.
  bool RowFits(int lineHeight) const { return (long long)(row + 1) * lineHeight + area.top < area.bottom; }
};

void THintBox::Invalidate() {
  if (onInvalidate) onInvalidate();
}

void THintBox::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Invalidate();
}

void THintBox::SetColor(Color v) {
  if (v == color_) return;
  color_ = v;
  Invalidate();
}

void THintBox::SetShadowColor(Color v) {
  if (v == shadowColor_) return;
  shadowColor_ = v;
  Invalidate();
}

void THintBox::SetShadowSize(int v) {
  if (v == shadowSize_ || v < 0) return;
  // The box keeps its size; the control makes room for the new shadow.
  auto grown = [&](int size) { return int(std::clamp((long long)size + v - shadowSize_, 0LL, (long long)INT_MAX)); };
  width_ = grown(width_);
  height_ = grown(height_);
  shadowSize_ = v;
  Invalidate();
}

void THintBox::SetHTMLFormatting(bool v) {
  if (v == htmlFormatting_) return;
  htmlFormatting_ = v;
  if (htmlFormatting_) Parse();
  Invalidate();
}

void THintBox::SetHintBox(bool v) {
  if (v == drawHintBox_) return;
  drawHintBox_ = v;
  Invalidate();
}

void THintBox::SetFont(const FontSpec& v) {
  if (v == font_) return;
  font_ = v;
  Invalidate();
}

void THintBox::SetParentColor(Color v) {
  if (v == parentColor_) return;
  parentColor_ = v;
  Invalidate();
}

void THintBox::SetLines(const std::vector<std::string>& v) {
  lines_ = v;
  if (htmlFormatting_) Parse();
  Invalidate();
}

void THintBox::Update() {
  if (htmlFormatting_) Parse();
  Invalidate();
}

void THintBox::Parse() {
  parsedLines_.clear();
  lineAlignments_.clear();
  for (const std::string& s : lines_)
    ParseLine(s, parsedLines_, lineAlignments_);
  parsed_ = true;
}

// ------------------------------------------------------------------ text

void THintBox::ApplyFont(ICanvas& canvas) {
  FontSpec f = font_;
  f.style = textStyle_;
  canvas.SetFont(f);
}

void THintBox::Switch(const THintSegment& segment) {
  if (segment.styleBit == 0) return;
  textStyle_ = segment.on ? textStyle_ | segment.styleBit : textStyle_ & ~segment.styleBit;
}

Size THintBox::TextExtentEx(ICanvas& canvas, std::string_view text) {
  uint32_t saved = textStyle_;
  Size total;
  for (const THintSegment& segment : SplitStyleTags(text)) {
    ApplyFont(canvas);
    Size s = canvas.TextExtent(std::string(segment.text));
    total.cx += s.cx;
    total.cy = std::max(total.cy, s.cy);
    Switch(segment);
  }
  textStyle_ = saved;
  ApplyFont(canvas);
  return total;
}

void THintBox::TextOutEx(ICanvas& canvas, int x, int y, std::string_view text) {
  int drawn = 0;
  for (const THintSegment& segment : SplitStyleTags(text)) {
    ApplyFont(canvas);
    std::string s(segment.text);
    canvas.TextAt(x + drawn, y, s);
    drawn += canvas.TextExtent(s).cx;
    Switch(segment);
  }
  ApplyFont(canvas);
}

// --------------------------------------------------------------- painting

void THintBox::Paint(ICanvas& canvas) {
  if (htmlFormatting_) {
    if (!parsed_) Parse();
    DrawLines(canvas, parsedLines_, &lineAlignments_);
  } else {
    DrawLines(canvas, lines_, nullptr);
  }
}

Rect THintBox::DrawFrame(ICanvas& canvas) {
  Rect client{0, 0, width_, height_};
  if (!drawHintBox_) {
    canvas.FillRect(client, parentColor_);
    return client;
  }
  // The shadow is the client rectangle moved right and down, as far as it
  // lies on the control; the box covers it but for the offset.
  int s = shadowSize_;
  canvas.FillRect({std::min(s, width_), std::min(s, height_), width_, height_}, shadowColor_);
  Rect box{0, 0, std::max(0, width_ - s), std::max(0, height_ - s)};
  canvas.FillRect(box, color_);
  canvas.FrameRect(box, clBlack);
  return {box.left + 4, box.top + 4, box.right, box.bottom};
}

Size THintBox::Measure(Pass& pass, std::string_view text) {
  return pass.markup ? TextExtentEx(pass.canvas, text) : pass.canvas.TextExtent(std::string(text));
}

void THintBox::Place(Pass& pass, std::string_view piece, int width, int alignment, int lineHeight) {
  const Rect& a = pass.area;
  int x = a.left;
  if (alignment == haCenter) {
    x = a.left + (a.right - a.left - width) / 2 - 4;
  } else if (alignment == haRight) {
    x = a.right - width - 4;
  }
  int y = a.top + pass.row * lineHeight;
  if (pass.markup) {
    TextOutEx(pass.canvas, x, y, piece);
  } else {
    pass.canvas.TextAt(x, y, std::string(piece));
  }
}

void THintBox::DrawLines(ICanvas& canvas, const std::vector<std::string>& lines, const std::vector<int>* alignments) {
  Pass pass{canvas, DrawFrame(canvas)};
  pass.markup = alignments != nullptr;
  pass.avail = (long long)pass.area.right - pass.area.left - shadowSize_;
  // Markup starts every paint from the plain font; plain text keeps the
  // font's own style.
  textStyle_ = pass.markup ? 0 : font_.style;
  ApplyFont(canvas);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    int alignment = pass.markup && i < alignments->size() ? (*alignments)[i] : haLeft;
    Size extent = Measure(pass, line);
    if (line.empty()) {
      ++pass.row;
      continue;
    }
    if (pass.markup && OnlyContainsTags(line)) {
      // Its style switches count for the following lines; it takes no row.
      for (const THintSegment& segment : SplitStyleTags(line))
        Switch(segment);
      ApplyFont(canvas);
      continue;
    }
    if (extent.cx <= pass.avail) {
      if (pass.RowFits(extent.cy)) Place(pass, line, extent.cx, alignment, extent.cy);
    } else if (!WrapLine(pass, line, alignment, extent.cy)) {
      return;
    }
    ++pass.row;
  }
}

// Breaks a line that is too wide into rows: at the last blank before the
// character that makes the text too wide, or before that character when
// there is no blank. False when the text area is full and painting ends.
bool THintBox::WrapLine(Pass& pass, const std::string& line, int alignment, int lineHeight) {
  size_t start = 0;                  // the piece being taken
  size_t blank = std::string::npos;  // its last blank
  int lastWidth = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    // The taken text is measured as it stands, tags and all.
    lastWidth = pass.canvas.TextExtent(line.substr(start, i + 1 - start)).cx;
    if (line[i] == ' ') blank = i;
    if (lastWidth <= pass.avail) continue;
    if (!pass.RowFits(lineHeight)) return false;
    size_t end = blank != std::string::npos ? blank : i;
    std::string_view piece = std::string_view(line).substr(start, end - start);
    lastWidth = Measure(pass, piece).cx;
    Place(pass, piece, lastWidth, alignment, lineHeight);
    start = blank != std::string::npos ? blank + 1 : i;
    blank = std::string::npos;
    ++pass.row;
  }
  if (pass.RowFits(lineHeight)) Place(pass, std::string_view(line).substr(start), lastWidth, alignment, lineHeight);
  return true;
}

}  // namespace tov
