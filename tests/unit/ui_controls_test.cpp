#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_dialogs.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/layout.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/popup_menu.h"
#include "ui/radio_button.h"
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
  ListView LV{*this, "LV", {120, 150, 270, 100}, kAnchorRight | kAnchorBottom};
  Button BCorner{*this, "BCorner", {300, 235, 90, 25}, "X",
                 kAnchorRight | kAnchorNoLeft | kAnchorBottom | kAnchorNoTop};
  Timer Tick{*this, "Tick", 1000};
  PopupMenu Menu{*this, "Menu"};
  MenuItem MIFirst{Menu, "MIFirst", "First"};
  MenuItem MILine{Menu, "MILine", "", kSeparator};
  MenuItem MIDefault{Menu, "MIDefault", "Default", kDefaultItem};
};

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
  EXPECT_EQ(rects[0], (Rect{0, 0, 400, 60}));     // PTop
  EXPECT_EQ(rects[1], (Rect{0, 265, 400, 35}));   // Panel1
  EXPECT_EQ(rects[2], (Rect{0, 60, 100, 205}));   // Side, between top and bottom
  const auto row = LayoutChildren(form.Panel1, {400, 35});
  EXPECT_EQ(row[0], (Rect{127, 0, 273, 35}));     // Panel3 at the right
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

}  // namespace
