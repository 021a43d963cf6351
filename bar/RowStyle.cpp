// Until button styles arrive: a row's caption and size on its button, and new
// rows with the defaults of a new button.
#include "bar/ButtonTable.h"
#include "bar/ToviraMain.h"

namespace tov {

void TFormToviraMain::ApplyRowStyle(TRecordTable& links, TLbSpeedButton& button) {
  if (links.FieldByName("ShowText").AsBoolean()) button.SetCaption(links.FieldByName("Caption").AsString());
  int w = links.FieldByName("Width").IsNull() ? 92 : links.FieldByName("Width").AsInteger();
  int h = links.FieldByName("Height").IsNull() ? 21 : links.FieldByName("Height").AsInteger();
  button.SetBounds(0, 0, w, h);
}

namespace {
void NewRow(TRecordTable& links, int order, const std::string& caption, const std::string& path,
            const std::string& type) {
  links.Append();
  links.FieldByName("Ordine").SetAsInteger(order);
  links.Post();
  links.Locate("Ordine", std::to_string(order));
  links.Edit();
  links.FieldByName("Caption").SetAsString(caption);
  links.FieldByName("Path").SetAsString(path);
  links.FieldByName("Width").SetAsInteger(92);
  links.FieldByName("Height").SetAsInteger(21);
  links.FieldByName("ShowText").SetAsBoolean(true);
  links.FieldByName("AutoSize").SetAsBoolean(true);
  links.FieldByName("Type").SetAsString(type);
  links.Post();
}
}  // namespace

void AddButtonRow(TRecordTable& links, int order, const std::string& caption, const std::string& path) {
  NewRow(links, order, caption, path, "Button");
}

void AddSeparatorRow(TRecordTable& links, int order, const std::string& caption) {
  NewRow(links, order, caption, "", "Panel");
}

}  // namespace tov
