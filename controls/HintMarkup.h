// The small tag markup of hint texts. A tag is the text between a "<" and the
// next ">" after it; its name is compared without regard to case. "<B>",
// "<I>", "<U>", "<STRIKE>" and their closing tags switch a font style while
// the text is drawn; "<CENTER>", "<RIGHT>", their closing tags and "<BR>"
// split a paragraph into display lines, each with an alignment. Any other
// bracketed text is ordinary text and is drawn with its brackets; so is a ">"
// before the next "<", and a "<" with no ">" after it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Alignments of display lines.
enum THintAlignment : int { haLeft = 0, haCenter = 1, haRight = 2 };

// Position of the first occurrence of the pattern at or after start;
// std::string::npos when there is none or the pattern is empty.
size_t FindNext(std::string_view text, std::string_view pattern, size_t start);

// Splits one paragraph at its alignment and break tags and appends the
// display lines, style tags still inside, with their alignments.
void ParseLine(std::string s, std::vector<std::string>& lines, std::vector<int>& alignments);

// The font style bit a style tag's name ("B", "/strike" ...) switches, with
// on telling whether it switches it on; 0 for any other name.
uint32_t StyleTagBit(std::string_view name, bool* on);

// A display line cut at its style tags: each segment is text drawn in the
// style in force, then, when styleBit is not 0, a style switched on or off.
// The last segment is the rest of the line and switches nothing.
struct THintSegment {
  std::string_view text;
  uint32_t styleBit = 0;
  bool on = false;
};
std::vector<THintSegment> SplitStyleTags(std::string_view text);

// True when the text is one or more style tags and nothing else.
bool OnlyContainsTags(std::string_view text);

}  // namespace tov
