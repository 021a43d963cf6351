// The kinds of control a dialog realises with the common controls, seen
// through the real windows: what they show, what the user's clicks and keys
// report, and that what the logic sets is not reported back. A timer of the
// dialog's own loop plays the user; the events are written down as text.
#include <gtest/gtest.h>

#include "tests/win32/Display.h"
#include "tests/win32/Screenshot.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32NativeForm.h"

#include <dlgs.h>

namespace tov {
namespace {

struct Events : IFormEvents {
  std::vector<std::string> log;
  std::vector<std::string> painted;  // "container width height"
  bool ended = false;
  bool acceptCaptions = true;

  void Note(const std::string& s) { log.push_back(s); }
  int Count(const std::string& s) const { return int(std::count(log.begin(), log.end(), s)); }
  int CountPrefix(const std::string& p) const {
    return int(std::count_if(log.begin(), log.end(), [&](const std::string& s) { return s.rfind(p, 0) == 0; }));
  }

  void Clicked(ControlId id) override { Note("Clicked " + std::to_string(id)); }
  void TextChanged(ControlId, const std::string&) override {}
  void SelectionChanged(ControlId id, int index) override {
    Note("SelectionChanged " + std::to_string(id) + " " + std::to_string(index));
  }
  void CheckChanged(ControlId, bool) override {}
  void Spun(ControlId id, int delta) override { Note("Spun " + std::to_string(id) + " " + std::to_string(delta)); }
  void DateChanged(ControlId id, bool hasDate, const DateTime& d) override {
    Note("DateChanged " + std::to_string(id) + " " + std::to_string(hasDate) +
         (hasDate ? " " + std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) : ""));
  }
  void Dragged(ControlId id, int dx, int dy) override {
    Note("Dragged " + std::to_string(id) + " " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void RowsSelected(ControlId id, const std::vector<int>& rows) override {
    std::string s = "RowsSelected " + std::to_string(id);
    for (int r : rows)
      s += " " + std::to_string(r);
    Note(s);
  }
  bool CaptionEdited(ControlId id, int row, const std::string& text) override {
    Note("CaptionEdited " + std::to_string(id) + " " + std::to_string(row) + " " + text);
    return acceptCaptions;
  }
  void DoubleClicked(ControlId id) override { Note("DoubleClicked " + std::to_string(id)); }
  // Kept apart from what the user does: every dialog tells where it appeared.
  void FrameChanged(const Rect& b) override {
    frames.push_back("FrameChanged " + std::to_string(b.left) + " " + std::to_string(b.top) + " " +
                     std::to_string(b.right) + " " + std::to_string(b.bottom));
  }
  std::vector<std::string> frames;
  void FocusChanged(ControlId) override {}
  void CloseRequested() override { ended = true; }
  ControlId DefaultButton() override { return 0; }
  ControlId CancelButton() override { return 0; }
  void PaintControl(ControlId, ICanvas&, const PaintState&) override {}
  void PaintBackground(ControlId container, ICanvas& canvas) override {
    painted.push_back(std::to_string(container) + " " + std::to_string(canvas.Width()) + " " +
                      std::to_string(canvas.Height()));
    canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, container ? RGB(220, 230, 250) : RGB(236, 233, 216));
    // A stripe every 50 pixels of the content shows where it is scrolled to.
    for (int y = 50; y < canvas.Height(); y += 50)
      canvas.FillRect(Rect{0, y, canvas.Width(), y + 2}, RGB(120, 150, 210));
  }
  void Shown() override {}
  void TimerFired(int) override {}
  bool Ended() override { return ended; }
};

using Step = std::function<void(HWND dialog)>;
std::vector<Step>* g_steps = nullptr;
size_t g_next = 0;
int g_idle = 0;
Events* g_events = nullptr;

// Plays the next step once the dialog shows; ends the dialog after the last.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA(win32::kDialogClass, nullptr);
  if (!g_steps || !g_events || !dialog || !IsWindowVisible(dialog)) return;
  if (g_next < g_steps->size()) {
    (*g_steps)[g_next++](dialog);
  } else if (++g_idle > 1) {
    g_events->ended = true;  // a tick after the last step lets what it posted through
  }
}

// The control's window (the edit, not the button it may carry), anywhere on the dialog.
HWND Item(HWND dialog, ControlId id, const char* cls = nullptr) {
  struct Search {
    int id;
    const char* cls;
    HWND found;
  } s{id, cls, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        char name[64] = {};
        GetClassNameA(h, name, sizeof name);
        if (GetDlgCtrlID(h) != s->id || (s->cls ? _stricmp(name, s->cls) != 0 : _stricmp(name, "Button") == 0))
          return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  if (!s.found && !cls) return Item(dialog, id, "Button");
  return s.found;
}

// Where a window lies in its parent's client area.
RECT InParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Text(HWND h) {
  char s[256] = {};
  GetWindowTextA(h, s, sizeof s);
  return s;
}

void Click(HWND h, int x, int y, bool right = false) {
  PostMessageA(h, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(h, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

ControlDesc Desc(ControlType type, Rect bounds, const std::string& text = {}) {
  ControlDesc d;
  d.type = type;
  d.name = "C" + std::to_string(int(type));
  d.bounds = bounds;
  d.text = text;
  return d;
}

struct Win32FormKindsTest : ::testing::Test {
  static void SetUpTestSuite() {
    owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  }
  static void TearDownTestSuite() {
    if (owner) DestroyWindow(owner);
    owner = nullptr;
  }
  void SetUp() override {
    TOVIRA_SKIP_WITHOUT_DISPLAY();
    ASSERT_NE(owner, nullptr);
    FrameDesc frame;
    frame.name = frame.caption = "Kinds";
    frame.bounds = Rect{100, 100, 520, 420};
    frame.border = FrameBorder::Dialog;
    form = win32::CreateNativeForm(frame, owner, events);
    g_events = &events;
  }
  void TearDown() override {
    g_steps = nullptr;
    g_events = nullptr;
    form.reset();
  }
  // Shows the dialog and plays the steps, one per tick.
  void Run(std::vector<Step> steps) {
    g_steps = &steps;
    g_next = 0;
    g_idle = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, Tick);
    form->RunModal();
    KillTimer(nullptr, timer);
    g_steps = nullptr;
    EXPECT_EQ(g_next, steps.size()) << "every step was played";
  }

  static HWND owner;
  Events events;
  std::unique_ptr<INativeForm> form;
};
HWND Win32FormKindsTest::owner = nullptr;

TEST_F(Win32FormKindsTest, ScrollBoxHoldsItsControlsAndScrollsThemWithBarWheelAndTab) {
  ControlDesc boxDesc = Desc(ControlType::ScrollBox, Rect{10, 10, 210, 160});
  boxDesc.contentHeight = 400;
  const ControlId box = form->AddControl(boxDesc);
  ControlDesc top = Desc(ControlType::Edit, Rect{10, 10, 150, 31}, "top");
  top.parent = box;
  ControlDesc low = Desc(ControlType::Edit, Rect{10, 300, 150, 321}, "low");
  low.parent = box;
  const ControlId e1 = form->AddControl(top), e2 = form->AddControl(low);
  HWND boxWindow = nullptr, lowWindow = nullptr;
  std::string wholeContent = "?";
  bool inBox = false, lowFocused = false, lowShows = false;
  LONG lowAt = -1, topAfterTop = -1, topAfterLine = -1, topAfterWheel = -1, topAfterReset = -1;
  Run({
      [&](HWND dialog) {
        boxWindow = Item(dialog, box);
        lowWindow = Item(dialog, e2);
        inBox = GetParent(lowWindow) == boxWindow && GetParent(Item(dialog, e1)) == boxWindow;
        lowAt = InParent(lowWindow).top;
        RECT client{};
        GetClientRect(boxWindow, &client);
        wholeContent = std::to_string(box) + " " + std::to_string(client.right) + " 400";
        form->Focus(e1, false);
        PostMessageA(Item(dialog, e1), WM_KEYDOWN, VK_TAB, 1);
      },
      [&](HWND) {
        lowFocused = GetFocus() == lowWindow;
        RECT client{}, r = InParent(lowWindow);
        GetClientRect(boxWindow, &client);
        lowShows = r.top >= 0 && r.bottom <= client.bottom;
        SendMessageA(boxWindow, WM_VSCROLL, SB_TOP, 0);
      },
      [&](HWND dialog) {
        topAfterTop = InParent(Item(dialog, e1)).top;
        SendMessageA(boxWindow, WM_VSCROLL, SB_LINEDOWN, 0);
        topAfterLine = InParent(Item(dialog, e1)).top;
        // The wheel turned with the pointer over the box's edit.
        RECT r{};
        GetWindowRect(Item(dialog, e1), &r);
        PostMessageA(Item(dialog, e1), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                     MAKELPARAM(r.left + 5, r.bottom - 4));
      },
      [&](HWND dialog) {
        topAfterWheel = InParent(Item(dialog, e1)).top;
        boxDesc.contentHeight = 0;
        form->UpdateControl(box, boxDesc);
        topAfterReset = InParent(Item(dialog, e1)).top;
      },
  });
  EXPECT_TRUE(inBox);
  EXPECT_EQ(lowAt, 300) << "placed in the content's coordinates";
  EXPECT_TRUE(lowFocused);
  EXPECT_TRUE(lowShows) << "Tab to a control below the visible part scrolls it into view";
  EXPECT_EQ(topAfterTop, 10);
  EXPECT_EQ(topAfterLine, -6);
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(topAfterWheel, -6 - 16 * LONG(lines));
  EXPECT_EQ(topAfterReset, 10);
  // The content's background is asked of the logic with the box's id, whole.
  EXPECT_NE(std::find(events.painted.begin(), events.painted.end(), wholeContent), events.painted.end())
      << ::testing::PrintToString(events.painted);
  EXPECT_EQ(std::count_if(events.painted.begin(), events.painted.end(), [](auto& p) { return p[0] == '0'; }) > 0, true);
}

TEST_F(Win32FormKindsTest, TreeViewBuildsTheOutlineAndReportsOnlyTheUsersSelection) {
  ControlDesc d = Desc(ControlType::TreeView, Rect{10, 10, 250, 250});
  d.items = {"A", "A1", "A2", "B", "B1"};
  d.levels = {0, 1, 1, 0, 1};
  d.itemIndex = 4;
  const ControlId tree = form->AddControl(d);
  std::vector<std::string> outline;
  std::string selectedFirst, selectedSet, selectedRight;
  bool editRefused = false;
  size_t eventsBeforeUser = 99, eventsAfterSet = 99;
  auto text = [](HWND h, HTREEITEM item) {
    char s[64] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = s;
    tv.cchTextMax = sizeof s;
    SendMessageA(h, TVM_GETITEMA, 0, LPARAM(&tv));
    return std::string(s);
  };
  auto next = [](HWND h, HTREEITEM item, UINT how) {
    return HTREEITEM(SendMessageA(h, TVM_GETNEXTITEM, how, LPARAM(item)));
  };
  auto center = [](HWND h, HTREEITEM item) {
    RECT r{};
    std::memcpy(&r, &item, sizeof item);  // the item goes in, its rectangle comes out
    SendMessageA(h, TVM_GETITEMRECT, TRUE, LPARAM(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  Run({
      [&](HWND dialog) {
        HWND h = Item(dialog, tree);
        // Each root with its children, as "parent/child".
        for (HTREEITEM root = next(h, nullptr, TVGN_ROOT); root; root = next(h, root, TVGN_NEXT)) {
          outline.push_back(text(h, root));
          for (HTREEITEM c = next(h, root, TVGN_CHILD); c; c = next(h, c, TVGN_NEXT))
            outline.push_back(text(h, root) + "/" + text(h, c));
        }
        selectedFirst = text(h, next(h, nullptr, TVGN_CARET));
        editRefused = SendMessageA(h, TVM_EDITLABELA, 0, LPARAM(next(h, nullptr, TVGN_CARET))) == 0;
        eventsBeforeUser = events.log.size();
        const POINT a2 = center(h, next(h, next(h, next(h, nullptr, TVGN_ROOT), TVGN_CHILD), TVGN_NEXT));
        Click(h, a2.x, a2.y);
      },
      [&](HWND dialog) {
        HWND h = Item(dialog, tree);
        d.itemIndex = 0;
        const size_t before = events.log.size();
        form->UpdateControl(tree, d);
        eventsAfterSet = events.log.size() - before;
        selectedSet = text(h, next(h, nullptr, TVGN_CARET));
        // A right click on B selects it; the pointer is where the click is.
        POINT b = center(h, next(h, next(h, nullptr, TVGN_ROOT), TVGN_NEXT));
        const POINT local = b;
        ClientToScreen(h, &b);
        SetCursorPos(b.x, b.y);
        Click(h, local.x, local.y, true);
      },
      [&](HWND dialog) {
        HWND h = Item(dialog, tree);
        selectedRight = text(h, next(h, nullptr, TVGN_CARET));
      },
  });
  EXPECT_EQ(outline, (std::vector<std::string>{"A", "A/A1", "A/A2", "B", "B/B1"}));
  EXPECT_EQ(selectedFirst, "B1");
  EXPECT_TRUE(editRefused);
  EXPECT_EQ(eventsBeforeUser, 0u) << ::testing::PrintToString(events.log);
  EXPECT_EQ(events.Count("SelectionChanged " + std::to_string(tree) + " 2"), 1) << ::testing::PrintToString(events.log);
  EXPECT_EQ(eventsAfterSet, 0u);
  EXPECT_EQ(selectedSet, "A");
  EXPECT_EQ(selectedRight, "B");
  EXPECT_EQ(events.Count("SelectionChanged " + std::to_string(tree) + " 3"), 1) << ::testing::PrintToString(events.log);
  EXPECT_EQ(events.CountPrefix("SelectionChanged"), 2);
}

TEST_F(Win32FormKindsTest, ListViewShowsColumnsAndRowsReportsSelectionOnceAndAsksForCaptions) {
  ControlDesc d = Desc(ControlType::ListView, Rect{10, 10, 400, 200});
  d.columns = {{"Name", 100}, {"Path", 150}};
  d.rows = {{"uno", "c:\\1"}, {"due", "c:\\2"}, {"tre", "c:\\3"}};
  d.rowImages = {0, -1, 1};
  d.selectedRows = {1};
  d.editCaptions = true;
  const ControlId list = form->AddControl(d);
  const std::string id = std::to_string(list);
  std::vector<std::string> headers;
  std::string cell, captionAccepted, captionRefused;
  LONG style = 0;
  LRESULT exStyle = 0, images = 0, count = 0;
  int image0 = -5, selectedAtStart = -1;
  size_t eventsBeforeUser = 99, eventsAfterSet = 99;
  auto itemText = [](HWND h, int row, int sub) {
    char s[64] = {};
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = s;
    it.cchTextMax = sizeof s;
    SendMessageA(h, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&it));
    return std::string(s);
  };
  auto editTo = [](HWND h, const char* text) {
    HWND edit = HWND(SendMessageA(h, LVM_GETEDITCONTROL, 0, 0));
    if (!edit) return;
    SetWindowTextA(edit, text);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  };
  Run({
      [&](HWND dialog) {
        HWND h = Item(dialog, list);
        for (int c = 0; c < 2; ++c) {
          char s[32] = {};
          LVCOLUMNA col{};
          col.mask = LVCF_TEXT | LVCF_WIDTH;
          col.pszText = s;
          col.cchTextMax = sizeof s;
          SendMessageA(h, LVM_GETCOLUMNA, WPARAM(c), LPARAM(&col));
          headers.push_back(std::string(s) + " " + std::to_string(col.cx));
        }
        count = SendMessageA(h, LVM_GETITEMCOUNT, 0, 0);
        cell = itemText(h, 2, 1);
        style = GetWindowLongA(h, GWL_STYLE);
        exStyle = SendMessageA(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        images = SendMessageA(h, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
        LVITEMA it{};
        it.mask = LVIF_IMAGE;
        SendMessageA(h, LVM_GETITEMA, 0, LPARAM(&it));
        image0 = it.iImage;
        selectedAtStart = int(SendMessageA(h, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
        eventsBeforeUser = events.log.size();
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(h, LVM_GETITEMRECT, 2, LPARAM(&r));
        Click(h, r.left + 10, (r.top + r.bottom) / 2);
      },
      [&](HWND) { form->EditCaption(list, 0); }, [&](HWND dialog) { editTo(Item(dialog, list), "UNO"); },
      [&](HWND dialog) {
        captionAccepted = itemText(Item(dialog, list), 0, 0);
        events.acceptCaptions = false;
        form->EditCaption(list, 1);
      },
      [&](HWND dialog) { editTo(Item(dialog, list), "DUE"); },
      [&](HWND dialog) {
        captionRefused = itemText(Item(dialog, list), 1, 0);
        d.rows[0][0] = "UNO";
        d.selectedRows = {0};
        const size_t before = events.log.size();
        form->UpdateControl(list, d);
        eventsAfterSet = events.log.size() - before;
      },
      [&](HWND) {},  // a selection report posted meanwhile would come now
  });
  EXPECT_EQ(headers, (std::vector<std::string>{"Name 100", "Path 150"}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(cell, "c:\\3");
  EXPECT_TRUE(style & LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_SHAREIMAGELISTS);
  EXPECT_TRUE(style & LVS_EDITLABELS);
  EXPECT_TRUE(exStyle & LVS_EX_FULLROWSELECT);
  EXPECT_NE(images, 0) << "the shell's small icons";
  EXPECT_EQ(image0, 0);
  EXPECT_EQ(selectedAtStart, 1);
  EXPECT_EQ(eventsBeforeUser, 0u) << ::testing::PrintToString(events.log);
  EXPECT_EQ(events.Count("RowsSelected " + id + " 2"), 1) << ::testing::PrintToString(events.log);
  EXPECT_EQ(events.Count("CaptionEdited " + id + " 0 UNO"), 1) << ::testing::PrintToString(events.log);
  EXPECT_EQ(captionAccepted, "UNO");
  EXPECT_EQ(events.Count("CaptionEdited " + id + " 1 DUE"), 1);
  EXPECT_EQ(captionRefused, "due");
  EXPECT_EQ(eventsAfterSet, 0u);
  EXPECT_EQ(events.CountPrefix("RowsSelected"), 1) << ::testing::PrintToString(events.log);
}

TEST_F(Win32FormKindsTest, UpDownReportsEachStepAndLeavesItsEditToTheLogic) {
  const ControlId edit = form->AddControl(Desc(ControlType::Edit, Rect{10, 10, 110, 31}, "5"));
  ControlDesc ud = Desc(ControlType::UpDown, Rect{110, 10, 127, 31});
  ud.buddy = edit;
  const ControlId updown = form->AddControl(ud);
  const std::string id = std::to_string(updown);
  bool buddy = false, noSetInt = false, apart = false;
  std::string textAfter;
  Run({
      [&](HWND dialog) {
        HWND u = Item(dialog, updown), e = Item(dialog, edit);
        buddy = HWND(SendMessageA(u, UDM_GETBUDDY, 0, 0)) == e;
        noSetInt = !(GetWindowLongA(u, GWL_STYLE) & UDS_SETBUDDYINT);
        apart = InParent(e).right <= InParent(u).left + 2;
        RECT r{};
        GetClientRect(u, &r);
        Click(u, r.right / 2, r.bottom / 4);  // the upper arrow
      },
      [&](HWND dialog) {
        RECT r{};
        GetClientRect(Item(dialog, updown), &r);
        Click(Item(dialog, updown), r.right / 2, r.bottom * 3 / 4);
      },
      [&](HWND dialog) {
        form->Focus(edit, false);
        PostMessageA(Item(dialog, edit), WM_KEYDOWN, VK_UP, 1);
      },
      [&](HWND dialog) { textAfter = Text(Item(dialog, edit)); },
  });
  EXPECT_TRUE(buddy);
  EXPECT_TRUE(noSetInt);
  EXPECT_TRUE(apart) << "the edit gives the up-down its right edge";
  EXPECT_EQ(events.log, (std::vector<std::string>{"Spun " + id + " 1", "Spun " + id + " -1", "Spun " + id + " 1"}));
  EXPECT_EQ(textAfter, "5");
}

TEST_F(Win32FormKindsTest, EditsShowPasswordCharColourAndAButtonThatClicksTheEdit) {
  ControlDesc pw = Desc(ControlType::Edit, Rect{10, 10, 150, 31}, "secret");
  pw.passwordChar = '*';
  ControlDesc col = Desc(ControlType::Edit, Rect{10, 40, 150, 61}, "yellow");
  col.background = RGB(255, 255, 0);
  ControlDesc file = Desc(ControlType::Edit, Rect{10, 70, 150, 91}, "c:\\");
  file.hasButton = true;
  const ControlId p = form->AddControl(pw), c = form->AddControl(col), f = form->AddControl(file);
  LRESULT passwordChar = 0, passwordAfter = -1;
  bool passwordStyle = false, yellow = false, plainAfter = false, buttonGone = false;
  RECT button{}, edit{}, editAfter{};
  auto brushColour = [](HWND dialog, HWND h) -> COLORREF {
    HDC dc = GetDC(h);
    auto brush = HBRUSH(SendMessageA(dialog, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(h)));
    ReleaseDC(h, dc);
    LOGBRUSH lb{};
    return brush && GetObjectA(brush, sizeof lb, &lb) ? lb.lbColor : CLR_INVALID;
  };
  Run({
      [&](HWND dialog) {
        passwordChar = SendMessageA(Item(dialog, p), EM_GETPASSWORDCHAR, 0, 0);
        passwordStyle = GetWindowLongA(Item(dialog, p), GWL_STYLE) & ES_PASSWORD;
        yellow = brushColour(dialog, Item(dialog, c)) == RGB(255, 255, 0);
        HWND b = Item(dialog, f, "Button");
        button = b ? InParent(b) : RECT{};
        edit = InParent(Item(dialog, f));
        if (b) PostMessageA(b, BM_CLICK, 0, 0);
      },
      [&](HWND dialog) {
        col.background = kNoColor;
        form->UpdateControl(c, col);
        plainAfter = brushColour(dialog, Item(dialog, c)) != RGB(255, 255, 0);
        file.hasButton = false;
        form->UpdateControl(f, file);
        buttonGone = Item(dialog, f, "Button") == nullptr;
        editAfter = InParent(Item(dialog, f));
        pw.passwordChar = 0;
        form->UpdateControl(p, pw);
        passwordAfter = SendMessageA(Item(dialog, p), EM_GETPASSWORDCHAR, 0, 0);
      },
  });
  EXPECT_EQ(passwordChar, '*');
  EXPECT_TRUE(passwordStyle);
  EXPECT_EQ(passwordAfter, 0);
  EXPECT_TRUE(yellow);
  EXPECT_TRUE(plainAfter);
  EXPECT_EQ(button.right, 150) << "inside the edit's bounds, at the right";
  EXPECT_GT(button.right - button.left, 10);
  EXPECT_EQ(edit.right, button.left);
  EXPECT_EQ(events.log, (std::vector<std::string>{"Clicked " + std::to_string(f)}));
  EXPECT_TRUE(buttonGone);
  EXPECT_EQ(editAfter.right, 150);
}

TEST_F(Win32FormKindsTest, DatePickerAndSplitterReportOnlyWhatTheUserDoes) {
  ControlDesc dp = Desc(ControlType::DatePicker, Rect{10, 10, 160, 31});
  dp.date = DateTime{2021, 3, 4};
  const ControlId date = form->AddControl(dp);
  const ControlId split = form->AddControl(Desc(ControlType::Splitter, Rect{200, 10, 204, 200}));
  LRESULT first = -1, none = -1, second = -1;
  SYSTEMTIME st1{}, st2{};
  bool sizeCursor = false;
  size_t eventsAfterSet = 99;
  Run({
      [&](HWND dialog) {
        HWND h = Item(dialog, date);
        first = SendMessageA(h, DTM_GETSYSTEMTIME, 0, LPARAM(&st1));
        dp.hasDate = false;
        form->UpdateControl(date, dp);
        none = SendMessageA(h, DTM_GETSYSTEMTIME, 0, LPARAM(&st2));
        dp.hasDate = true;
        dp.date = DateTime{2022, 12, 31};
        form->UpdateControl(date, dp);
        second = SendMessageA(h, DTM_GETSYSTEMTIME, 0, LPARAM(&st2));
        eventsAfterSet = events.log.size();
        // The user clears the date with its check box.
        if (HWND check = FindWindowExA(h, nullptr, "Button", nullptr))
          PostMessageA(check, BM_CLICK, 0, 0);
        else
          Click(h, 7, 10);
      },
      [&](HWND dialog) {
        HWND s = Item(dialog, split);
        SendMessageA(s, WM_SETCURSOR, WPARAM(s), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        sizeCursor = GetCursor() == LoadCursorA(nullptr, IDC_SIZEWE);
        PostMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50));
        PostMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 55));
        PostMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(32, 60));
      },
  });
  EXPECT_EQ(first, GDT_VALID);
  EXPECT_EQ(st1.wYear * 10000 + st1.wMonth * 100 + st1.wDay, 20210304);
  EXPECT_EQ(none, GDT_NONE);
  EXPECT_EQ(second, GDT_VALID);
  EXPECT_EQ(st2.wYear * 10000 + st2.wMonth * 100 + st2.wDay, 20221231);
  EXPECT_EQ(eventsAfterSet, 0u) << ::testing::PrintToString(events.log);
  EXPECT_EQ(events.Count("DateChanged " + std::to_string(date) + " 0"), 1) << ::testing::PrintToString(events.log);
  EXPECT_TRUE(sizeCursor);
  EXPECT_EQ(events.Count("Dragged " + std::to_string(split) + " 30 0"), 1) << ::testing::PrintToString(events.log);
}

TEST_F(Win32FormKindsTest, TooltipsFollowTheDescriptionsAndTheFramesMovesAreReported) {
  ControlDesc a = Desc(ControlType::Label, Rect{10, 10, 100, 25}, "label");
  a.tooltip = "one";
  ControlDesc b = Desc(ControlType::Edit, Rect{10, 30, 100, 51});
  b.tooltip = "two";
  ControlDesc c = Desc(ControlType::Edit, Rect{10, 60, 100, 81});
  form->AddControl(a);
  const ControlId eb = form->AddControl(b), ec = form->AddControl(c);
  LRESULT count = -1, countRemoved = -1, countAdded = -1;
  std::string tipText;
  size_t framesBeforeMove = 99;
  RECT client{};
  POINT clientOrigin{};
  Point origin{-1, -1};
  Run({
      [&](HWND dialog) {
        struct Find {
          HWND dialog, tip;
        } find{dialog, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM p) -> BOOL {
              auto* f = reinterpret_cast<Find*>(p);
              char cls[64] = {};
              GetClassNameA(h, cls, sizeof cls);
              if (_stricmp(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(h, GW_OWNER) == f->dialog) f->tip = h;
              return TRUE;
            },
            LPARAM(&find));
        HWND tip = find.tip;
        count = tip ? SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) : -1;
        b.tooltip.clear();
        form->UpdateControl(eb, b);
        countRemoved = tip ? SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) : -1;
        c.tooltip = "three";
        form->UpdateControl(ec, c);
        c.tooltip = "four";
        form->UpdateControl(ec, c);
        countAdded = tip ? SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) : -1;
        char text[64] = {};
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = dialog;
        ti.uId = UINT_PTR(Item(dialog, ec));
        ti.lpszText = text;
        if (tip) SendMessageA(tip, TTM_GETTEXTA, sizeof text, LPARAM(&ti));
        tipText = text;
        framesBeforeMove = events.frames.size();
        GetClientRect(dialog, &client);
        RECT w{};
        GetWindowRect(dialog, &w);
        MoveWindow(dialog, 50, 60, w.right - w.left, w.bottom - w.top + 20, TRUE);
        // Where the client area begins, below the title bar: menus opened
        // under a control count from there.
        ClientToScreen(dialog, &clientOrigin);
        origin = form->ClientOrigin();
      },
  });
  EXPECT_EQ(origin.x, clientOrigin.x);
  EXPECT_EQ(origin.y, clientOrigin.y);
  EXPECT_GT(origin.y, 60) << "the title bar lies above the client area";
  EXPECT_EQ(count, 2);
  EXPECT_EQ(countRemoved, 1);
  EXPECT_EQ(countAdded, 2);
  EXPECT_EQ(tipText, "four");
  EXPECT_EQ(framesBeforeMove, 1u) << "where it appeared is told once";
  const std::string moved =
      "FrameChanged 50 60 " + std::to_string(50 + client.right) + " " + std::to_string(60 + client.bottom + 20);
  ASSERT_EQ(events.frames.size(), 2u) << ::testing::PrintToString(events.frames);
  EXPECT_EQ(events.frames[1], moved);
}

// Every kind on one dialog, for the eye: written as kinds.bmp when
// TOVIRA_SCREENSHOTS names a folder.
TEST_F(Win32FormKindsTest, EveryKindTogether) {
  ControlDesc boxDesc = Desc(ControlType::ScrollBox, Rect{10, 10, 200, 130});
  boxDesc.contentHeight = 300;
  const ControlId box = form->AddControl(boxDesc);
  for (int i = 0; i < 5; ++i) {
    ControlDesc e = Desc(ControlType::Edit, Rect{8, 8 + i * 56, 160, 29 + i * 56}, "in the box " + std::to_string(i));
    e.parent = box;
    form->AddControl(e);
  }
  ControlDesc tree = Desc(ControlType::TreeView, Rect{210, 10, 410, 130});
  tree.items = {"Bar", "Buttons", "Colours", "Programs", "Folders"};
  tree.levels = {0, 1, 1, 0, 1};
  tree.itemIndex = 2;
  form->AddControl(tree);
  ControlDesc list = Desc(ControlType::ListView, Rect{10, 140, 410, 230});
  list.columns = {{"Name", 120}, {"Path", 240}};
  list.rows = {{"Notepad", "C:\\windows\\notepad.exe"}, {"Wordpad", "C:\\Program Files\\wordpad.exe"}};
  list.rowImages = {2, 3};
  list.selectedRows = {1};
  form->AddControl(list);
  const ControlId spin = form->AddControl(Desc(ControlType::Edit, Rect{10, 240, 80, 261}, "12"));
  ControlDesc ud = Desc(ControlType::UpDown, Rect{80, 240, 97, 261});
  ud.buddy = spin;
  form->AddControl(ud);
  ControlDesc date = Desc(ControlType::DatePicker, Rect{110, 240, 250, 261});
  date.date = DateTime{2024, 5, 17};
  form->AddControl(date);
  ControlDesc file = Desc(ControlType::Edit, Rect{260, 240, 410, 261}, "C:\\tovira.ini");
  file.hasButton = true;
  file.tooltip = "The settings file";
  form->AddControl(file);
  ControlDesc pw = Desc(ControlType::Edit, Rect{10, 270, 200, 291}, "secret");
  pw.passwordChar = '*';
  form->AddControl(pw);
  ControlDesc colour = Desc(ControlType::Edit, Rect{210, 270, 410, 291}, "coloured field");
  colour.background = RGB(255, 255, 200);
  form->AddControl(colour);
  form->AddControl(Desc(ControlType::Splitter, Rect{10, 300, 410, 304}));
  Run({
      [&](HWND dialog) { SendMessageA(Item(dialog, box), WM_VSCROLL, SB_LINEDOWN, 0); },
      [&](HWND dialog) { testing::SaveScreenshot(dialog, "kinds"); },
  });
  EXPECT_TRUE(events.log.empty()) << ::testing::PrintToString(events.log);
}

// A scalable face the font dialog lists: Tahoma where it is, else the first one.
std::string ScreenFontFace() {
  std::vector<std::string> faces;
  HDC dc = GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(
      dc, &lf,
      [](const LOGFONTA* f, const TEXTMETRICA*, DWORD type, LPARAM p) -> int {
        if ((type & TRUETYPE_FONTTYPE) && f->lfFaceName[0] != '@')
          reinterpret_cast<std::vector<std::string>*>(p)->push_back(f->lfFaceName);
        return 1;
      },
      LPARAM(&faces), 0);
  ReleaseDC(nullptr, dc);
  for (const char* wanted : {"Tahoma", "DejaVu Sans", "Liberation Sans"})
    if (std::find(faces.begin(), faces.end(), wanted) != faces.end()) return wanted;
  return faces.empty() ? "Tahoma" : faces.front();
}

// The common dialogs, played by a timer of their own loops.
struct CommonDialogsTest : ::testing::Test {
  void SetUp() override { TOVIRA_SKIP_WITHOUT_DISPLAY(); }
  // Runs call while the timer does what to the dialog once it shows.
  template <typename Call>
  auto Answer(std::function<void(HWND)> what, Call call) {
    g_what = &what;
    g_done = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
      HWND dlg = FindWindowA("#32770", nullptr);
      if (!g_what || g_done || !dlg || !IsWindowVisible(dlg)) return;
      DWORD pid = 0;
      if (GetWindowThreadProcessId(dlg, &pid) != GetCurrentThreadId()) return;
      g_done = true;
      (*g_what)(dlg);
    });
    auto result = call();
    KillTimer(nullptr, timer);
    g_what = nullptr;
    return result;
  }
  static void Press(HWND dlg, int id) { PostMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
  // The file name as typed into the dialog's name field.
  static void TypeName(HWND dlg, const char* name) {
    HWND field = GetDlgItem(dlg, edt1);
    if (!field) field = GetDlgItem(dlg, cmb13);
    SetWindowTextA(field, name);
    Press(dlg, IDOK);
  }
  static std::function<void(HWND)>* g_what;
  static bool g_done;
  win32::Win32Dialogs dialogs;
};
std::function<void(HWND)>* CommonDialogsTest::g_what = nullptr;
bool CommonDialogsTest::g_done = false;

TEST_F(CommonDialogsTest, ColourAndFontComeBackAsOpenedOrNotAtAllWhenCancelled) {
  Color chosen = 0;
  EXPECT_TRUE(
      Answer([](HWND d) { Press(d, IDOK); }, [&] { return dialogs.ChooseColor(0, RGB(10, 200, 30), &chosen); }));
  EXPECT_EQ(chosen, RGB(10, 200, 30));
  chosen = 7;
  EXPECT_FALSE(
      Answer([](HWND d) { Press(d, IDCANCEL); }, [&] { return dialogs.ChooseColor(0, RGB(1, 2, 3), &chosen); }));
  EXPECT_EQ(chosen, 7u);

  FontSpec font;
  font.name = ScreenFontFace();
  font.size = 10;
  font.style = kFontBold | kFontUnderline;
  font.color = RGB(128, 0, 0);
  FontSpec asked = font;
  EXPECT_TRUE(Answer([](HWND d) { Press(d, IDOK); }, [&] { return dialogs.ChooseFont(0, &font); }));
  EXPECT_EQ(font.name, asked.name);
  EXPECT_EQ(font.size, 10);
  EXPECT_EQ(font.style, asked.style);
  EXPECT_EQ(font.color, asked.color);
  font.size = 30;
  EXPECT_FALSE(Answer([](HWND d) { Press(d, IDCANCEL); }, [&] { return dialogs.ChooseFont(0, &font); }));
  EXPECT_EQ(font.size, 30);
}

TEST_F(CommonDialogsTest, FilesAreChosenByNameInTheFolderGiven) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string dir = temp;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  const std::string existing = dir + "\\tovira-open.txt";
  std::ofstream(existing) << "x";
  FileDialogRequest request;
  request.title = "Open a list";
  request.filter = "Text (*.txt)|*.txt|All files|*.*";
  request.initialDir = dir;
  std::string chosen;
  EXPECT_TRUE(Answer([](HWND d) { TypeName(d, "tovira-open.txt"); },
                     [&] { return dialogs.OpenFileName(0, request, &chosen); }));
  EXPECT_EQ(_stricmp(chosen.c_str(), existing.c_str()), 0) << chosen;

  request.defaultExt = "txt";
  request.fileName = "proposed";
  EXPECT_TRUE(
      Answer([](HWND d) { TypeName(d, "tovira-saved"); }, [&] { return dialogs.SaveFileName(0, request, &chosen); }));
  EXPECT_EQ(_stricmp(chosen.c_str(), (dir + "\\tovira-saved.txt").c_str()), 0) << chosen;

  chosen = "unchanged";
  EXPECT_FALSE(Answer([](HWND d) { Press(d, IDCANCEL); }, [&] { return dialogs.SaveFileName(0, request, &chosen); }));
  EXPECT_EQ(chosen, "unchanged");
  DeleteFileA(existing.c_str());
}

}  // namespace
}  // namespace tov
