#include "files/Log.h"

#include <stdexcept>

#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

std::string Stamp() {
  const DateTime now = System().Now();
  std::string s = System().FormatShortDate(now);
  // The run-time's date-time text leaves the time out at exactly midnight.
  if (now.hour != 0 || now.minute != 0 || now.second != 0) s += " " + System().FormatTime(now);
  return s;
}

}  // namespace

std::string LogFileName(const DateTime& day) { return "Log_" + DateStampText(day, true) + ".log"; }

TLog::TLog(const std::string& folder) {
  if (folder.empty() || !ForceDirectories(Files(), folder))
    throw std::runtime_error("Cannot create directory \"" + folder + "\"");
  path_ = JoinPath(folder, LogFileName(System().Now()));
}

bool TLog::AddLine(const std::string& text) { return AddLines({text}); }

bool TLog::AddLines(const std::vector<std::string>& lines) {
  const std::string stamp = Stamp();
  std::string entries;
  for (const std::string& line : lines)
    entries += stamp + ": " + line + "\r\n";
  return Files().AppendFile(path_, entries);
}

}  // namespace tov
