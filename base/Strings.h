// Text helpers. Texts are 8-bit strings in Windows-1252; positions are 1-based.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Without leading and trailing blanks and control characters.
std::string Trim(const std::string& s);

// A message with its "%s" places filled in order by args; places left over
// stay as they are, arguments left over are dropped.
std::string FormatText(std::string text, const std::vector<std::string>& args);

// The part of text before the first separator; when the separator does not
// occur, the whole text with wholeIfMissing, else "".
std::string TextBefore(const std::string& text, const std::string& separator, bool wholeIfMissing);

// The same with the given decimal separator; false when the text is not a number.
bool ParseFloat(const std::string& text, char decimalSeparator, double* out);

// The 1-based position in text of the first of chars (taken in their own
// order) that occurs in it; 0 when none does.
size_t FirstCharPos(const std::string& text, const std::string& chars);

// The pieces between separators. Empty pieces between two separators stay; a
// separator at the very end adds no empty piece; "" gives none. With trimLast
// the last piece is trimmed. The separator may be a character of several
// bytes ("\u00A7").
std::vector<std::string> SplitText(const std::string& text, std::string_view separator, bool trimLast);
// The pieces of SplitText joined with CR LF.
std::string JoinLinesAt(const std::string& text, std::string_view separator);

// The path trimmed, with one backslash at its end.
std::string WithTrailingBackslash(const std::string& path);

// The lines of a text file: CR LF, a lone CR or a lone LF end a line; a last
// line without an ending counts.
std::vector<std::string> TextLines(const std::string& bytes);

}  // namespace tov
