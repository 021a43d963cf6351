// Shell links (".lnk" files): the shell's link object and the OLE library it
// lives in. Results are HRESULTs, 0 for success, as the shell answers them.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Shell.h"

namespace tov {

enum : int32_t {
  S_OK_RESULT = 0,
  S_FALSE_RESULT = 1,
  E_FAIL_RESULT = int32_t(0x80004005),
  E_INVALIDARG_RESULT = int32_t(0x80070057),
  OLE_E_WRONGCOMPOBJ_RESULT = int32_t(0x8004000E),
  STG_E_FILENOTFOUND_RESULT = int32_t(0x80030002),
};

class IShellLinks {
 public:
  virtual ~IShellLinks() = default;
  // OleInitialize / OleUninitialize for the calling thread.
  virtual int32_t OleInitialize() = 0;
  virtual void OleUninitialize() = 0;
  // Creates a shell link object, sets its path and description, and saves it
  // to linkPath (at most 260 characters), making that file its current file.
  // An existing file is replaced. Answers the first failing result, or 0.
  virtual int32_t SaveLink(const std::string& linkPath, const std::string& target, const std::string& description) = 0;
  // Loads linkPath read-only, resolves it (flags 0, owner for any window the
  // shell shows), and reads its path in short (8.3) form, where the platform
  // has one, and its description. Answers the first failing result, or 0;
  // target and description are filled only on success.
  virtual int32_t LoadLink(WindowId owner, const std::string& linkPath, std::string* target,
                           std::string* description) = 0;
};

}  // namespace tov
