#include "wizard/page_frame.h"

#include "engine/install_page.h"
#include "wizard/method_page.h"
#include "platform/system.h"

namespace wizard {

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
    style.scaled = false;
  }
  return style;
}

}  // namespace

PageFrame::PageFrame(app::TFMain& main, std::string form_name, const PageTexts& texts,
                     FrameKind kind)
    : ui::Form(main.App(), std::move(form_name), FrameBounds(kind), texts.caption,
               FrameStyle(kind)),
      texts_(texts),
      main_(main) {
  if (texts.hint) LHinweis.emplace(PTop, "LHinweis", ui::Rect{24, 25, 433, 29}, texts.hint, ui::kWordWrap);
}

void PageFrame::SetUpWindow() {
  SetCaption(main_.Settings.Name);
  SetAppWindow();
}

void PageFrame::LoadSidePicture(ui::Image& image, const std::string& file) const {
  image.SetPicture(main_.System().LoadPicture(main_.DataPath(file)));
}

void PageFrame::GoTo(ui::Form& next) {
  app::PlacePage(*this, next);
  next.Show();
  Hide();
}

void PageFrame::StartInstallationHere() {
  engine::TFKopieren& install = *Pages().FKopieren;
  app::PlacePage(*this, install);
  install.StartInstallation();
  Hide();
}

void PageFrame::GoToMethodOrInstallation() {
  if (main_.Settings.AllowAdvanced) {
    GoTo(*Pages().FMethode);
  } else {
    StartInstallationHere();
  }
}

void PageFrame::BindCancel() {
  BAbbrechen.OnClick.Bind(this, &PageFrame::BAbbrechenClick);
  OnCloseQuery.Bind(this, &PageFrame::FormCloseQuery);
  OnClose.Bind(this, &PageFrame::FormClose);
}

void PageFrame::BAbbrechenClick() { Close(); }

void PageFrame::FormCloseQuery(bool& can_close) {
  can_close = main_.Restarting || main_.AskQuestion(Word(55));
}

void PageFrame::FormClose(ui::CloseAction&) { main_.Close(); }

}  // namespace wizard
