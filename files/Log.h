// Time-stamped lines appended to one text file per day in a folder:
// "Log_2012_2_27.log". Every call opens and closes the file, so entries are
// on disk when it returns and several logs, or programs, may append to the
// same file in turn. An entry is "<short date> <time>: <text>" and CR LF; at
// exactly midnight the time is left out.
#pragma once
#include <string>
#include <vector>

#include "platform/Files.h"

namespace tov {

// "Log_" + year + "_" + month + "_" + day + ".log", without leading zeros.
std::string LogFileName(const DateTime& day);

class TLog {
 public:
  // Creates the folder with its missing parents (throws std::runtime_error
  // when it cannot) and fixes the file's name by today's date: a log made
  // before midnight writes to that day's file for as long as it lives.
  explicit TLog(const std::string& folder);
  const std::string& FileName() const { return path_; }

  // One entry with the time now. False when the file could not be written:
  // the entry is lost.
  bool AddLine(const std::string& text);
  // One entry per line, all with the one time taken before the first, in one
  // opening of the file.
  bool AddLines(const std::vector<std::string>& lines);

 private:
  std::string path_;
};

}  // namespace tov
