// tovira-tool: a companion for inspecting and scripting the bar's files.
// Each command group lives in its own file and registers itself here.
#pragma once
#include <string>
#include <vector>

namespace tov::tool {

// Runs one command group with the words after its name; answers the exit
// status. Errors go to stderr as one line.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Registration {
  Registration(const char* group, const char* usage, CommandFn fn);
};

// Reads or writes a whole file of the build's own platform (host paths).
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
int Fail(const std::string& message);  // prints "tovira-tool: message", answers 1

}  // namespace tov::tool

#define TOVIRA_TOOL_CONCAT2(a, b) a##b
#define TOVIRA_TOOL_CONCAT(a, b) TOVIRA_TOOL_CONCAT2(a, b)
#define TOVIRA_TOOL_COMMAND(group, usage, fn) \
  static ::tov::tool::Registration TOVIRA_TOOL_CONCAT(toolRegistration_, __LINE__)(group, usage, fn)
