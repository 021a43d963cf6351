// Translating a form from the lines of a language file. Component entries
// are named form "." component "." property ("Caption", "Hint", "Lines",
// "Items"); list-view column titles form "." list view ".Col_" n ".Caption".
// The class of each component decides which of its texts are taken, and how:
//   caption and hint: buttons of every kind, group boxes, panels, menu items,
//     check boxes, edits (the edit's text);
//   labels: the hint, and a caption whose "§" marks line breaks;
//   hint boxes and scrolling texts: the hint, and lines split at "§";
//   combo boxes: the hint, and items split at "§" (no item selected after);
//   list views: the column titles only.
#pragma once
#include <string>
#include <vector>

#include "forms/Component.h"

namespace tov {

// The value named form "." component "." property in lines, or def when that
// is absent or empty.
std::string ComponentText(const std::vector<std::string>& lines, const std::string& form, const std::string& component,
                          const std::string& property, const std::string& def);
std::string ComponentCaption(const std::vector<std::string>& lines, const std::string& form,
                             const std::string& component, const std::string& def);
std::string ComponentHint(const std::vector<std::string>& lines, const std::string& form, const std::string& component,
                          const std::string& def);

// Applies the entries to the component (when it is a form: its caption and
// hint under its own name twice) and to every component it owns, in the
// order they were added. Components owned by others are left alone.
void TranslateComponents(Component& component, const std::vector<std::string>& lines);

// Puts back the texts a language file may have changed (caption, hint, lines,
// items, column titles) as the original holds them, by component name: a
// form translated into one language is then ready for another. Components
// the original lacks (those added at run time) are left alone.
void RestoreComponentTexts(Component& component, const Component& original);

}  // namespace tov
