// The value prompt as a real dialog: typed into, confirmed with Enter,
// cancelled with its button and closed with its close box, while its owner
// waits disabled. A timer of the dialog's own loop plays the user.
#include <gtest/gtest.h>

#include "tests/win32/Display.h"
#include "tests/win32/Screenshot.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "controls/Appearance.h"
#include "dialogs/ErrorReport.h"
#include "dialogs/StandardPrompt.h"
#include "files/ProgramFolders.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/win32/Win32NativeForm.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"
#include "settings/Settings.h"
#include "tests/ImageSamples.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormRuntime.h"

namespace tov {
namespace {

// The steps of the user, one per tick once the dialog shows.
struct User {
  std::vector<std::function<void(HWND dialog)>> steps;
  size_t next = 0;
  int waited = 0;
  bool timedOut = false;
};
User* g_user = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA(win32::kDialogClass, nullptr);
  if (!g_user || !dialog || !IsWindowVisible(dialog)) return;
  if (g_user->next < g_user->steps.size()) {
    g_user->steps[g_user->next++](dialog);
  } else if (++g_user->waited > 100) {
    g_user->timedOut = true;  // nothing ended it: do not hang the tests
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
}

// The first control of the class on the dialog, or the first showing that
// text (edits keep their text to themselves, so it is asked for).
HWND Child(HWND dialog, const char* cls, const char* text = nullptr) {
  for (HWND h = FindWindowExA(dialog, nullptr, cls, nullptr); h; h = FindWindowExA(dialog, h, cls, nullptr)) {
    char buffer[256] = {};
    GetWindowTextA(h, buffer, sizeof buffer);
    if (!text || std::string(buffer) == text) return h;
  }
  return nullptr;
}

// A two-glyph picture for the confirm button: a green square, then a grey
// one for the disabled button, on magenta that stays transparent.
void WriteConfirmPicture() {
  tov::testing::BmpLayout bmp;
  bmp.width = 32;
  bmp.height = 16;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inside = (x % 16) >= 3 && (x % 16) < 13 && y >= 3 && y < 13;
      bmp.values.push_back(!inside ? 0xFF00FF : x < 16 ? 0x00A000 : 0x808080);
    }
  ASSERT_TRUE(Files().WriteFile(AppSubDir("pics") + "BtnConferma.bmp", tov::testing::BmpFile(bmp)));
}

// Files, message boxes and settings headless; windows, drawing and pictures real.
struct Win32FormsTest : ::testing::Test {
  // One owner for all: a window that goes away takes Wine up to two
  // seconds without a window manager.
  static void SetUpTestSuite() {
    owner = CreateWindowExA(0, "STATIC", "Proprietario", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  static void TearDownTestSuite() {
    if (owner) DestroyWindow(owner);
    owner = nullptr;
  }
  void SetUp() override {
    mixed = wp.Get();
    mixed.files = &hp.Files();
    mixed.dialogs = &hp.Dialogs();
    previous = InstallPlatform(&mixed);
    TOVIRA_SKIP_WITHOUT_DISPLAY();
    ASSERT_NE(owner, nullptr) << "the owner window could not be made";
    SetActiveWindow(owner);
    g_user = &user;
    timer = SetTimer(nullptr, 0, 50, Tick);
  }
  void TearDown() override {
    if (timer) KillTimer(nullptr, timer);
    g_user = nullptr;
    InstallPlatform(previous);
    FreeMessageTable();
    FreePictureCache();
  }
  // Shows a prompt (with its initial text) and answers what it gave.
  std::string Ask(const std::string& initial = {}) {
    TFormStandardPrompt* form = CreatePromptForm();
    EXPECT_NE(form, nullptr);
    if (!form) return "<no form>";
    form->EditCampo().caption = initial;
    std::string text = PromptText(form, "Digitare il nome del tema", "Tema", WindowId(owner));
    EXPECT_FALSE(user.timedOut);
    EXPECT_EQ(FindWindowA(win32::kDialogClass, nullptr), nullptr) << "the dialog is destroyed";
    EXPECT_TRUE(IsWindowEnabled(owner));
    return text;
  }

  host::HostPlatform hp;
  win32::Win32Platform wp;
  Platform mixed;
  Platform* previous = nullptr;
  static HWND owner;
  UINT_PTR timer = 0;
  User user;
};
HWND Win32FormsTest::owner = nullptr;

TEST_F(Win32FormsTest, TypedTextConfirmedWithEnterComesBackExactly) {
  WriteConfirmPicture();
  bool ownerDisabled = false, editFocused = false;
  DWORD selStart = 1, selEnd = 0;
  std::string label, caption;
  user.steps = {
      [&](HWND dialog) {
        ownerDisabled = !IsWindowEnabled(owner);
        HWND edit = Child(dialog, "Edit");
        editFocused = GetFocus() == edit;
        SendMessageA(edit, EM_GETSEL, WPARAM(&selStart), LPARAM(&selEnd));
        label = [&] {
          char text[64] = {};
          GetWindowTextA(Child(dialog, "Static", "Tema"), text, sizeof text);
          return std::string(text);
        }();
        char text[64] = {};
        GetWindowTextA(dialog, text, sizeof text);
        caption = text;
        // Typed over the selected initial text.
        for (char ch : std::string("  Nuovo tema "))
          PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(ch)), 1);
      },
      [&](HWND dialog) { testing::SaveScreenshot(dialog, "prompt"); },
      [&](HWND dialog) { PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_RETURN, 1); },
  };
  EXPECT_EQ(Ask("vecchio"), "  Nuovo tema ");
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(editFocused);
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, 7u);
  EXPECT_EQ(label, "Tema");
  EXPECT_EQ(caption, "Digitare il nome del tema");
  EXPECT_EQ(GetActiveWindow(), owner);
}

// The keyboard of any script: characters come as UTF-16 units (a pair for
// one beyond the first plane) and reach the text whole, in UTF-8.
TEST_F(Win32FormsTest, CharactersTypedInAnyScriptComeBackAsTyped) {
  const std::wstring typed = L"\u041f\u0430\u043f\u043a\u0430 \u0398\u03ad\u03bc\u03b1 \u5199\u771f \U0001F600";
  user.steps = {
      [&](HWND dialog) {
        HWND edit = Child(dialog, "Edit");
        for (wchar_t unit : typed)
          PostMessageW(edit, WM_CHAR, WPARAM(unit), 1);
      },
      [&](HWND dialog) { PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_RETURN, 1); },
  };
  EXPECT_EQ(Ask(), win32::Utf8Text(typed.c_str()));
}

TEST_F(Win32FormsTest, EscapeDoesNothingAndTheCancelButtonOrTheCloseBoxGiveNothing) {
  bool stillShown = false;
  user.steps = {
      [&](HWND dialog) {
        SetWindowTextA(Child(dialog, "Edit"), "scritto");
        PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_ESCAPE, 1);
      },
      [&](HWND dialog) {
        stillShown = IsWindowVisible(dialog) != 0;
        PostMessageA(Child(dialog, "Button", "Annulla"), BM_CLICK, 0, 0);
      },
  };
  EXPECT_EQ(Ask(), "");
  EXPECT_TRUE(stillShown);

  user = User{};
  user.steps = {[&](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }};
  EXPECT_EQ(Ask("iniziale"), "");
}

TEST_F(Win32FormsTest, TabMovesToTheButtonsAndEnterPressesTheFocusedOne) {
  // Tab twice: past the confirm button to the cancel button; Enter presses that.
  user.steps = {
      [&](HWND dialog) { PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_TAB, 1); },
      [&](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1); },
      [&](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); },
  };
  EXPECT_EQ(Ask("testo"), "");
  user = User{};
  user.steps = {
      [&](HWND dialog) { PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_TAB, 1); },
      [&](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); },
  };
  EXPECT_EQ(Ask("testo"), "testo");
}

TEST_F(Win32FormsTest, WhatHandlersChangeWhileTheDialogShowsReachItsControls) {
  WriteConfirmPicture();
  TFormStandardPrompt prompt;
  Component& edit = prompt.EditCampo();
  Component& ok = prompt.BtnConferma();
  Component& label = prompt.LblCampo();
  // Confirm only with something typed; a click on the label's neighbour
  // button renames the label.
  edit.Bind("OnChange", "EditCampoChange", [&](Component& e) {
    ok.enabled = !e.caption.empty();
    ok.Changed();
    label.caption = "Lettere: " + std::to_string(e.caption.size());
    label.Changed();
  });
  bool disabledWhenEmpty = false, enabledWhenTyped = false, pressedWhileDisabled = false;
  std::string labelText;
  user.steps = {
      [&](HWND dialog) { SetWindowTextA(Child(dialog, "Edit"), ""); },
      [&](HWND dialog) {
        HWND button = Child(dialog, "Button", "Conferma");
        disabledWhenEmpty = !IsWindowEnabled(button);
        testing::SaveScreenshot(dialog, "prompt-disabled");
        PostMessageA(Child(dialog, "Edit"), WM_KEYDOWN, VK_RETURN, 1);  // the default is disabled: nothing
      },
      [&](HWND dialog) {
        pressedWhileDisabled = !IsWindowVisible(dialog);
        SetWindowTextA(Child(dialog, "Edit"), "abc");
      },
      [&](HWND dialog) {
        HWND button = Child(dialog, "Button", "Conferma");
        enabledWhenTyped = IsWindowEnabled(button) != 0;
        char text[64] = {};
        GetWindowTextA(Child(dialog, "Static", nullptr), text, sizeof text);
        labelText = text;
        PostMessageA(button, BM_CLICK, 0, 0);
      },
  };
  edit.caption = "x";
  EXPECT_EQ(prompt.ShowModal(WindowId(owner)), kPromptConfirmed);
  EXPECT_EQ(edit.caption, "abc");
  EXPECT_TRUE(disabledWhenEmpty);
  EXPECT_FALSE(pressedWhileDisabled);
  EXPECT_TRUE(enabledWhenTyped);
  EXPECT_EQ(labelText, "Lettere: 3");
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(user.timedOut);
  // Shown again, the same form starts afresh.
  user = User{};
  user.steps = {[&](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }};
  EXPECT_EQ(prompt.ShowModal(WindowId(owner)), kPromptCancelled);
}

TEST_F(Win32FormsTest, AHandlerThatThrowsIsReportedAndTheDialogGoesOn) {
  TFormStandardPrompt prompt;
  prompt.BtnAnnulla().properties["ModalResult"] = "0";
  prompt.BtnAnnulla().Bind("OnClick", "BtnAnnullaClick",
                           [](Component&) { throw std::runtime_error("Qualcosa non va"); });
  user.steps = {
      [&](HWND dialog) { PostMessageA(Child(dialog, "Button", "Annulla"), BM_CLICK, 0, 0); },
      // The clicked button has the focus now: Enter would press it again.
      [&](HWND dialog) { PostMessageA(Child(dialog, "Button", "Conferma"), BM_CLICK, 0, 0); },
  };
  InstallExceptionDisplay();  // as the program does at start
  EXPECT_EQ(prompt.ShowModal(WindowId(owner)), kPromptConfirmed);
  EXPECT_FALSE(user.timedOut);
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, "Qualcosa non va.");
  EXPECT_EQ(hp.Dialogs().shown[0].style, uint32_t(MB_OK | MB_ICONERROR));
}

// A form of other controls: offsets add up through the containers, each
// kind shows its state and hands the user's changes back, and controls come
// and go with their components.
TEST_F(Win32FormsTest, OtherControlsShowTheirStateAndGiveBackTheUsersChanges) {
  auto form = MakeComponent(ComponentKind::Form, "FormProva", "Prova");
  form->bounds = Rect{100, 100, 400, 300};
  form->properties["BorderStyle"] = "bsDialog";
  auto add = [](Component& parent, ComponentKind kind, const char* name, Rect r,
                const char* caption = "") -> Component& {
    Component& c = parent.Add(MakeComponent(kind, name, caption));
    c.bounds = r;
    return c;
  };
  Component& group = add(*form, ComponentKind::GroupBox, "GrpOpzioni", Rect{8, 8, 292, 120}, "Opzioni");
  Component& check = add(group, ComponentKind::CheckBox, "ChkUno", Rect{16, 20, 200, 37}, "Uno");
  Component& combo = add(group, ComponentKind::ComboBox, "CmbScelta", Rect{16, 44, 200, 65});
  combo.items = {"Rosso", "Verde"};
  combo.itemIndex = 1;
  combo.properties["Style"] = "csDropDownList";
  Component& hidden = add(group, ComponentKind::Panel, "PnlNascosto", Rect{16, 70, 200, 100});
  hidden.visible = false;
  add(hidden, ComponentKind::Edit, "EditNascosto", Rect{4, 4, 150, 25}, "dentro");
  Component& memo = add(*form, ComponentKind::Memo, "MemoNote", Rect{8, 124, 200, 190});
  memo.lines = {"a", "b"};
  std::vector<std::string> linesWhileTyping;
  memo.Bind("OnChange", "MemoNoteChange", [&](Component& m) {
    linesWhileTyping = m.lines;
    m.Changed();  // as a handler that shows what it got would
  });
  Component& done = add(*form, ComponentKind::Button, "BtnFine", Rect{210, 150, 290, 180}, "Fine");
  done.properties["ModalResult"] = "1";
  check.Bind("OnClick", "ChkUnoClick", [&](Component& c) {
    hidden.visible = c.checked;
    hidden.Changed();
    add(group, ComponentKind::Label, "LblNuovo", Rect{210, 20, 280, 35}, "Nuovo");
  });
  done.Bind("OnClick", "BtnFineClick", [&](Component&) { group.Remove(*group.Find("LblNuovo")); });

  POINT checkAt{};
  bool checkFocused = false, editHidden = false, editShownAfter = false, labelAdded = false;
  int comboShown = -1;
  std::string memoText, memoTyped;
  user.steps = {
      [&](HWND dialog) {
        HWND box = Child(dialog, "Button", "Uno");
        RECT r{};
        GetWindowRect(box, &r);
        checkAt = POINT{r.left, r.top};
        ScreenToClient(dialog, &checkAt);
        checkFocused = GetFocus() == box;
        editHidden = !IsWindowVisible(Child(dialog, "Edit", "dentro"));
        HWND list = Child(dialog, "ComboBox");
        comboShown = int(SendMessageA(list, CB_GETCURSEL, 0, 0));
        memoText.resize(32);
        memoText.resize(size_t(GetWindowTextA(Child(dialog, "Edit", "a\r\nb"), memoText.data(), 32)));
        PostMessageA(box, BM_CLICK, 0, 0);
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), LPARAM(list));
        // Typed at the end of the memo: a letter and a line break.
        HWND notes = Child(dialog, "Edit", "a\r\nb");
        SendMessageA(notes, EM_SETSEL, 4, 4);
        PostMessageA(notes, WM_CHAR, 'z', 1);
        PostMessageA(notes, WM_CHAR, '\r', 1);
      },
      [&](HWND dialog) {
        memoTyped = Child(dialog, "Edit", "a\r\nbz\r\n") ? "kept" : "lost";
        // Given from outside, a multi-line edit says nothing: read when the dialog ends.
        SetWindowTextA(Child(dialog, "Edit", "a\r\nbz\r\n"), "x\r\ny\r\nz");
        editShownAfter = IsWindowVisible(Child(dialog, "Edit", "dentro")) != 0;
        labelAdded = Child(dialog, "Static", "Nuovo") != nullptr;
        PostMessageA(Child(dialog, "Button", "Fine"), BM_CLICK, 0, 0);
      },
  };
  EXPECT_EQ(ShowModalForm(*form, WindowId(owner)), 1);
  EXPECT_FALSE(user.timedOut);
  EXPECT_EQ(checkAt.x, 24);
  EXPECT_EQ(checkAt.y, 28);
  EXPECT_TRUE(checkFocused);  // no edit can take it: the first control that can
  EXPECT_TRUE(editHidden);
  EXPECT_EQ(comboShown, 1);
  EXPECT_EQ(memoText, "a\r\nb");
  EXPECT_TRUE(check.checked);
  EXPECT_TRUE(editShownAfter);
  EXPECT_TRUE(labelAdded);
  EXPECT_EQ(group.Find("LblNuovo"), nullptr);
  EXPECT_EQ(combo.itemIndex, 0);
  EXPECT_EQ(combo.caption, "Rosso");
  EXPECT_EQ(linesWhileTyping, (std::vector<std::string>{"a", "bz"}));
  EXPECT_EQ(memoTyped, "kept");
  EXPECT_EQ(memo.lines, (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(FindWindowA(win32::kDialogClass, nullptr), nullptr);
}

}  // namespace
}  // namespace tov
