// What every page shares: a white header with heading and hint, etched
// lines, a button row at the bottom right, the set-up at creation, the step
// from one page to the next, and the cancel question, bound here so that no
// page can lose it; a page with its own way out binds its own handlers.
#pragma once

#include <optional>
#include <string>

#include "frame/context.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace frame {

// The built-in texts of a page's window and header; no hint line when null.
struct PageTexts {
  const char* caption;
  const char* heading;
  const char* hint;
};

// Tab ranks on a page: its own controls come first, then the button row,
// then whatever a page puts after the buttons.
constexpr int kButtonRowTabRank = 1;
constexpr int kAfterButtonRowTabRank = 2;

enum class FrameKind {
  Fixed,         // 469 x 413, single border, minimise box only
  FixedCentred,  // the same, centred on the screen at its first showing
  Sizeable,      // 455 x 408, resizable
};

class PageFrame : public ui::Form {
 public:
  PageFrame(Context& context, std::string form_name, const PageTexts& texts,
            FrameKind kind = FrameKind::Fixed);

  // Kept for the member initialisers below.
  const PageTexts texts_;

  // clang-format off
  ui::Panel PTop{*this, "PTop", {0, 0, Bounds().width, 61}, ui::kDockTop | ui::kWhiteBackground};
  ui::Label LStatus{PTop, "LStatus", {12, 8, 200, 13}, texts_.heading, ui::kBold | ui::kAutoSize};
  std::optional<ui::Label> LHinweis;
  ui::Panel Panel4{*this, "Panel4", {0, 61, Bounds().width, 2}, ui::kDockTop | ui::kLowered};
  ui::Panel Panel1{*this, "Panel1", {0, Bounds().height - 35, Bounds().width, 35},
                   ui::kDockBottom};
  ui::Panel Panel2{*this, "Panel2", {0, Bounds().height - 37, Bounds().width, 2},
                   ui::kDockBottom | ui::kLowered};
  ui::Panel Panel3{Panel1, "Panel3", {Bounds().width - 273, 0, 273, 35}, ui::kDockRight};
  // Declared in their tab order.
  ui::Button BWeiter{Panel3, "BWeiter", {88, 5, 81, 25}, "Weiter >"};
  ui::Button BAbbrechen{Panel3, "BAbbrechen", {188, 5, 81, 25}, "Abbrechen"};
  ui::Button BZurueck{Panel3, "BZurueck", {8, 5, 75, 25}, "< Zurück"};
  // clang-format on

  // The next page appears where this one stands, then this one goes.
  void GoTo(ui::Form& next);

  Context& Shared() const { return context_; }

 protected:
  const Forms& Pages() const { return context_.forms; }
  const std::string& Word(release::WordNumber word) const { return context_.Words[word]; }

  // The first steps of every page's creation: the release name as title and
  // a taskbar button of its own.
  void SetUpWindow();
  // A side picture from "Data\" + the file named in the settings.
  void LoadSidePicture(ui::Image& image, const std::string& file) const;

 private:
  // Cancelling a wizard page: asking first, then ending the program.
  void BAbbrechenClick();
  void FormCloseQuery(bool& can_close);
  void FormClose(ui::CloseAction& action);

  Context& context_;
};

}  // namespace frame
