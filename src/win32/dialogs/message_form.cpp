#include "win32/dialogs/message_form.h"

#include <memory>
#include <vector>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "win32/base/monitor_dpi.h"
#include "win32/base/wide_text.h"
#include "win32/dialogs/message_layout.h"
#include "win32/peers/fonts.h"
#include "win32/peers/form_peer.h"
#include "win32/peers/ui_backend.h"
#include "win32/pictures/sized_icon.h"

namespace win32 {

namespace {

const wchar_t* SystemIcon(platform::DialogIcon icon) {
  switch (icon) {
    case platform::DialogIcon::Information:
      return IDI_INFORMATION;
    case platform::DialogIcon::Question:
      return IDI_QUESTION;
    default:
      return IDI_ERROR;
  }
}

// The parts in pixels, measured with the font the form's controls get.
MessageLayout Measure(const platform::DialogContent& content, int dpi) {
  Fonts fonts(dpi);
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, fonts.Get(dpi, false));
  std::vector<std::wstring> captions;
  for (const platform::DialogButton& button : content.buttons) {
    captions.push_back(Widen(button.caption));
  }
  MessageLayout layout = MeasureMessage(screen, Widen(content.text), captions, IconEdgeAt(dpi),
                                        GetSystemMetrics(SM_CXSCREEN) / 2);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return layout;
}

// Its parts are measured with its font, in pixels, at the scale the form is drawn at.
class MessageForm final : public ui::Form, public MeasuredLayout {
 public:
  MessageForm(ui::Application& app, const platform::DialogContent& content, const DpiScale& scale)
      : ui::Form(app, "TMessageForm", {}, content.caption, ui::DialogStyle(false)),
        content_(content),
        icon_(*this, "Icon", {}),
        text_(*this, "Message", {}, content.text, ui::kWordWrap),
        answer_(content.escape_result) {
    const int edge = IconEdgeAt(96);
    icon_.SetPicture(
        std::make_shared<SizedIcon>(edge, edge, [name = SystemIcon(content.icon)](int drawn) {
          return LoadIconOfEdge(nullptr, name, drawn);
        }));
    const int count = static_cast<int>(content.buttons.size());
    int first = 0;  // the default answer's button
    for (int i = 0; i < count; ++i) {
      if (content.buttons[i].result == content.default_result) first = i;
    }
    for (int i = 0; i < count; ++i) {
      AddButton(content.buttons[i], content.escape_result);
      // Tab goes round the row as it stands; the round starts, and so the
      // focus rests, at the default answer, which Enter then presses.
      buttons_.back()->SetTabRank((i - first + count) % count);
    }
    MeasureAt(scale);
  }

  int Answer() const { return answer_; }

  void MeasureAt(const DpiScale& scale) override {
    const MessageLayout layout = Measure(content_, scale.Dpi());
    StoreBounds({Left(), Top(), scale.ToUnits(layout.client.cx), scale.ToUnits(layout.client.cy)});
    icon_.StoreBounds(Units(layout.icon, scale));
    text_.StoreBounds(Units(layout.text, scale));
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
      buttons_[i]->StoreBounds(Units(layout.buttons[i], scale));
    }
  }

 private:
  static ui::Rect Units(const RECT& pixels, const DpiScale& scale) {
    return {scale.ToUnits(pixels.left), scale.ToUnits(pixels.top),
            scale.ToUnitsCovering(pixels.right - pixels.left),
            scale.ToUnitsCovering(pixels.bottom - pixels.top)};
  }

  void AddButton(const platform::DialogButton& answer, int escape) {
    auto button = std::make_unique<ui::Button>(*this, answer.name, ui::Rect{}, answer.caption);
    button->OnClick.Bind([this, result = answer.result] {
      answer_ = result;
      Hide();
    });
    if (answer.result == escape) SetCancelButton(*button);
    buttons_.push_back(std::move(button));
  }

  const platform::DialogContent& content_;
  ui::Image icon_;
  ui::Label text_;
  std::vector<std::unique_ptr<ui::Button>> buttons_;
  int answer_;
};

}  // namespace

int ShowMessageForm(ui::Application& app, UiBackend& backend,
                    const platform::DialogContent& content) {
  MessageForm form(app, content, DpiScale(ScreenDpi()));
  backend.Realize(form);
  form.ShowModal();
  return form.Answer();
}

}  // namespace win32
