// The error every table operation raises: a missing column, a value that does
// not convert, a damaged or unreadable table file. The message is the text
// the user sees.
#pragma once
#include <stdexcept>
#include <string>

namespace tov {

class TableError : public std::runtime_error {
 public:
  explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tov
