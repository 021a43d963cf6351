// Tables kept in the user data folder ("Themes.DAT" in "Data").
#include "settings/UserData.h"
#include "tables/TableFiles.h"

namespace tov {

bool LoadUserTable(TRecordTable& table, const std::string& subFolder, const std::string& name,
                   TBinaryTableFormat& format) {
  return LoadTableFile(table, UserSubDir(subFolder), name, "", "DAT", format);
}

void SaveUserTable(TRecordTable& table, const std::string& subFolder, const std::string& name, bool enabled,
                   TBinaryTableFormat& format) {
  SaveTableFile(table, UserSubDir(subFolder), name, "DAT", enabled, format);
}

}  // namespace tov
