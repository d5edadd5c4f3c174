// The side pictures of the wizard pages, Icon.ico of the About dialog, and
// Readme.txt beside the program.
#include "check/checks.h"
#include "check/names.h"
#include "check/picture_size.h"

namespace check {

namespace {

// The side picture's place on the welcome, method, summary and finish pages
// (their ILinks): it takes the picture's size.
constexpr PictureSize kSidePicture{164, 313};
// Windows picks the icon image nearest to the system's icon size, 32 at the
// usual resolution; the About dialog draws it in 33 x 33.
constexpr int kIconEdge = 32;

std::string SizeText(PictureSize size) {
  return std::to_string(size.width) + " × " + std::to_string(size.height);
}

struct SidePicture {
  const char* key;
  const std::string& file;
  const char* page;
};

class PictureCheck {
 public:
  PictureCheck(const ReleaseView& view, ReleaseFiles& files, Report& report)
      : view_(view), files_(files), report_(report) {}

  void Run() {
    const release::SetupSettings& seen = view_.seen;
    for (const SidePicture& picture : {SidePicture{"Image1", seen.Image1, "the welcome page"},
                                       SidePicture{"Image2", seen.Image2, "the method page"},
                                       SidePicture{"Image3", seen.Image3, "the summary page"},
                                       SidePicture{"Image4", seen.Image4, "the finish page"}}) {
      if (!picture.file.empty()) Side(picture);
    }
    Icon();
    Readme();
  }

 private:
  void At(const SidePicture& picture, std::string id, Severity severity, std::string message,
          std::string fix) {
    report_.AtKey(std::move(id), severity, view_.settings, "Images", picture.key,
                  std::move(message), std::move(fix));
  }

  void Side(const SidePicture& picture) {
    const std::string& file = picture.file;
    const std::string page = picture.page;
    const PictureKind kind = PictureKindOf(file);
    if (kind == PictureKind::Other) {
      At(picture, "picture-extension", Severity::Error,
         Quoted(file) + " is no .bmp or .ico file: " + page + " shows an error box instead",
         "save the picture as a Windows bitmap (.bmp) of " + SizeText(kSidePicture) + " pixels");
      return;
    }
    switch (PlaceInData(file)) {
      case PathPlace::Absolute:
        At(picture, "picture-path-absolute", Severity::Error,
           Quoted(file) + " is an absolute path: the installer looks for it as Data\\" + file +
               ", and " + page + " shows an error box",
           "put the picture into Data and name it relative to Data");
        return;
      case PathPlace::Outside:
        At(picture, "picture-path-outside-data", Severity::Warning,
           Quoted(file) +
               " climbs out of Data: the picture is found only while the release's "
               "surroundings stay as they are",
           "put the picture into Data and name it relative to Data");
        break;
      case PathPlace::Inside:
        break;
    }
    const PictureRead read = Read(view_.data + file, kind);
    if (!read.size) {
      At(picture, problem_id_, Severity::Error,
         Quoted(file) + " " + read.problem + ": " + page + " shows an error box instead",
         problem_id_ == "picture-missing" ? "put the picture into Data, or correct the name"
                                          : "save the picture again as a Windows bitmap");
      return;
    }
    const PictureSize size = *read.size;
    if (size.width != kSidePicture.width || size.height != kSidePicture.height) {
      At(picture, "picture-size", Severity::Warning,
         Quoted(file) + " is " + SizeText(size) + " pixels: " + page + " has room for " +
             SizeText(kSidePicture) +
             " and takes the picture's size, so the page's layout "
             "shifts",
         "make the picture " + SizeText(kSidePicture) + " pixels");
    }
  }

  void Icon() {
    const std::string name = "Data\\Icon.ico";
    const PictureRead read = Read(view_.data + "Icon.ico", PictureKind::Icon);
    if (!read.size) {
      const bool missing = problem_id_ == "picture-missing";
      report_.Add(missing ? "icon-missing" : "icon-unreadable", Severity::Error, name, {}, {},
                  "Icon.ico " + read.problem + ": the About dialog shows an error box and no logo",
                  missing ? "put the release's icon into Data as Icon.ico"
                          : "save the icon again as a Windows icon (.ico)");
      return;
    }
    if (read.size->width != kIconEdge || read.size->height != kIconEdge) {
      report_.Add("icon-size", Severity::Warning, name, {}, {},
                  "the icon has no " + SizeText({kIconEdge, kIconEdge}) +
                      " image: the About dialog draws its " + SizeText(*read.size) +
                      " image in 33 × 33",
                  "add a " + SizeText({kIconEdge, kIconEdge}) + " image to the icon");
    }
  }

  void Readme() {
    const EntryKind kind = files_.KindOf(view_.root + "Readme.txt");
    if (kind == EntryKind::File) return;
    report_.Add(kind == EntryKind::Missing ? "readme-missing" : "readme-is-folder",
                Severity::Warning, "Readme.txt", {}, {},
                std::string(kind == EntryKind::Missing ? "Readme.txt is missing"
                                                       : "Readme.txt is a folder") +
                    " beside Installer.exe: the About dialog's Readme button opens Notepad on "
                    "nothing",
                "put the release's read-me beside Installer.exe as Readme.txt");
  }

  // The picture's size, or the problem; problem_id_ says which problem.
  PictureRead Read(const std::string& path, PictureKind kind) {
    problem_id_ = "picture-unreadable";
    switch (files_.KindOf(path)) {
      case EntryKind::Missing:
        problem_id_ = "picture-missing";
        return {std::nullopt, "is missing from Data"};
      case EntryKind::Folder:
        return {std::nullopt, "is a folder"};
      case EntryKind::File:
        break;
    }
    const auto bytes = files_.ReadBytes(path);
    if (!bytes) return {std::nullopt, "can't be read"};
    PictureRead read =
        kind == PictureKind::Bitmap ? ReadBitmap(*bytes) : ReadIcon(*bytes, kIconEdge);
    if (!read.size) read.problem = "is " + read.problem;
    return read;
  }

  const ReleaseView& view_;
  ReleaseFiles& files_;
  Report& report_;
  std::string problem_id_;
};

}  // namespace

void CheckPictures(const ReleaseView& view, ReleaseFiles& files, Report& report) {
  PictureCheck(view, files, report).Run();
}

}  // namespace check
