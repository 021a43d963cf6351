#include "platform/FileShellLinks.h"

namespace tov {

int32_t FileShellLinks::SaveLink(const std::string&, const std::string&, const std::string&) { return E_FAIL_RESULT; }

int32_t FileShellLinks::LoadLink(WindowId, const std::string&, std::string*, std::string*) { return E_FAIL_RESULT; }

}  // namespace tov
