// Forms shown as modal dialogs. The rules of a dialog live here, once, for
// every window system: which components become controls, what an event
// changes and which handler it runs, which button Enter presses, when the
// dialog ends and with which result. The window system below only realises
// the controls and reports what the user does.
#pragma once
#include "platform/Window.h"

namespace tov {

class Component;

// Shows the form as a modal dialog owned by owner (disabled meanwhile) and
// runs it until it ends. Answers its modal result: the "ModalResult" of the
// button that ended it (or the one a handler put on the form), 2 when it
// was closed with its close box. The form's "OnShow" fires before it
// appears; edits keep their text in their caption, memos in their lines,
// lists their chosen item. Once the window has gone, the form's "OnClose"
// fires with its "ModalResult" set to the result. Throws std::runtime_error when the window system
// cannot make the dialog.
int ShowModalForm(Component& form, WindowId owner);

inline constexpr int kModalCloseResult = 2;

// The window of a form shown now by ShowModalForm, 0 when it is not shown:
// the owner of the menus and dialogs its handlers open.
uintptr_t DialogWindowOf(const Component& form);
// Where a point of a running dialog's client area (in the form's units) is on
// the screen, at the scale the dialog is shown at.
Point DialogScreenPoint(const Component& form, Point client);

// List views on a dialog. A handler asks to edit a row's caption in place by
// setting kEditRowProperty to the row and telling the change. When the user
// ends an edit, "OnEdited" fires with the row and the text in the other two
// properties; setting kEditRefusedProperty to "True" refuses the text.
inline constexpr char kEditRowProperty[] = "EditRow";
inline constexpr char kEditedRowProperty[] = "EditedRow";
inline constexpr char kEditedTextProperty[] = "EditedText";
inline constexpr char kEditRefusedProperty[] = "EditRefused";

}  // namespace tov
