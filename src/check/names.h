// Texts the checks share: names compared as the INI reader compares them,
// names that are nearly another, numbered names, lists of numbers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace check {

// As the reader compares section and key names.
std::string Fold(std::string_view name);

// Edits (insert, delete, replace, swap two neighbours) that turn a into b.
int EditDistance(std::string_view a, std::string_view b);

// `written` is not `known` but nearly: one edit for short names, two for longer ones.
bool IsClose(std::string_view written, std::string_view known);

// The number of a name made of `prefix` (folded) and digits, with blanks, "_"
// or "-" between them allowed: "File007" and "file 7" give 7 for "file".
std::optional<int> NumberAfter(std::string_view name, std::string_view prefix);

// Numbers (ascending) in runs: "Line004 to Line010, Line012"; long lists are cut.
std::string Ranges(const std::vector<int>& numbers, const std::function<std::string(int)>& name);

// A value in quotes for a message; long ones shortened.
std::string Quoted(const std::string& value);

// An address with a scheme the program shows in `where` but does not open (only http:// and
// https:// go to the shell), and what to do about it.
std::string NotWebAddress(const std::string& address, const std::string& where);
constexpr char kWebAddressHint[] = "name a web page, with http:// or https://";

// Where a path named in Settings.ini leads, seen from Data.
enum class PathPlace {
  Inside,    // below Data
  Absolute,  // a drive, or a network path: the installer puts Data\ in front of it all the same
  Outside,   // a ".." part climbs out of Data
};

PathPlace PlaceInData(const std::string& path);

}  // namespace check
