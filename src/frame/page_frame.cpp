#include "frame/page_frame.h"

#include "platform/system.h"

namespace frame {

namespace {

ui::Rect FrameBounds(FrameKind kind) {
  return kind == FrameKind::Sizeable ? ui::Rect{192, 107, 455, 408} : ui::Rect{192, 107, 469, 413};
}

ui::FormStyle FrameStyle(FrameKind kind) {
  ui::FormStyle style;
  style.centered = kind == FrameKind::FixedCentred;
  if (kind == FrameKind::Sizeable) {
    style.border = ui::BorderStyle::Sizeable;
    style.maximize_box = true;
  }
  return style;
}

}  // namespace

PageFrame::PageFrame(Context& context, std::string form_name, const PageTexts& texts,
                     FrameKind kind)
    : ui::Form(context.App(), std::move(form_name), FrameBounds(kind), texts.caption,
               FrameStyle(kind)),
      texts_(texts),
      context_(context) {
  if (texts.hint)
    LHinweis.emplace(PTop, "LHinweis", ui::Rect{24, 25, 433, 29}, texts.hint, ui::kWordWrap);
  Panel1.SetTabRank(kButtonRowTabRank);
  BAbbrechen.OnClick.Bind(this, &PageFrame::BAbbrechenClick);
  OnCloseQuery.Bind(this, &PageFrame::FormCloseQuery);
  OnClose.Bind(this, &PageFrame::FormClose);
}

void PageFrame::SetUpWindow() {
  SetCaption(context_.Settings.Name);
  SetAppWindow();
}

// A release without a picture for the page names none; only a named picture
// that can't be read is an error.
void PageFrame::LoadSidePicture(ui::Image& image, const std::string& file) const {
  if (file.empty()) return;
  image.SetPicture(context_.System().LoadPicture(context_.DataPath(file)));
}

void PageFrame::GoTo(ui::Form& next) {
  frame::PlacePage(*this, next);
  next.Show();
  Hide();
}

void PageFrame::BAbbrechenClick() {
  Close();
}

void PageFrame::FormCloseQuery(bool& can_close) {
  can_close =
      context_.Run().Restarting() || context_.AskQuestion(Word(release::kWordCloseQuestion));
}

// The user cancelled before anything was installed.
void PageFrame::FormClose(ui::CloseAction&) {
  context_.Run().CancelConfirmed();
  context_.CloseProgram();
}

}  // namespace frame
