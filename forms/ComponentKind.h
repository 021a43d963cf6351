// The kinds of component a form is made of. Each kind carries the class name
// that language files and pictures refer to ("TLabel", "TBitBtn", ...), so a
// language file written for those classes keeps working whatever draws them.
#pragma once
#include <string>

namespace tov {

enum class ComponentKind {
  // Windows and modules.
  Form,
  DataModule,
  // Components whose texts language files translate.
  SpeedItem,    // an item of a button strip
  Label,        // static text; "§" in a translated caption breaks the line
  Button,       // push button, possibly with a picture
  SpeedButton,  // flat tool button
  PngButton,    // button drawn from PNG pictures (normal, over, down)
  GroupBox,
  Panel,
  FlatPanel,  // panel with its own highlight and shadow colours
  MenuItem,   // caption "-" is a separator
  CheckBox,
  ScrollText,  // scrolling text panel with lines
  HintBox,     // rich hint window with lines
  ComboBox,
  Edit,
  ListView,
  // Components language files leave alone.
  MainMenu,
  PopupMenu,
  Image,
  ListBox,
  Memo,
  RadioButton,
  SpinEdit,
  TrackBar,
  PageControl,
  TabSheet,
  ScrollBox,
  TreeView,
  ColorBox,
  Shape,
  Bevel,
  Timer,
  ImageList,
  FormPlacement,  // saves and restores a window's position
  UpDown,         // spin arrows stepping the number of an edit ("Associate")
  DateTimePicker,
  Splitter,       // a bar that resizes the control aligned before it
  ComboEdit,      // an edit with a button at its right edge ("OnButtonClick")
  DirectoryEdit,  // an edit whose button browses for a folder
  FilenameEdit,   // an edit whose button browses for a file
  Other,
};

struct ComponentKindInfo {
  ComponentKind kind;
  const char* className;  // the class name language files and pictures know
  const char* baseClass;  // the class it derives from among the known ones, or ""
  bool control;           // a visible control (menus, timers and lists of images are not)
  bool container;         // a control that holds child controls
};

const ComponentKindInfo& KindInfo(ComponentKind kind);
// The kind whose class name is given (without regard to case), or Other.
ComponentKind KindFromClassName(const std::string& className);

}  // namespace tov
