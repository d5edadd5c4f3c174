// Driver commands about what a label of the installer draws, read from the screen: its window
// text says what it holds, not how DrawText showed it. Each takes the command's words after its
// name. The label's font is made again here as the installer makes it: Tahoma at 8 points, at
// the screen's dots per inch (or the form's, where named), normal or bold (whichever matches).
#pragma once

#include <windows.h>

#include <string>

#include "driver_system.h"

namespace driver {

// drawn <form> <control>: "literal" when the label's pixels show its window text as written,
// "prefixed" when they show it with each '&' taken for an access key (the '&' gone, the next
// letter underlined), "either" when the two look alike; "unknown <counts>" when neither matches.
std::wstring Drawn(const Args& args);
// fits <form> <control>: "<text width> <text height> <label width> <label height> <inside>":
// the label's window text measured with its font, wrapped at the label's width (breaking a
// word wider than the label), and 1 when the label lies within its form's client area, else 0.
std::wstring Fits(const Args& args);
// The size of a label's window text drawn as written with the installer's font at `dpi`,
// wrapped at the label's width when its style is SS_LEFT (word-wrapped).
SIZE TextExtent(HWND label, bool bold, int dpi);
// Whether a label's pixels on the screen, painted already, look bold rather than normal.
bool LooksBold(HWND label, int dpi);
// The size of a push button's caption as the button draws it with the installer's font at `dpi`:
// on one line, an '&' taken for the access key.
SIZE CaptionExtent(HWND button, int dpi);
// bounds <form> <control>: the control's rectangle on the screen: left top right bottom.
std::wstring Bounds(const Args& args);

}  // namespace driver
