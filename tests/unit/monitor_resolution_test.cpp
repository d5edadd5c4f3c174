// Drawing the forms on monitors of other resolutions than 96 dpi: the declared layouts scale to
// pixels, and icons are drawn from the image that suits the size they come to.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "about/about_dialog.h"
#include "finish/auto_reboot.h"
#include "finish/finish_page.h"
#include "finish/restart_prompt.h"
#include "release_fixture.h"
#include "ui/layout.h"
#include "win32/portable/dpi_scale.h"
#include "win32/portable/icon_choice.h"
#include "wizard/details_dialog.h"
#include "wizard/summary_page.h"

namespace {

using win32::DpiScale;
using win32::PixelEdges;

class MonitorResolution : public test::ReleaseFixture {};

void ForEachParent(const ui::Control& control, const std::function<void(const ui::Control&)>& f) {
  if (control.Children().empty()) return;
  f(control);
  for (const ui::Control* child : control.Children()) ForEachParent(*child, f);
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool Overlap(const PixelEdges& a, const PixelEdges& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The monitors' usual settings, 100 % to 250 %.
constexpr int kResolutions[] = {96, 120, 144, 168, 192, 240};

// A form laid out anew on a monitor of another resolution: controls that meet in units meet in
// pixels, none that stand apart come to overlap, and a client area measured in pixels (a form
// the user sizes) gives back the units it was laid out in.
TEST_F(MonitorResolution, EveryFormKeepsItsLayoutOnEveryMonitor) {
  UseStandardRelease(true);
  Start();
  const frame::Forms& f = Pages();
  const std::vector<const ui::Form*> forms = {
      f.FWillkommen, f.FLizenz, f.FMethode, f.FErweitert,  f.FKopieren, f.FDetails,
      f.FEnde,       f.FAbout,  f.FStart,   f.FAutoReboot, f.Form1};
  for (const int dpi : kResolutions) {
    const DpiScale scale(dpi);
    for (const ui::Form* form : forms) {
      ForEachParent(*form, [&](const ui::Control& parent) {
        const ui::Point client = ui::DesignClientSize(parent);
        EXPECT_EQ(scale.ToUnits(scale.ToPixels(client.x)), client.x) << parent.Name() << dpi;
        EXPECT_EQ(scale.ToUnits(scale.ToPixels(client.y)), client.y) << parent.Name() << dpi;
        const std::vector<ui::Rect> units = ui::LayoutChildren(parent, client);
        for (std::size_t i = 0; i < units.size(); ++i) {
          const PixelEdges a = scale.ToPixels(units[i]);
          for (std::size_t j = i + 1; j < units.size(); ++j) {
            const PixelEdges b = scale.ToPixels(units[j]);
            SCOPED_TRACE(parent.Children()[i]->Name() + " and " + parent.Children()[j]->Name() +
                         " at " + std::to_string(dpi) + " dpi");
            EXPECT_EQ(Overlap(a, b), Overlap(units[i], units[j]));
            EXPECT_EQ(a.right == b.left, units[i].right() == units[j].left);
            EXPECT_EQ(a.bottom == b.top, units[i].bottom() == units[j].top);
          }
        }
      });
    }
  }
}

struct IconCase {
  std::vector<win32::IconImageSize> images;
  int edge;
  std::size_t chosen;
};

// Scaled down from the smallest image that covers the size, else up from the largest; of two
// images of one size the one with more colours.
TEST(IconImage, TheImageThatSuitsTheSizeItIsDrawnAt) {
  const std::vector<win32::IconImageSize> usual = {
      {16, 32}, {32, 8}, {32, 32}, {48, 32}, {256, 32}};
  const IconCase cases[] = {
      {usual, 16, 0},
      {usual, 20, 2},
      {usual, 32, 2},
      {usual, 40, 3},
      {usual, 48, 3},
      {usual, 64, 4},
      {usual, 300, 4},
      {{{16, 32}}, 48, 0},
      {{{48, 4}, {16, 32}}, 24, 0},
      {{{48, 4}, {16, 32}}, 8, 1},
      {{{32, 4}, {32, 8}}, 32, 1},
  };
  for (const IconCase& c : cases) {
    EXPECT_EQ(win32::ChooseIconImage(c.images, c.edge), c.chosen)
        << c.edge << " px from " << c.images.size() << " images";
  }
}

}  // namespace
