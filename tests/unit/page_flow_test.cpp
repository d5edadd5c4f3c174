#include <gtest/gtest.h>

#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "frame/choices.h"
#include "frame/messages.h"
#include "release/errors.h"
#include "release_fixture.h"

namespace {

class PageFlow : public test::ReleaseFixture {
 protected:
  wizard::TFWillkommen& Welcome() { return *Pages().FWillkommen; }
  wizard::TFMethode& Method() { return *Pages().FMethode; }
  wizard::TFErweitert& Advanced() { return *Pages().FErweitert; }
  engine::TFKopieren& Install() { return *Pages().FKopieren; }
};

TEST_F(PageFlow, WelcomePageCarriesTheReleaseTextsAndWords) {
  UseStandardRelease();
  StartAndDecide();
  wizard::TFWillkommen& page = Welcome();
  EXPECT_EQ(page.Caption(), "Demo Pack");
  EXPECT_TRUE(page.AppWindow());
  EXPECT_EQ(page.LText.Caption(), "Hallo\rWelt\r");
  EXPECT_EQ(page.LStatus.Caption(), "W7");
  EXPECT_EQ(page.BWeiter.Caption(), "W2");
  EXPECT_EQ(page.BZurueck.Caption(), "W1");
  EXPECT_EQ(page.BAbbrechen.Caption(), "W5");
  EXPECT_EQ(page.BInfo.Caption(), "W3");
  EXPECT_FALSE(page.BZurueck.Enabled());
  EXPECT_FALSE(page.LHinweis.has_value());
  ASSERT_NE(page.ILinks.Picture(), nullptr);
  EXPECT_EQ(page.ILinks.Bounds().width, 10);  // sized to its picture
  EXPECT_EQ(page.Left(), (1024 - 469) / 2);   // centred at its first showing
}

TEST_F(PageFlow, WithoutLanguageFileEveryWordFallsBack) {
  UseStandardRelease();
  system.files.erase(Data("Language.ini"));
  StartAndDecide();
  EXPECT_EQ(Welcome().BWeiter.Caption(), "Error in Language File");
  EXPECT_EQ(Welcome().LStatus.Caption(), "Error in Language File");
  EXPECT_EQ(Advanced().Button1.Caption(), "Alle auswählen");
  EXPECT_EQ(Advanced().LVDateien.Columns()[0].caption, "Bezeichnung");
  EXPECT_EQ(main->MIAbbrechen.Caption(), "Error in Language File");
}

TEST_F(PageFlow, MissingSidePictureKeepsTheBuiltInTexts) {
  UseStandardRelease();
  system.files.erase(Data("side1.bmp"));
  StartAndDecide();
  ASSERT_EQ(dialogs.error_boxes.size(), 1u);
  EXPECT_EQ(dialogs.error_boxes[0].caption, "Demo Pack");
  EXPECT_EQ(dialogs.error_boxes[0].text,
            "Datei C:\\Release\\Data\\side1.bmp kann nicht geöffnet werden.");
  EXPECT_EQ(Welcome().LText.Caption(), "");
  EXPECT_EQ(Welcome().BWeiter.Caption(), "Weiter >");
  EXPECT_EQ(Welcome().LStatus.Caption(), "Willkommen");
  EXPECT_TRUE(Welcome().Visible());
}

TEST_F(PageFlow, EmptyPictureValuesMeanNoPictureAndNoError) {
  UseStandardRelease(true);
  SetSettings(
      "[Main]\nName=Demo Pack\nFiles=1\n[Images]\nImage1=\nImage2=  \n"
      "[Defaults]\nAllowAdvanced=1\n[File1]\nName=One\n");
  StartAndDecide();
  EXPECT_TRUE(dialogs.error_boxes.empty());
  EXPECT_EQ(system.pictures_loaded, std::vector<std::string>{Data("Icon.ico")});  // About's logo
  EXPECT_EQ(Welcome().ILinks.Picture(), nullptr);
  EXPECT_EQ(Method().ILinks.Picture(), nullptr);
  EXPECT_EQ(Pages().FEnde->ILinks.Picture(), nullptr);
  EXPECT_TRUE(Welcome().Visible());
}

TEST_F(PageFlow, NextWithoutAdvancedChoiceStartsTheInstallation) {
  UseStandardRelease(false);
  StartAndDecide();
  Welcome().SetPosition(40, 50);
  Welcome().BWeiter.Click();
  EXPECT_FALSE(Welcome().Visible());
  EXPECT_FALSE(Method().Visible());
  EXPECT_TRUE(Install().Visible());
  EXPECT_EQ(Install().Left(), 40);
  EXPECT_EQ(Install().Top(), 50);
  EXPECT_EQ(Pages().FLizenz->Left(), 40);  // kept in step, never shown
  EXPECT_FALSE(Pages().FLizenz->Visible());
}

TEST_F(PageFlow, MethodPageLeadsOnByItsChoiceAndBackToTheWelcome) {
  UseStandardRelease(true);
  StartAndDecide();
  Welcome().SetPosition(40, 50);
  Welcome().BWeiter.Click();
  ASSERT_TRUE(Method().Visible());
  EXPECT_EQ(Method().Left(), 40);
  EXPECT_TRUE(Method().CBAutomaticInstall.Checked());
  EXPECT_EQ(Method().LHinweis->Caption(), "W13");

  Method().BZurueck.Click();
  EXPECT_TRUE(Welcome().Visible());
  EXPECT_FALSE(Method().Visible());
  EXPECT_EQ(Welcome().Left(), 40);  // where the page left stood, not centred again

  Welcome().BWeiter.Click();
  Method().CBAdvancedInstall.Click();
  Method().BWeiter.Click();
  EXPECT_TRUE(Advanced().Visible());
  EXPECT_TRUE(Method().CBAdvancedInstall.Checked());
  EXPECT_FALSE(Method().CBAutomaticInstall.Checked());
}

TEST_F(PageFlow, AutomaticMethodStartsTheInstallation) {
  UseStandardRelease(true);
  StartAndDecide();
  Welcome().BWeiter.Click();
  Method().BWeiter.Click();
  EXPECT_TRUE(Install().Visible());
  EXPECT_FALSE(Method().Visible());
}

TEST_F(PageFlow, LicencePageNeedsConsentForNext) {
  UseStandardRelease(true);
  StartAndDecide();
  wizard::TFLizenz& licence = *Pages().FLizenz;
  EXPECT_TRUE(licence.CBAblehnen.Checked());
  EXPECT_FALSE(licence.BWeiter.Enabled());
  licence.CBAnnehmen.Click();
  EXPECT_TRUE(licence.BWeiter.Enabled());
  licence.CBAblehnen.Click();
  EXPECT_FALSE(licence.BWeiter.Enabled());
  licence.CBAnnehmen.Click();
  licence.Show();
  licence.BWeiter.Click();
  EXPECT_TRUE(Method().Visible());
  licence.Show();
  licence.BZurueck.Click();
  EXPECT_TRUE(Welcome().Visible());
}

TEST_F(PageFlow, ALicenceTextComesBetweenTheWelcomeAndTheNextStep) {
  for (const bool allow_advanced : {true, false}) {
    test::Program fresh{system};
    UseStandardRelease(allow_advanced);
    std::string settings = system.files[Data("Settings.ini")];
    settings.replace(settings.find("[Lines]\n"), 8, "[Lines]\nLicense=2\n");
    SetSettings(settings + "[License]\nLine001=Bedingungen\nLine002=Ende\n");
    app::TFMain& m = fresh.Start();
    m.TStart.Tick();
    const frame::Forms& pages = m.context.forms;
    pages.FWillkommen->SetPosition(40, 50);
    pages.FWillkommen->BWeiter.Click();
    wizard::TFLizenz& licence = *pages.FLizenz;
    ASSERT_TRUE(licence.Visible());
    EXPECT_FALSE(pages.FWillkommen->Visible());
    EXPECT_EQ(licence.Left(), 40);
    EXPECT_EQ(licence.RLizenz.Caption(), "Bedingungen\rEnde\r");
    EXPECT_FALSE(licence.BWeiter.Enabled());
    licence.BZurueck.Click();  // back to the welcome page, and forward again
    EXPECT_TRUE(pages.FWillkommen->Visible());
    pages.FWillkommen->BWeiter.Click();
    licence.CBAnnehmen.Click();
    licence.BWeiter.Click();
    EXPECT_FALSE(licence.Visible());
    EXPECT_EQ(pages.FMethode->Visible(), allow_advanced);
    EXPECT_EQ(pages.FKopieren->Visible(), !allow_advanced);
  }
}

// Back from the method page goes the way Next came: to the licence page with
// the agreement as the user left it, and from there to the welcome page.
TEST_F(PageFlow, BackFromTheMethodPageReturnsThroughTheLicence) {
  UseStandardRelease(true);
  std::string settings = system.files[Data("Settings.ini")];
  settings.replace(settings.find("[Lines]\n"), 8, "[Lines]\nLicense=1\n");
  SetSettings(settings + "[License]\nLine001=Bedingungen\n");
  StartAndDecide();
  wizard::TFLizenz& licence = *Pages().FLizenz;
  Welcome().BWeiter.Click();
  licence.CBAnnehmen.Click();
  licence.SetPosition(70, 80);
  licence.BWeiter.Click();
  ASSERT_TRUE(Method().Visible());

  Method().BZurueck.Click();
  EXPECT_FALSE(Method().Visible());
  ASSERT_TRUE(licence.Visible());
  EXPECT_FALSE(Welcome().Visible());
  EXPECT_EQ(licence.Left(), 70);
  EXPECT_TRUE(licence.CBAnnehmen.Checked());
  EXPECT_FALSE(licence.CBAblehnen.Checked());
  EXPECT_TRUE(licence.BWeiter.Enabled());

  licence.BZurueck.Click();
  EXPECT_TRUE(Welcome().Visible());
  Welcome().BWeiter.Click();
  EXPECT_TRUE(licence.Visible());
  EXPECT_TRUE(licence.BWeiter.Enabled());
}

// An English release shows no German word.
TEST_F(PageFlow, TheLaterWordsReplaceTheBuiltInTexts) {
  UseStandardRelease(true);
  std::string words = system.files[Data("Language.ini")];
  for (int n = 81; n <= release::WordTable::kCount; ++n)
    words += release::PadKeyNumber(n) + "=E" + std::to_string(n) + "\n";
  words += "090=Restart in %d seconds\n";  // the first of two equal keys wins
  words.replace(words.find("090=E90\n"), 8, "");
  SetLanguage(words);
  StartAndDecide();
  EXPECT_EQ(Advanced().LVDateien.Columns().at(0).caption, "E81");
  EXPECT_EQ(Advanced().Button1.Caption(), "E82");
  EXPECT_EQ(Advanced().Button2.Caption(), "E83");
  EXPECT_EQ(Advanced().MIAuswahl.Caption(), "E84");
  EXPECT_EQ(Advanced().MIDetails.Caption(), "E85");
  Welcome().BAbbrechen.Click();
  Advanced().Button2.Click();  // nothing chosen: Next says so in the error dialog
  Advanced().BWeiter.Click();
  ASSERT_EQ(dialogs.contents.size(), 2u);
  EXPECT_EQ(dialogs.contents[0].caption, "E86");
  EXPECT_EQ(dialogs.contents[0].buttons[0].caption, "E87");
  EXPECT_EQ(dialogs.contents[0].buttons[1].caption, "E88");
  EXPECT_EQ(dialogs.contents[1].caption, "E92");
  EXPECT_EQ(dialogs.contents[1].buttons[0].caption, "E93");
  finish::TFAutoReboot& countdown = *Pages().FAutoReboot;
  countdown.Show();
  EXPECT_EQ(countdown.Caption(), "E89");
  EXPECT_EQ(countdown.Button1.Caption(), "W5");
  EXPECT_EQ(countdown.LStatus.Caption(), "Restart in 10 seconds");
}

TEST_F(PageFlow, CancelAsksWord55AndYesEndsTheProgram) {
  UseStandardRelease();
  StartAndDecide();
  dialogs.answer = false;
  Welcome().BAbbrechen.Click();
  ASSERT_EQ(dialogs.questions, std::vector<std::string>{"W55"});
  EXPECT_EQ(system.sounds.back(), "SYSTEMQUESTION");
  EXPECT_TRUE(Welcome().Visible());
  EXPECT_FALSE(application.Terminated());

  dialogs.answer = true;
  Welcome().Close();  // the title bar's close box takes the same road
  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 1602);  // the user cancelled
}

TEST_F(PageFlow, WhileRestartingPagesCloseWithoutAsking) {
  UseStandardRelease(true);
  StartAndDecide();
  main->context.Run().RestartRequested();
  EXPECT_TRUE(Method().CloseQuery());
  EXPECT_TRUE(Welcome().CloseQuery());
  EXPECT_TRUE(Pages().FKopieren->CloseQuery());
  EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(PageFlow, AdvancedPageStartsWithEverythingCheckedAndTheDefaults) {
  SetSettings(
      "[Main]\nFiles=2\n[Defaults]\nAutoReboot=1\nMinimize=0\nDeleteLogs=1\nLowPriority=0\n"
      "[File1]\nName=One\n[File2]\nName=Two\n[File3]\nName=beyond\n");
  StartAndDecide();
  wizard::TFErweitert& page = Advanced();
  ASSERT_EQ(page.LVDateien.ItemCount(), 2);
  EXPECT_EQ(page.LVDateien.ItemCaption(1), "Two");
  EXPECT_TRUE(page.LVDateien.ItemChecked(0) && page.LVDateien.ItemChecked(1));
  EXPECT_EQ(page.LSelectedItems.Caption(), "Error in Language File: 2 Error in Language File 2");
  EXPECT_TRUE(page.CBAutoReboot.Checked());
  EXPECT_FALSE(page.CBMinimieren.Checked());
  EXPECT_TRUE(page.CBLoescheLogs.Checked());
  EXPECT_FALSE(page.CBNiedrigePrioritaet.Checked());
  EXPECT_EQ(page.PageControl1.ActivePageIndex(), 0);
}

TEST_F(PageFlow, ChosenPackagesAreCountedOverTheReleasesRowsOnly) {
  UseStandardRelease();
  StartAndDecide();
  const frame::Choices& choices = main->context.choices;
  ui::ListView& list = Advanced().LVDateien;
  EXPECT_EQ(choices.ChosenCount(), 3);
  list.SetItemChecked(1, false);
  EXPECT_EQ(choices.ChosenCount(), 2);
  list.AddItem("not a package of the release", true);
  EXPECT_EQ(choices.ChosenCount(), 2);
}

TEST_F(PageFlow, TheMethodDecidesWhetherTheRowsCount) {
  UseStandardRelease();
  StartAndDecide();
  const frame::Choices& choices = main->context.choices;
  Advanced().LVDateien.SetItemChecked(1, false);
  EXPECT_FALSE(choices.UserDefined());
  EXPECT_TRUE(choices.Chosen(2));
  EXPECT_EQ(choices.RowsFrom(1), (std::vector<int>{0, 1, 2}));
  Method().CBAdvancedInstall.Click();
  EXPECT_TRUE(choices.UserDefined());
  EXPECT_FALSE(choices.Chosen(2));
  EXPECT_EQ(choices.RowsFrom(1), (std::vector<int>{0, 2}));
  EXPECT_EQ(choices.RowsFrom(3), (std::vector<int>{2}));
}

TEST_F(PageFlow, MessageKindsChooseSoundAndDialog) {
  frame::ShowMessageDialog(system, dialogs, release::WordTable(), "e", frame::MessageKind::Error);
  frame::ShowMessageDialog(system, dialogs, release::WordTable(), "i",
                           frame::MessageKind::Information);
  frame::ShowMessageDialog(system, dialogs, release::WordTable(), "q",
                           frame::MessageKind::Question);
  EXPECT_EQ(system.sounds,
            (std::vector<std::string>{"SYSTEMERROR", "SYSTEMINFO", "SYSTEMQUESTION"}));
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_FALSE(dialogs.messages[0].information);
  EXPECT_TRUE(dialogs.messages[1].information);
  EXPECT_FALSE(dialogs.messages[2].information);  // the question kind shows the error dialog
}

TEST_F(PageFlow, PlacePageSharesOnlyTheTopLeftCorner) {
  UseStandardRelease();
  Start();
  Welcome().SetPosition(33, 44);
  frame::PlacePage(Welcome(), Advanced());
  EXPECT_EQ(Advanced().Bounds(), (ui::Rect{33, 44, 455, 408}));
  EXPECT_FALSE(Advanced().Visible());
}

// The controls that Tab stops at, in the order it visits them.
void CollectTabStops(const ui::Control& parent, std::vector<std::string>& stops) {
  for (const ui::Control* child : parent.TabOrder()) {
    switch (child->Kind()) {
      case ui::ControlKind::Button:
      case ui::ControlKind::CheckBox:
      case ui::ControlKind::RadioButton:
      case ui::ControlKind::ListView:
      case ui::ControlKind::TabControl:
      case ui::ControlKind::RichText:
        if (!child->Has(ui::kNoTabStop)) stops.push_back(child->Name());
        break;
      default:
        break;
    }
    CollectTabStops(*child, stops);
  }
}

std::vector<std::string> TabStops(const ui::Control& form) {
  std::vector<std::string> stops;
  CollectTabStops(form, stops);
  return stops;
}

// The frame's buttons exist before a page's own controls; Tab still reaches
// the page's controls first.
TEST_F(PageFlow, TabReachesAPagesOwnControlsBeforeItsButtonRow) {
  UseStandardRelease(true);
  Start();
  const std::vector<std::string> row{"BWeiter", "BAbbrechen", "BZurueck"};
  auto then_row = [&](std::vector<std::string> own) {
    own.insert(own.end(), row.begin(), row.end());
    return own;
  };
  EXPECT_EQ(TabStops(Method()), then_row({"CBAutomaticInstall", "CBAdvancedInstall"}));
  std::vector<std::string> licence = then_row({"CBAblehnen", "CBAnnehmen"});
  licence.push_back("RLizenz");  // the text comes after the buttons
  EXPECT_EQ(TabStops(*Pages().FLizenz), licence);
  std::vector<std::string> welcome = row;  // Info stands in the button row, after it
  welcome.push_back("BInfo");
  EXPECT_EQ(TabStops(Welcome()), welcome);
  const std::vector<std::string> advanced = TabStops(Advanced());
  ASSERT_GE(advanced.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(advanced.end() - 3, advanced.end()), row);
  EXPECT_EQ(advanced.front(), "PageControl1");
}

}  // namespace
