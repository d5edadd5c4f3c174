#include "wizard/details_dialog.h"

#include "about/web_address.h"
#include "wizard/advanced_page.h"

namespace wizard {

TFDetails::TFDetails(frame::Context& context)
    : ui::Form(context.App(), "TFDetails", {250, 200, 464, 272}, "Details", ui::DialogStyle(false)),
      context_(context) {
  const auto rows = Rows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    gaps_[i] = rows[i]->Bounds().top - rows[i - 1]->Bounds().bottom();
  }
  below_rows_ = Bounds().height - rows.back()->Bounds().bottom();
  SetCancelButton(BClose);
  OnCreate.Bind(this, &TFDetails::FormCreate);
  OnClose.Bind(this, &TFDetails::FormClose);
  OnMouseMove.Bind(this, &TFDetails::FormMouseMove);
  BClose.OnClick.Bind(this, &TFDetails::BCloseClick);
  LWebLink.OnClick.Bind(this, &TFDetails::LWebLinkClick);
  LWebLink.OnMouseMove.Bind(this, &TFDetails::LWebLinkMouseMove);
}

void TFDetails::FormCreate() {
  const release::WordTable& words = context_.Words;
  SetCaption(words[release::kWordDetailsCaption]);
  BClose.SetCaption(words[release::kWordClose]);
  LCDateiname.SetCaption(words[release::kWordFileNameLabel] + ":");
  LCBeschreibung.SetCaption(words[release::kWordDescriptionLabel] + ":");
  LCParameter.SetCaption(words[release::kWordParametersLabel] + ":");
  LCWeblink.SetCaption(words[release::kWordWebLinkLabel] + ":");
}

// The link's colour tells its state: blue a link, red a link under the
// mouse, the background's colour no link at all.
void TFDetails::ShowPackage(int number) {
  const release::PackageEntry& package = context_.Packages[number];
  LFile.SetCaption(package.File);
  LName.SetCaption(package.Name);
  LParameter.SetCaption(package.Parameters.empty() ? context_.Words[release::kWordNoneGiven]
                                                   : package.Parameters);
  const bool has_link = !package.Link.empty();
  LWebLink.SetCaption(has_link ? package.Link : context_.Words[release::kWordNoneGiven]);
  LWebLink.SetFontColor(has_link ? ui::kBlue : ui::kButtonFace);
  LWebLink.SetCursor(has_link ? ui::Cursor::Hand : ui::Cursor::Default);
  StackRows();
}

// A value that took more lines than one (the labels measure themselves as their captions
// change) pushes the rows below it down, and the dialog grows by as much.
void TFDetails::StackRows() {
  const auto rows = Rows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ui::Rect bounds = rows[i]->Bounds();
    bounds.top = rows[i - 1]->Bounds().bottom() + gaps_[i];
    rows[i]->SetBounds(bounds);
  }
  ui::Rect frame = Bounds();
  frame.height = rows.back()->Bounds().bottom() + below_rows_;
  SetBounds(frame);
}

void TFDetails::LWebLinkMouseMove(ui::Point) {
  if (LWebLink.FontColor() == ui::kBlue) LWebLink.SetFontColor(ui::kRed);
}

void TFDetails::FormMouseMove(ui::Point) {
  if (LWebLink.FontColor() == ui::kRed) LWebLink.SetFontColor(ui::kBlue);
}

void TFDetails::LWebLinkClick() {
  if (LWebLink.FontColor() != ui::kRed) return;
  about::OpenShownLink(context_, LWebLink.Caption());
  LWebLink.SetFontColor(ui::kBlue);
}

void TFDetails::BCloseClick() {
  Close();
}

void TFDetails::FormClose(ui::CloseAction&) {
  context_.forms.FErweitert->SetEnabled(true);
}

}  // namespace wizard
