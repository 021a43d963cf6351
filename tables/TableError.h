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

// A table file that exists but cannot be opened: held by another program,
// access denied. Its bytes may be sound.
class TableOpenError : public TableError {
 public:
  explicit TableOpenError(const std::string& message) : TableError(message) {}
};

}  // namespace tov
