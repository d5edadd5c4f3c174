#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "fake_dialogs.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/popup_menu.h"
#include "ui/radio_button.h"
#include "ui/rich_text.h"
#include "ui/tab_control.h"
#include "ui/timer.h"

namespace {

using namespace ui;

class TestForm : public Form {
 public:
  TestForm(Application& app, const char* name, FormStyle style = {})
      : Form(app, name, {100, 50, 400, 300}, "Test", style) {}

  Panel PTop{*this, "PTop", {0, 0, 400, 60}, kDockTop | kWhiteBackground};
  Panel Panel1{*this, "Panel1", {0, 265, 400, 35}, kDockBottom};
  Panel Panel3{Panel1, "Panel3", {127, 0, 273, 35}, kDockRight};
  Button BOk{Panel3, "BOk", {8, 5, 75, 25}, "OK"};
  Panel Side{*this, "Side", {0, 60, 100, 205}, kDockLeft};
  RadioButton RA{*this, "RA", {120, 80, 200, 17}, "A", kChecked};
  RadioButton RB{*this, "RB", {120, 100, 200, 17}, "B"};
  CheckBox CB{*this, "CB", {120, 130, 200, 17}, "C"};
  ListView LV{
      *this, "LV", {120, 150, 270, 100}, kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom};
  Button BCorner{*this, "BCorner", {300, 235, 90, 25}, "X", kAnchorRight | kAnchorBottom};
  Timer Tick{*this, "Tick", 1000};
  PopupMenu Menu{*this, "Menu"};
  MenuItem MIFirst{Menu, "MIFirst", "First"};
  MenuItem MILine{Menu, "MILine", "", kSeparator};
  MenuItem MIDefault{Menu, "MIDefault", "Default", kDefaultItem};
};

// One control per way of anchoring, on a 400 x 300 client area.
class AnchorForm : public Form {
 public:
  explicit AnchorForm(Application& app) : Form(app, "TAnchors", {0, 0, 400, 300}, "Anchors", {}) {}

  Button Plain{*this, "Plain", {10, 10, 50, 20}, "P"};
  Button LeftTop{*this, "LeftTop", {10, 40, 50, 20}, "LT", kAnchorLeft | kAnchorTop};
  Button Wide{*this, "Wide", {10, 70, 50, 20}, "W", kAnchorLeft | kAnchorTop | kAnchorRight};
  Button RightTop{*this, "RightTop", {300, 10, 50, 20}, "RT", kAnchorRight | kAnchorTop};
  Button Tall{*this, "Tall", {70, 10, 50, 20}, "T", kAnchorLeft | kAnchorTop | kAnchorBottom};
  Button LeftBottom{*this, "LeftBottom", {10, 250, 50, 20}, "LB", kAnchorLeft | kAnchorBottom};
  Button Corner{*this, "Corner", {300, 250, 50, 20}, "C", kAnchorRight | kAnchorBottom};
  Button All{*this,
             "All",
             {100, 100, 50, 20},
             "A",
             kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom};
};

// Each kind of control with every option that means something for it.
class FullyDeclaredForm : public Form {
 public:
  explicit FullyDeclaredForm(Application& app) : Form(app, "TFull", {0, 0, 400, 300}, "Full", {}) {}

  static constexpr Options kChild = kHidden | kDisabled | kAnchorRight | kAnchorBottom;

  Panel P{
      *this, "P", {0, 0, 400, 20}, kDockTop | kHidden | kDisabled | kLowered | kWhiteBackground};
  Label L{*this, "L", {0, 20, 50, 13}, "L", kChild | kBold | kWordWrap | kAutoSize | kAlignRight};
  Button B{*this, "B", {0, 40, 75, 25}, "B", kChild | kBold | kNoTabStop};
  CheckBox C{*this, "C", {0, 70, 75, 17}, "C", kChild | kBold | kChecked | kNoTabStop};
  RadioButton R{*this, "R", {0, 90, 75, 17}, "R", kChild | kBold | kChecked | kNoTabStop};
  GroupBox G{*this, "G", {0, 110, 75, 40}, "G", kChild | kBold};
  ListView V{*this, "V", {100, 20, 100, 100}, kChild | kAnchorLeft | kAnchorTop};
  TabControl T{*this, "T", {200, 20, 100, 100}, kChild};
  Image I{*this, "I", {300, 20, 32, 32}, kChild | kAutoSize};
  RichText X{*this, "X", {100, 150, 100, 100}, kChild | kVerticalScroll | kNoTabStop};
  PopupMenu Menu{*this, "Menu"};
  MenuItem M{Menu, "M", "M", kDefaultItem};
  MenuItem S{Menu, "S", "-", kSeparator};
};

// The message of the std::logic_error that `make` throws, or "accepted".
template <typename Make>
std::string RejectionOf(Make make) {
  try {
    make();
  } catch (const std::logic_error& e) {
    return e.what();
  }
  return "accepted";
}

class UiControls : public ::testing::Test {
 protected:
  test::FakeDialogs dialogs;
  Application app{dialogs};
};

TEST_F(UiControls, FirstFormIsTheMainFormAndClosingItEndsTheApplication) {
  auto& main = app.CreateForm<TestForm>(app, "TMain");
  auto& page = app.CreateForm<TestForm>(app, "TPage");
  EXPECT_EQ(app.MainForm(), &main);
  page.Show();
  page.Close();
  EXPECT_FALSE(page.Visible());
  EXPECT_FALSE(app.Terminated());
  main.Close();
  EXPECT_TRUE(app.Terminated());
}

TEST_F(UiControls, CloseQueryCanRefuseAndOnCloseRunsOnlyWhenAllowed) {
  app.CreateForm<TestForm>(app, "TMain");
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  bool allow = false;
  int closes = 0;
  form.OnCloseQuery.Bind([&](bool& can_close) { can_close = allow; });
  form.OnClose.Bind([&](ui::CloseAction&) { ++closes; });
  form.Show();
  form.Close();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(closes, 0);
  allow = true;
  EXPECT_TRUE(form.CloseQuery());
  EXPECT_EQ(closes, 0);
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(closes, 1);
}

TEST_F(UiControls, EscapeClicksTheCancelButtonOnlyWhileItCanBeClicked) {
  app.CreateForm<TestForm>(app, "TMain");
  auto& dialog = app.CreateForm<TestForm>(app, "TDialog");
  auto& page = app.CreateForm<TestForm>(app, "TPage");
  int dialog_clicks = 0;
  int page_clicks = 0;
  dialog.BOk.OnClick.Bind([&] { ++dialog_clicks; });
  page.BOk.OnClick.Bind([&] { ++page_clicks; });
  dialog.SetCancelButton(dialog.BOk);
  dialog.Show();
  page.Show();
  dialog.PressCancel();
  EXPECT_EQ(dialog_clicks, 1);
  dialog.BOk.SetEnabled(false);
  dialog.PressCancel();
  dialog.BOk.SetEnabled(true);
  dialog.Panel3.SetVisible(false);
  dialog.PressCancel();
  EXPECT_EQ(dialog_clicks, 1);
  page.PressCancel();  // no cancel button: Escape does nothing
  EXPECT_EQ(page_clicks, 0);
  EXPECT_TRUE(page.Visible());
}

TEST_F(UiControls, ShowRaisesOnShowOnlyWhenBecomingVisibleAndCentresOnce) {
  FormStyle centred;
  centred.centered = true;
  auto& form = app.CreateForm<TestForm>(app, "TPage", centred);
  int shows = 0;
  form.OnShow.Bind([&] { ++shows; });
  form.Show();
  form.Show();
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(form.Left(), (1024 - 400) / 2);
  EXPECT_EQ(form.Top(), (768 - 300) / 2);
  form.Hide();
  form.SetPosition(5, 6);
  form.Show();
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(form.Left(), 5);
  EXPECT_EQ(form.Top(), 6);
}

TEST_F(UiControls, ErrorsInCreationAndEventsGoToTheErrorReport) {
  app.SetTitle("Installer");
  struct Failing : TestForm {
    explicit Failing(Application& a) : TestForm(a, "TFailing") {
      OnCreate.Bind([] { throw std::runtime_error("Fehler bei Bereichsprüfung"); });
    }
  };
  app.CreateForm<Failing>(app);
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  form.BOk.OnClick.Bind([] { throw std::runtime_error("Schon mit Punkt."); });
  app.Guard([&] { form.BOk.Click(); });
  ASSERT_EQ(dialogs.error_boxes.size(), 2u);
  EXPECT_EQ(dialogs.error_boxes[0].caption, "Installer");
  EXPECT_EQ(dialogs.error_boxes[0].text, "Fehler bei Bereichsprüfung.");
  EXPECT_EQ(dialogs.error_boxes[1].text, "Schon mit Punkt.");
}

TEST_F(UiControls, RadioButtonsOfOneParentExcludeEachOther) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  int clicks_b = 0;
  form.RB.OnClick.Bind([&] { ++clicks_b; });
  form.RB.Click();
  EXPECT_TRUE(form.RB.Checked());
  EXPECT_FALSE(form.RA.Checked());
  form.RB.Click();
  EXPECT_EQ(clicks_b, 1);
  form.RA.SetChecked(true);
  EXPECT_FALSE(form.RB.Checked());
  EXPECT_EQ(clicks_b, 1);
}

TEST_F(UiControls, CheckBoxRaisesOnClickWheneverItsMarkChanges) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  int clicks = 0;
  form.CB.OnClick.Bind([&] { ++clicks; });
  form.CB.Click();
  EXPECT_TRUE(form.CB.Checked());
  form.CB.SetChecked(true);
  form.CB.SetChecked(false);
  EXPECT_EQ(clicks, 2);
}

TEST_F(UiControls, ListViewRowsChecksAndSelection) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  ListView& lv = form.LV;
  lv.AddItem("one", true);
  lv.AddItem("two", false);
  EXPECT_EQ(lv.ItemCount(), 2);
  EXPECT_TRUE(lv.ItemChecked(0));
  lv.SetItemChecked(1, true);
  EXPECT_TRUE(lv.ItemChecked(1));
  lv.CheckChangedByUser(0, false);
  EXPECT_FALSE(lv.ItemChecked(0));
  EXPECT_EQ(lv.ItemIndex(), -1);
  lv.SelectedByUser(1);
  EXPECT_EQ(lv.ItemIndex(), 1);
  try {
    lv.SetItemChecked(2, true);
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_STREQ(e.what(), "Listenindex überschreitet das Maximum (2)");
  }
  lv.ClearItems();
  EXPECT_EQ(lv.ItemCount(), 0);
  EXPECT_EQ(lv.ItemIndex(), -1);
}

TEST_F(UiControls, TimerTicksOnlyWhileEnabled) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  int ticks = 0;
  form.Tick.OnTimer.Bind([&] { ++ticks; });
  form.Tick.Tick();
  form.Tick.SetEnabled(true);
  form.Tick.Tick();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(form.Components().size(), 2u);
}

TEST_F(UiControls, MenuKnowsItsDefaultItem) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  EXPECT_EQ(form.Menu.DefaultItem(), &form.MIDefault);
  EXPECT_TRUE(form.MILine.IsSeparator());
  EXPECT_EQ(form.Menu.Items().size(), 3u);
}

TEST_F(UiControls, DockedPanelsTakeTheEdgesInTurn) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  const auto rects = LayoutChildren(form, {400, 300});
  EXPECT_EQ(rects[0], (Rect{0, 0, 400, 60}));    // PTop
  EXPECT_EQ(rects[1], (Rect{0, 265, 400, 35}));  // Panel1
  EXPECT_EQ(rects[2], (Rect{0, 60, 100, 205}));  // Side, between top and bottom
  const auto row = LayoutChildren(form.Panel1, {400, 35});
  EXPECT_EQ(row[0], (Rect{127, 0, 273, 35}));  // Panel3 at the right
  const auto wide = LayoutChildren(form.Panel1, {600, 35});
  EXPECT_EQ(wide[0], (Rect{327, 0, 273, 35}));
}

TEST_F(UiControls, AnchoredControlsFollowTheEdgesWhenTheFormGrows) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  const auto rects = LayoutChildren(form, {500, 340});
  EXPECT_EQ(rects[3], (Rect{120, 80, 200, 17}));    // RA: left and top only
  EXPECT_EQ(rects[6], (Rect{120, 150, 370, 140}));  // LV stretches
  EXPECT_EQ(rects[7], (Rect{400, 275, 90, 25}));    // BCorner moves
  // Tab sheets fill their tab control less its tabs and frame.
  TabControl tabs{form, "Tabs", {12, 68, 432, 293}};
  TabSheet sheet{tabs, "Sheet", "Dateien"};
  EXPECT_EQ(sheet.Bounds(), (Rect{4, 24, 424, 265}));
  EXPECT_EQ(tabs.PageCount(), 1);
}

TEST_F(UiControls, AnchorsDecideWhetherAControlStretchesOrMovesSideways) {
  auto& form = app.CreateForm<AnchorForm>(app);
  const auto at = LayoutChildren(form, {500, 340});
  EXPECT_EQ(at[0], (Rect{10, 10, 50, 20}));     // Plain: stays as designed
  EXPECT_EQ(at[1], (Rect{10, 40, 50, 20}));     // LeftTop: the same as no anchors
  EXPECT_EQ(at[2], (Rect{10, 70, 150, 20}));    // Wide: left and right, stretches
  EXPECT_EQ(at[3], (Rect{400, 10, 50, 20}));    // RightTop: right alone, moves
  EXPECT_EQ(at[7], (Rect{100, 100, 150, 60}));  // All: stretches both ways
  // Shrinking works the same way round.
  const auto narrow = LayoutChildren(form, {350, 300});
  EXPECT_EQ(narrow[2], (Rect{10, 70, 0, 20}));
  EXPECT_EQ(narrow[3], (Rect{250, 10, 50, 20}));
}

TEST_F(UiControls, AnchorsDecideWhetherAControlStretchesOrMovesUpAndDown) {
  auto& form = app.CreateForm<AnchorForm>(app);
  const auto at = LayoutChildren(form, {500, 340});
  EXPECT_EQ(at[0].top, 10);
  EXPECT_EQ(at[0].height, 20);
  EXPECT_EQ(at[4], (Rect{70, 10, 50, 60}));    // Tall: top and bottom, stretches
  EXPECT_EQ(at[5], (Rect{10, 290, 50, 20}));   // LeftBottom: bottom alone, moves
  EXPECT_EQ(at[6], (Rect{400, 290, 50, 20}));  // Corner: moves both ways
  const auto low = LayoutChildren(form, {400, 280});
  EXPECT_EQ(low[4], (Rect{70, 10, 50, 0}));
  EXPECT_EQ(low[5], (Rect{10, 230, 50, 20}));
}

TEST_F(UiControls, EveryKindAcceptsTheOptionsThatMeanSomethingForIt) {
  auto& form = app.CreateForm<FullyDeclaredForm>(app);
  EXPECT_FALSE(form.L.Visible());
  EXPECT_FALSE(form.L.Enabled());
  EXPECT_TRUE(form.L.Bold());
  EXPECT_TRUE(form.C.Checked());
  EXPECT_TRUE(form.R.Checked());
  EXPECT_EQ(form.Menu.DefaultItem(), &form.M);
  EXPECT_EQ(form.Children().size(), 10u);
}

TEST_F(UiControls, AnOptionTheKindCannotHaveFailsTheConstruction) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  const Rect r{0, 0, 10, 10};
  EXPECT_EQ(RejectionOf([&] { Label(form, "LStatus", r, "", kChecked); }),
            "LStatus: option not allowed for a Label");
  EXPECT_EQ(RejectionOf([&] { Button(form, "BNext", r, "", kWordWrap); }),
            "BNext: option not allowed for a Button");
  EXPECT_EQ(RejectionOf([&] { Image(form, "ILogo", r, kBold); }),
            "ILogo: option not allowed for an Image");
  EXPECT_EQ(RejectionOf([&] { Panel(form, "PTop", r, kAutoSize); }),
            "PTop: option not allowed for a Panel");
  EXPECT_EQ(RejectionOf([&] { CheckBox(form, "CB", r, "", kAlignRight); }),
            "CB: option not allowed for a CheckBox");
  EXPECT_EQ(RejectionOf([&] { RichText(form, "M", r, kVerticalScroll | kLowered); }),
            "M: option not allowed for a RichText");
  EXPECT_EQ(RejectionOf([&] { ListView(form, "LV", r, kNoTabStop); }),
            "LV: option not allowed for a ListView");
  EXPECT_EQ(RejectionOf([&] { GroupBox(form, "GB", r, "", kChecked); }),
            "GB: option not allowed for a GroupBox");
  EXPECT_EQ(RejectionOf([&] { MenuItem(form.Menu, "MI", "", kBold); }),
            "MI: option not allowed for a MenuItem");
  EXPECT_EQ(RejectionOf([&] { MenuItem(form.Menu, "MI", "", kHidden); }),
            "MI: option not allowed for a MenuItem");
  // What failed did not join its parent or its menu.
  EXPECT_EQ(form.Children().size(), 8u);
  EXPECT_EQ(form.Menu.Items().size(), 3u);
}

TEST_F(UiControls, AControlNeedsAnAnchoredEdgeInEachDirection) {
  auto& form = app.CreateForm<TestForm>(app, "TPage");
  const Rect r{0, 0, 10, 10};
  EXPECT_EQ(RejectionOf([&] { Button(form, "B1", r, "", kAnchorTop); }),
            "B1: anchored neither left nor right");
  EXPECT_EQ(RejectionOf([&] { Button(form, "B2", r, "", kAnchorTop | kAnchorBottom); }),
            "B2: anchored neither left nor right");
  EXPECT_EQ(RejectionOf([&] { Button(form, "B3", r, "", kAnchorRight); }),
            "B3: anchored neither top nor bottom");
  EXPECT_EQ(RejectionOf([&] { Button(form, "B4", r, "", kAnchorLeft | kAnchorRight); }),
            "B4: anchored neither top nor bottom");
}

}  // namespace
