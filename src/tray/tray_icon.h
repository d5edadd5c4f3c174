// The program's icon in the notification area: its picture taken from an
// image list, its tip, and what the mouse on it does (the menu on the right
// button, the menu's default item on a double click).
#pragma once

#include <string>

#include "tray/image_list.h"
#include "ui/event.h"
#include "ui/popup_menu.h"
#include "ui/timer.h"

namespace tray {

enum class TrayCommand { Add, Modify, Delete };

// The mouse messages the shell reports for the icon.
enum class TrayMouse {
  Move,
  LeftDown,
  LeftUp,
  LeftDoubleClick,
  RightDown,
  RightUp,
  MiddleDown,
  MiddleUp,
  Other,
};

// What a backend does for the tray icon.
class TrayPeer : public ui::Peer {
 public:
  // The icon's state reaches the shell only through Notify.
  void Update(ui::Change) override {}
  // Hands the icon with the tray's current picture and tip to the shell;
  // true when the shell accepted it.
  virtual bool Notify(TrayCommand command) = 0;
  // Brings the program to the front and shows the menu at the cursor.
  virtual void ShowMenu(ui::PopupMenu& menu) = 0;
};

class TCoolTrayIcon : public ui::Component {
 public:
  // With ui::kHidden the icon starts hidden; otherwise IconVisible is true.
  TCoolTrayIcon(ui::Form& owner, std::string name, ImageList* icon_list = nullptr,
                ui::PopupMenu* popup_menu = nullptr, ui::Options options = ui::kNoOptions);
  // Takes the icon out of the notification area.
  ~TCoolTrayIcon() override;

  ImageList* IconList() const { return icon_list_; }
  // Shows the list's first picture.
  void SetIconList(ImageList* list);
  int IconIndex() const { return icon_index_; }
  // An index past the list's end shows its last picture.
  void SetIconIndex(int index);
  bool IconVisible() const { return icon_visible_; }
  // Adds or removes the icon, whatever the current state.
  void SetIconVisible(bool visible);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show_hint);
  // Mouse notifications are handled only while enabled.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  ui::PopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(ui::PopupMenu* menu) { popup_menu_ = menu; }

  // What the notification area shows: the current picture (null before any
  // was taken from a list) and the tip.
  const PicturePtr& Picture() const { return picture_; }
  std::string Tip() const;

  // Each returns whether the shell accepted the call; false without a peer.
  bool AddTrayIcon();
  bool RemoveTrayIcon();
  bool UpdateTrayIcon();

  // The shell reported a mouse message on the icon.
  void MouseNotification(TrayMouse message);
  // The taskbar was created anew, without the icon.
  void TaskbarCreated();

  // Runs one double-click time after the left button went down, to tell a
  // single click from the first half of a double click. The peer sets the
  // system's double-click time as its interval.
  ui::Timer SingleClickTimer;

  // A single left click, reported once it cannot become a double click.
  ui::Event<> OnClick;
  ui::Event<> OnDblClick;

 private:
  bool Notify(TrayCommand command);
  void LeftButtonDown();
  void LeftButtonUp();
  void LeftDoubleClick();
  void ShowTrayMenu();
  void SingleClickTimerTick();

  ImageList* icon_list_ = nullptr;
  int icon_index_ = 0;
  bool icon_visible_ = true;
  std::string hint_;
  bool show_hint_ = true;
  bool enabled_ = true;
  ui::PopupMenu* popup_menu_;
  PicturePtr picture_;

  bool left_went_down_ = false;
  bool click_ready_ = false;
  bool double_clicked_ = false;
};

}  // namespace tray
