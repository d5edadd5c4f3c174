#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_dialogs.h"
#include "fake_system.h"
#include "tray/image_list.h"
#include "tray/tray_icon.h"
#include "tray/tray_tip.h"
#include "ui/application.h"

namespace {

using tray::ImageList;
using tray::TCoolTrayIcon;
using tray::TrayCommand;
using tray::TrayMouse;

// The hidden main form's part that goes with the tray icon.
class TrayForm : public ui::Form {
 public:
  TrayForm(ui::Application& app, test::FakeSystem& system)
      : Form(app, "TMain", {192, 106, 205, 41}, "FMain", {}), system_(system) {}

 private:
  test::FakeSystem& system_;

 public:
  ImageList ILTrayIcons{*this, "ILTrayIcons", tray::ProgressPictures(system_)};
  ImageList ILTrayIconsXP{*this, "ILTrayIconsXP", tray::ProgressPictures(system_)};
  ui::PopupMenu PopupMenu{*this, "PopupMenu"};
  ui::MenuItem MIWiederherstellen{PopupMenu, "MIWiederherstellen", "Wiederherstellen",
                                  ui::kDefaultItem};
  ui::MenuItem N1{PopupMenu, "N1", "-", ui::kSeparator};
  ui::MenuItem MIAbbrechen{PopupMenu, "MIAbbrechen", "Abbrechen"};
  TCoolTrayIcon TrayIcon{*this, "TrayIcon", &ILTrayIcons, &PopupMenu, ui::kHidden};
};

// What the shell was asked to do, with the picture (its height is the
// progress state of the fake's pictures) and tip of that moment.
struct ShellCall {
  TrayCommand command;
  int picture_height;
  std::string tip;
};

struct ShellLog {
  std::vector<ShellCall> calls;
  std::vector<ui::PopupMenu*> menus_shown;
  bool accept = true;
};

class RecordingTrayPeer : public tray::TrayPeer {
 public:
  RecordingTrayPeer(const TCoolTrayIcon& tray, ShellLog& log) : tray_(tray), log_(log) {}
  bool Notify(TrayCommand command) override {
    const auto& picture = tray_.Picture();
    log_.calls.push_back({command, picture ? picture->Height() : -1, tray_.Tip()});
    return log_.accept;
  }
  void ShowMenu(ui::PopupMenu& menu) override { log_.menus_shown.push_back(&menu); }

 private:
  const TCoolTrayIcon& tray_;
  ShellLog& log_;
};

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    form->MIWiederherstellen.OnClick.Bind([this] { ++restores; });
    form->MIAbbrechen.OnClick.Bind([this] { ++cancels; });
    tray().OnClick.Bind([this] { ++clicks; });
    tray().OnDblClick.Bind([this] { ++double_clicks; });
  }

  TCoolTrayIcon& tray() { return form->TrayIcon; }
  void AttachRecorder() { tray().AttachPeer(std::make_unique<RecordingTrayPeer>(tray(), log)); }
  // The progress state of the fake's picture; -1 for none.
  int ShownPicture() { return tray().Picture() ? tray().Picture()->Height() : -1; }
  void Mouse(std::initializer_list<TrayMouse> messages) {
    for (TrayMouse message : messages) tray().MouseNotification(message);
  }

  ShellLog log;
  test::FakeSystem system;
  test::FakeDialogs dialogs;
  ui::Application app{dialogs};
  std::unique_ptr<TrayForm> form = std::make_unique<TrayForm>(app, system);
  int restores = 0, cancels = 0, clicks = 0, double_clicks = 0;
};

TEST_F(TrayIconTest, AfterLoadingTheFirstProgressPictureIsCurrentAndNoIconIsShown) {
  EXPECT_EQ(tray().IconList(), &form->ILTrayIcons);
  EXPECT_EQ(tray().IconIndex(), 0);
  EXPECT_EQ(ShownPicture(), 0);
  EXPECT_FALSE(tray().IconVisible());
  EXPECT_TRUE(tray().Enabled());
  EXPECT_TRUE(tray().ShowHint());
  EXPECT_EQ(tray().PopupMenu(), &form->PopupMenu);
}

TEST_F(TrayIconTest, DeclaredWithoutOptionsTheIconIsVisibleAndEmpty) {
  TCoolTrayIcon plain(*form, "Plain");
  EXPECT_TRUE(plain.IconVisible());
  EXPECT_EQ(plain.IconList(), nullptr);
  EXPECT_EQ(plain.Picture(), nullptr);
  EXPECT_EQ(plain.PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, IndexSelectsAProgressPictureAndIsClampedToTheLastOne) {
  ASSERT_EQ(form->ILTrayIcons.Count(), tray::kProgressStates);
  for (int state : {0, 5, 11, 16}) {
    tray().SetIconIndex(state);
    EXPECT_EQ(tray().IconIndex(), state);
    EXPECT_EQ(ShownPicture(), state);
  }
  tray().SetIconIndex(17);
  EXPECT_EQ(tray().IconIndex(), 16);
  EXPECT_EQ(ShownPicture(), 16);
  tray().SetIconIndex(1000);
  EXPECT_EQ(tray().IconIndex(), 16);
}

TEST_F(TrayIconTest, OnAOnePictureListEveryIndexShowsTheProgramIcon) {
  form->ILTrayIconsXP.Clear();
  const auto icon = system.ProgramIcon();
  form->ILTrayIconsXP.Add(icon);
  tray().SetIconList(&form->ILTrayIconsXP);
  for (int state : {0, 1, 16}) {
    tray().SetIconIndex(state);
    EXPECT_EQ(tray().IconIndex(), 0);
    EXPECT_EQ(tray().Picture(), icon);
  }
}

TEST_F(TrayIconTest, AssigningAListResetsTheIndexToItsFirstPicture) {
  tray().SetIconIndex(9);
  tray().SetIconList(&form->ILTrayIcons);
  EXPECT_EQ(tray().IconIndex(), 0);
  EXPECT_EQ(ShownPicture(), 0);

  form->ILTrayIconsXP.Clear();
  form->ILTrayIconsXP.Add(system.ProgramIcon());
  tray().SetIconIndex(9);
  tray().SetIconList(&form->ILTrayIconsXP);
  EXPECT_EQ(tray().IconIndex(), 0);
  EXPECT_EQ(ShownPicture(), 32);
}

TEST_F(TrayIconTest, WithoutAListTheIndexIsZeroAndThePictureStays) {
  tray().SetIconIndex(7);
  tray().SetIconList(nullptr);
  EXPECT_EQ(tray().IconIndex(), 0);
  EXPECT_EQ(ShownPicture(), 7);
  tray().SetIconIndex(12);
  EXPECT_EQ(tray().IconIndex(), 0);
  EXPECT_EQ(ShownPicture(), 7);
}

TEST_F(TrayIconTest, AnEmptyListLeavesNoPicture) {
  form->ILTrayIconsXP.Clear();
  tray().SetIconList(&form->ILTrayIconsXP);
  EXPECT_EQ(tray().IconIndex(), -1);
  EXPECT_EQ(tray().Picture(), nullptr);
}

TEST(TrayTip, IsTheHintCutTo127CharactersWhenShown) {
  EXPECT_EQ(tray::TrayTip("Office - Installiere (40%)", true), "Office - Installiere (40%)");
  EXPECT_EQ(tray::TrayTip("Office", false), "");
  EXPECT_EQ(tray::TrayTip("", true), "");
  EXPECT_EQ(tray::TrayTip(std::string(127, 'x'), true), std::string(127, 'x'));
  EXPECT_EQ(tray::TrayTip(std::string(200, 'x'), true), std::string(127, 'x'));
}

TEST(TrayTip, CountsCharactersAsTheShellDoesAndNeverSplitsOne) {
  std::string umlauts;
  for (int i = 0; i < 130; ++i) umlauts += "ä";
  EXPECT_EQ(tray::TrayTip(umlauts, true), umlauts.substr(0, 127 * 2));

  // A character outside the basic plane takes two of the 127 places.
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_EQ(tray::TrayTip(std::string(125, 'a') + emoji, true), std::string(125, 'a') + emoji);
  EXPECT_EQ(tray::TrayTip(std::string(126, 'a') + emoji + "b", true), std::string(126, 'a'));
  EXPECT_EQ(tray::TrayTip(std::string(126, 'a') + "€" + "b", true), std::string(126, 'a') + "€");
}

TEST_F(TrayIconTest, TheTipFollowsHintAndShowHint) {
  AttachRecorder();
  tray().SetHint(std::string(150, 'h'));
  EXPECT_EQ(tray().Hint(), std::string(150, 'h'));
  EXPECT_EQ(tray().Tip(), std::string(127, 'h'));
  tray().SetShowHint(false);
  EXPECT_EQ(tray().Tip(), "");
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].command, TrayCommand::Modify);
  EXPECT_EQ(log.calls[0].tip, std::string(127, 'h'));
  EXPECT_EQ(log.calls[1].command, TrayCommand::Modify);
  EXPECT_EQ(log.calls[1].tip, "");
}

TEST_F(TrayIconTest, VisibilityAddsOrDeletesWhateverTheCurrentState) {
  AttachRecorder();
  tray().SetHint("Paket 1");
  tray().SetIconVisible(true);
  tray().SetIconVisible(true);
  EXPECT_TRUE(tray().IconVisible());
  tray().SetIconVisible(false);
  tray().SetIconVisible(false);
  EXPECT_FALSE(tray().IconVisible());
  ASSERT_EQ(log.calls.size(), 5u);
  EXPECT_EQ(log.calls[1].command, TrayCommand::Add);
  EXPECT_EQ(log.calls[1].tip, "Paket 1");
  EXPECT_EQ(log.calls[1].picture_height, 0);
  EXPECT_EQ(log.calls[2].command, TrayCommand::Add);
  EXPECT_EQ(log.calls[3].command, TrayCommand::Delete);
  EXPECT_EQ(log.calls[4].command, TrayCommand::Delete);
}

TEST_F(TrayIconTest, EachProgressStepModifiesTheIconWithItsPictureThenItsTip) {
  AttachRecorder();
  tray().SetIconVisible(true);
  tray().SetIconIndex(5);
  tray().SetHint("Office - Installiere (33%)");
  ASSERT_EQ(log.calls.size(), 3u);
  EXPECT_EQ(log.calls[1].command, TrayCommand::Modify);
  EXPECT_EQ(log.calls[1].picture_height, 5);
  EXPECT_EQ(log.calls[1].tip, "");
  EXPECT_EQ(log.calls[2].command, TrayCommand::Modify);
  EXPECT_EQ(log.calls[2].tip, "Office - Installiere (33%)");
}

TEST_F(TrayIconTest, OperationsReportWhatTheShellAnswered) {
  EXPECT_FALSE(tray().AddTrayIcon());  // no shell without a peer
  EXPECT_TRUE(tray().IconVisible());
  AttachRecorder();
  EXPECT_TRUE(tray().UpdateTrayIcon());
  log.accept = false;
  EXPECT_FALSE(tray().RemoveTrayIcon());
  EXPECT_FALSE(tray().IconVisible());
}

TEST_F(TrayIconTest, DestroyingTheComponentDeletesTheIcon) {
  AttachRecorder();
  tray().SetIconVisible(true);
  form.reset();
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls.back().command, TrayCommand::Delete);
}

TEST_F(TrayIconTest, TaskbarCreatedAddsTheIconAgainOnlyWhileItIsVisible) {
  AttachRecorder();
  tray().TaskbarCreated();
  EXPECT_TRUE(log.calls.empty());

  tray().SetIconVisible(true);
  tray().SetIconIndex(11);
  tray().SetHint("Office - Installiere (67%)");
  log.calls.clear();
  tray().TaskbarCreated();
  ASSERT_EQ(log.calls.size(), 1u);
  EXPECT_EQ(log.calls[0].command, TrayCommand::Add);
  EXPECT_EQ(log.calls[0].picture_height, 11);
  EXPECT_EQ(log.calls[0].tip, "Office - Installiere (67%)");

  tray().SetIconVisible(false);
  log.calls.clear();
  tray().TaskbarCreated();
  EXPECT_TRUE(log.calls.empty());
}

TEST_F(TrayIconTest, TheMenuOpensWhenTheRightButtonGoesDown) {
  AttachRecorder();
  Mouse({TrayMouse::Move, TrayMouse::MiddleDown, TrayMouse::MiddleUp});
  EXPECT_TRUE(log.menus_shown.empty());
  Mouse({TrayMouse::RightDown});
  ASSERT_EQ(log.menus_shown.size(), 1u);
  EXPECT_EQ(log.menus_shown[0], &form->PopupMenu);
  Mouse({TrayMouse::RightUp, TrayMouse::Other});
  EXPECT_EQ(log.menus_shown.size(), 1u);
  EXPECT_EQ(restores + cancels + clicks, 0);
}

TEST_F(TrayIconTest, WithoutAMenuTheRightButtonAndTheDoubleClickDoNothing) {
  AttachRecorder();
  tray().SetPopupMenu(nullptr);
  Mouse({TrayMouse::RightDown, TrayMouse::LeftDoubleClick});
  EXPECT_TRUE(log.menus_shown.empty());
  EXPECT_EQ(restores, 0);
  EXPECT_EQ(double_clicks, 1);
}

TEST_F(TrayIconTest, ADoubleClickRunsTheDefaultItemOnceAndNoSingleClick) {
  Mouse({TrayMouse::LeftDown, TrayMouse::LeftUp, TrayMouse::LeftDoubleClick, TrayMouse::LeftUp});
  EXPECT_EQ(restores, 1);
  EXPECT_EQ(cancels, 0);
  EXPECT_EQ(double_clicks, 1);
  tray().SingleClickTimer.Tick();
  EXPECT_FALSE(tray().SingleClickTimer.Enabled());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(restores, 1);
}

TEST_F(TrayIconTest, AThirdPressWithinTheDoubleClickTimeGivesNoSingleClick) {
  Mouse({TrayMouse::LeftDown, TrayMouse::LeftUp, TrayMouse::LeftDoubleClick, TrayMouse::LeftDown,
         TrayMouse::LeftUp});
  tray().SingleClickTimer.Tick();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(restores, 1);
}

TEST_F(TrayIconTest, ASingleClickIsReportedOnceTheDoubleClickTimeHasPassed) {
  Mouse({TrayMouse::LeftDown});
  EXPECT_TRUE(tray().SingleClickTimer.Enabled());
  Mouse({TrayMouse::LeftUp});
  EXPECT_EQ(clicks, 0);
  tray().SingleClickTimer.Tick();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(tray().SingleClickTimer.Enabled());
  tray().SingleClickTimer.Tick();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(restores, 0);
}

TEST_F(TrayIconTest, AButtonHeldLongerThanTheDoubleClickTimeClicksOnRelease) {
  Mouse({TrayMouse::LeftDown});
  tray().SingleClickTimer.Tick();
  EXPECT_EQ(clicks, 0);
  Mouse({TrayMouse::LeftUp});
  EXPECT_EQ(clicks, 1);
  Mouse({TrayMouse::LeftUp});
  EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, AReportedClickDoesNotCarryOverToTheNextPress) {
  Mouse({TrayMouse::LeftDown, TrayMouse::LeftUp});
  tray().SingleClickTimer.Tick();
  EXPECT_EQ(clicks, 1);
  Mouse({TrayMouse::LeftDown});
  tray().SingleClickTimer.Tick();  // still held
  EXPECT_EQ(clicks, 1);
  Mouse({TrayMouse::LeftUp});
  EXPECT_EQ(clicks, 2);
}

TEST_F(TrayIconTest, WhileDisabledEveryNotificationIsIgnored) {
  AttachRecorder();
  tray().SetEnabled(false);
  Mouse({TrayMouse::RightDown, TrayMouse::LeftDown, TrayMouse::LeftUp, TrayMouse::LeftDoubleClick,
         TrayMouse::LeftUp});
  EXPECT_FALSE(tray().SingleClickTimer.Enabled());
  tray().SingleClickTimer.Tick();
  EXPECT_TRUE(log.menus_shown.empty());
  EXPECT_EQ(restores + clicks + double_clicks, 0);

  tray().SetEnabled(true);
  Mouse({TrayMouse::LeftDoubleClick});
  EXPECT_EQ(restores, 1);
}

}  // namespace
