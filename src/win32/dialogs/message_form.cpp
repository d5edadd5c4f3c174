#include "win32/dialogs/message_form.h"

#include <memory>
#include <vector>

#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "win32/base/wide_text.h"
#include "win32/dialogs/message_layout.h"
#include "win32/peers/dpi_scale.h"
#include "win32/peers/fonts.h"
#include "win32/peers/ui_backend.h"
#include "win32/pictures/pictures.h"

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
  MessageLayout layout =
      MeasureMessage(screen, Widen(content.text), captions, GetSystemMetrics(SM_CXICON),
                     GetSystemMetrics(SM_CXSCREEN) / 2);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return layout;
}

class MessageForm : public ui::Form {
 public:
  MessageForm(ui::Application& app, const platform::DialogContent& content,
              const MessageLayout& layout, const DpiScale& scale)
      : ui::Form(app, "TMessageForm",
                 {0, 0, scale.ToUnits(layout.client.cx), scale.ToUnits(layout.client.cy)},
                 content.caption, ui::DialogStyle(false)),
        icon_(*this, "Icon", Units(layout.icon, scale)),
        text_(*this, "Message", Units(layout.text, scale), content.text, ui::kWordWrap),
        answer_(content.escape_result) {
    const int size = GetSystemMetrics(SM_CXICON);
    icon_.SetPicture(std::make_shared<IconPicture>(LoadIconW(nullptr, SystemIcon(content.icon)),
                                                   size, size, false));
    const int count = static_cast<int>(content.buttons.size());
    int first = 0;  // the default answer's button
    for (int i = 0; i < count; ++i) {
      if (content.buttons[i].result == content.default_result) first = i;
    }
    for (int i = 0; i < count; ++i) {
      AddButton(content.buttons[i], Units(layout.buttons[i], scale), content.escape_result);
      // Tab goes round the row as it stands; the round starts, and so the
      // focus rests, at the default answer, which Enter then presses.
      buttons_.back()->SetTabRank((i - first + count) % count);
    }
  }

  int Answer() const { return answer_; }

 private:
  static ui::Rect Units(const RECT& pixels, const DpiScale& scale) {
    return {scale.ToUnits(pixels.left), scale.ToUnits(pixels.top),
            scale.ToUnitsCovering(pixels.right - pixels.left),
            scale.ToUnitsCovering(pixels.bottom - pixels.top)};
  }

  void AddButton(const platform::DialogButton& answer, const ui::Rect& bounds, int escape) {
    auto button = std::make_unique<ui::Button>(*this, answer.name, bounds, answer.caption);
    button->OnClick.Bind([this, result = answer.result] {
      answer_ = result;
      Hide();
    });
    if (answer.result == escape) SetCancelButton(*button);
    buttons_.push_back(std::move(button));
  }

  ui::Image icon_;
  ui::Label text_;
  std::vector<std::unique_ptr<ui::Button>> buttons_;
  int answer_;
};

}  // namespace

int ShowMessageForm(ui::Application& app, UiBackend& backend,
                    const platform::DialogContent& content) {
  const DpiScale scale(ScreenDpi());
  MessageForm form(app, content, Measure(content, scale.Dpi()), scale);
  backend.Realize(form);
  form.ShowModal();
  return form.Answer();
}

}  // namespace win32
