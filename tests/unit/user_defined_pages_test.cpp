#include <gtest/gtest.h>

#include "release_fixture.h"
#include "wizard/details_dialog.h"
#include "wizard/summary_page.h"

namespace {

class UserDefinedPages : public test::ReleaseFixture {
 protected:
  void SetUp() override {
    UseStandardRelease(true);
    std::string settings = system.files[Data("Settings.ini")];
    settings += "[File1]\nFile=one.exe\nParameters=/q\nLink=http://one\n";
    settings.replace(settings.find("[File1]\nName=One\n"), 17, "");
    settings += "Name=One\n";
    SetSettings(settings);
    StartAndDecide();
    Pages().FWillkommen->BWeiter.Click();
    Pages().FMethode->CBAdvancedInstall.Click();
    Pages().FMethode->BWeiter.Click();
  }
  wizard::TFErweitert& Advanced() { return *Pages().FErweitert; }
  wizard::TFStart& Summary() { return *Pages().FStart; }
  wizard::TFDetails& Details() { return *Pages().FDetails; }
  ui::ListView& List() { return Advanced().LVDateien; }
};

TEST_F(UserDefinedPages, CounterFollowsEveryWayOfChecking) {
  ASSERT_TRUE(Advanced().Visible());
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 3 W33 3");
  List().CheckChangedByUser(1, false);
  List().OnClick.Raise();  // the mouse on a row's check box
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 2 W33 3");
  Advanced().Button2.Click();
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 0 W33 3");
  List().SelectedByUser(2);
  Advanced().MIAuswahl.Click();
  EXPECT_TRUE(List().ItemChecked(2));
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 1 W33 3");
  Advanced().Button1.Click();
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 3 W33 3");
}

TEST_F(UserDefinedPages, ContextMenuTogglesTheFirstRowToo) {
  List().SelectedByUser(0);
  Advanced().MIAuswahl.Click();
  EXPECT_FALSE(List().ItemChecked(0));
  EXPECT_EQ(Advanced().LSelectedItems.Caption(), "W24: 2 W33 3");
}

TEST_F(UserDefinedPages, NothingCheckedKeepsThePageWithWord65) {
  Advanced().Button2.Click();
  Advanced().BWeiter.Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "W65");
  EXPECT_FALSE(dialogs.messages[0].information);
  EXPECT_TRUE(Advanced().Visible());
  EXPECT_FALSE(Summary().Visible());
}

TEST_F(UserDefinedPages, SummaryShowsTheChoicesAtEachShowing) {
  List().SetItemChecked(0, false);
  Advanced().CBLoescheLogs.SetChecked(true);
  Advanced().BWeiter.Click();
  ASSERT_TRUE(Summary().Visible());
  EXPECT_EQ(Summary().LDateien.Caption(), "2 W33 3");
  EXPECT_EQ(Summary().LAutoReboot.Caption(), "W67");
  EXPECT_EQ(Summary().LLoescheLogs.Caption(), "W66");
  EXPECT_EQ(Summary().LAusgewaehlt.Caption(), "W24:");
  Summary().BZurueck.Click();
  EXPECT_TRUE(Advanced().Visible());
  EXPECT_FALSE(List().ItemChecked(0));
  Advanced().Button1.Click();
  Advanced().BWeiter.Click();
  EXPECT_EQ(Summary().LDateien.Caption(), "3 W33 3");
  Summary().BZurueck.Click();
  Advanced().BZurueck.Click();
  EXPECT_TRUE(Pages().FMethode->Visible());
}

TEST_F(UserDefinedPages, SummaryNextInstallsTheCheckedPackagesOnly) {
  List().SetItemChecked(1, false);
  Advanced().BWeiter.Click();
  Summary().BWeiter.Click();
  EXPECT_TRUE(Pages().FKopieren->Visible());
  EXPECT_EQ(Pages().FKopieren->TotalCount, 2);
}

TEST_F(UserDefinedPages, DetailsOfTheHighlightedRow) {
  Advanced().MIDetails.Click();  // no row highlighted: nothing
  EXPECT_FALSE(Details().Visible());
  EXPECT_TRUE(Advanced().Enabled());

  List().SelectedByUser(0);
  List().OnDblClick.Raise();
  ASSERT_TRUE(Details().Visible());
  EXPECT_FALSE(Advanced().Enabled());
  EXPECT_EQ(Details().LFile.Caption(), "one.exe");
  EXPECT_EQ(Details().LParameter.Caption(), "/q");
  EXPECT_EQ(Details().LWebLink.Caption(), "http://one");
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kBlue);
  EXPECT_EQ(Details().LWebLink.GetCursor(), ui::Cursor::Hand);

  Details().LWebLink.Click();  // blue, not under the mouse: nothing
  EXPECT_TRUE(system.links_opened.empty());
  Details().LWebLink.MouseMove({1, 1});
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kRed);
  Details().MouseMove({200, 200});
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kBlue);
  Details().LWebLink.MouseMove({1, 1});
  Details().LWebLink.Click();
  EXPECT_EQ(system.links_opened, std::vector<std::string>{"http://one"});
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kBlue);

  Details().Close();  // the close box
  EXPECT_TRUE(Advanced().Enabled());

  Advanced().MIDetails.Click();
  ASSERT_TRUE(Details().Visible());
  EXPECT_FALSE(Advanced().Enabled());
  Details().PressCancel();  // Escape, as the close button
  EXPECT_FALSE(Details().Visible());
  EXPECT_TRUE(Advanced().Enabled());
}

// The labels measure themselves only with windows; here the file's label is given two lines.
TEST_F(UserDefinedPages, DetailsRowsMoveDownBelowAValueOfTwoLines) {
  List().SelectedByUser(0);
  Advanced().MIDetails.Click();
  const ui::Rect file = Details().LFile.Bounds();
  const int link_top = Details().LWebLink.Bounds().top;
  const int height = Details().Bounds().height;
  Details().LFile.StoreBounds({file.left, file.top, file.width, file.height + 13});
  List().SelectedByUser(1);
  Advanced().MIDetails.Click();
  EXPECT_EQ(Details().LCBeschreibung.Bounds().top, file.bottom() + 13 + 15);
  EXPECT_EQ(Details().LWebLink.Bounds().top, link_top + 13);
  EXPECT_EQ(Details().Bounds().height, height + 13);

  Details().LFile.StoreBounds(file);  // one line again: back to the designed rows
  List().SelectedByUser(0);
  Advanced().MIDetails.Click();
  EXPECT_EQ(Details().LWebLink.Bounds().top, link_top);
  EXPECT_EQ(Details().Bounds().height, height);
}

TEST_F(UserDefinedPages, PackageWithoutParametersAndLinkShowsWord53) {
  List().SelectedByUser(1);
  Advanced().MIDetails.Click();
  EXPECT_EQ(Details().LParameter.Caption(), "W53");
  EXPECT_EQ(Details().LWebLink.Caption(), "W53");
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kButtonFace);
  EXPECT_EQ(Details().LWebLink.GetCursor(), ui::Cursor::Default);
  Details().LWebLink.MouseMove({1, 1});
  Details().LWebLink.Click();
  EXPECT_EQ(Details().LWebLink.FontColor(), ui::kButtonFace);
  EXPECT_TRUE(system.links_opened.empty());
  Details().BClose.Click();
  EXPECT_FALSE(Details().Visible());
  EXPECT_TRUE(Advanced().Enabled());
}

}  // namespace
