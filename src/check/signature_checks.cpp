// Authenticode signatures: of the installer itself, which organisations that
// admit programs by publisher need, and of packages whose maker always signs
// them. Only whether a signature is there is read from the file's header;
// whether it is valid is Windows' business at the start.
#include <cstdint>

#include "check/checks.h"
#include "check/names.h"
#include "engine/package_command.h"

namespace check {

namespace {

// Both headers lie at the start: a PE header stands in the first kilobytes.
constexpr std::size_t kHeaderBytes = 64 * 1024;

enum class Signature { Carried, Missing, OtherFormat };

// The little-endian number of `size` bytes at `at`; nothing beyond the bytes read.
std::optional<std::uint32_t> NumberAt(std::string_view bytes, std::size_t at, std::size_t size) {
  if (at > bytes.size() || bytes.size() - at < size) return std::nullopt;
  std::uint32_t n = 0;
  for (std::size_t i = size; i-- > 0;) n = n << 8 | static_cast<unsigned char>(bytes[at + i]);
  return n;
}

// A program's signature is the certificate table named by the security entry
// (IMAGE_DIRECTORY_ENTRY_SECURITY, the fifth) of the optional header's data
// directories, in PE32 and PE32+ files alike.
Signature ProgramSignature(std::string_view head) {
  constexpr std::uint32_t kPeMagic = 0x00004550;  // "PE\0\0"
  constexpr std::size_t kSecurityEntry = 4, kEntryBytes = 8;
  const auto pe = NumberAt(head, 0x3C, 4);
  if (head.substr(0, 2) != "MZ" || !pe || NumberAt(head, *pe, 4) != kPeMagic)
    return Signature::OtherFormat;
  const std::size_t optional = *pe + 24;
  const auto magic = NumberAt(head, optional, 2);
  if (magic != 0x10B && magic != 0x20B) return Signature::OtherFormat;
  const std::size_t directories = magic == 0x10B ? 96 : 112;
  const auto entries = NumberAt(head, optional + directories - 4, 4);
  if (!entries) return Signature::OtherFormat;
  if (*entries <= kSecurityEntry) return Signature::Missing;
  const auto size = NumberAt(head, optional + directories + kSecurityEntry * kEntryBytes + 4, 4);
  if (!size) return Signature::OtherFormat;
  return *size != 0 ? Signature::Carried : Signature::Missing;
}

// A signed cabinet keeps its signature's place and size in the header's
// reserved area (flag 0x0004; the area's size at 36, the area from 40): four
// bytes of its own header, the signature's offset, then its size.
Signature CabinetSignature(std::string_view head) {
  constexpr std::uint32_t kReservePresent = 0x0004, kSignatureArea = 20;
  const auto flags = NumberAt(head, 30, 2);
  if (head.substr(0, 4) != "MSCF" || !flags) return Signature::OtherFormat;
  if (!(*flags & kReservePresent)) return Signature::Missing;
  const auto area = NumberAt(head, 36, 2);
  const auto size = NumberAt(head, 48, 4);
  return area && *area >= kSignatureArea && size && *size != 0 ? Signature::Carried
                                                               : Signature::Missing;
}

class SignatureCheck {
 public:
  SignatureCheck(const ReleaseView& view, ReleaseFiles& files, Report& report)
      : view_(view), files_(files), report_(report) {}

  void Run() {
    Installer();
    for (int n = 1; n <= view_.package_count; ++n) {
      const std::string section = "File" + std::to_string(n);
      if (view_.settings.Section(section)) Package(section, (*view_.packages)[n].File);
    }
  }

 private:
  // A file that isn't a program is not this check's business.
  void Installer() {
    const auto head = files_.ReadStart(view_.root + "Installer.exe", kHeaderBytes);
    if (!head || ProgramSignature(*head) != Signature::Missing) return;
    report_.Add("installer-unsigned", Severity::Warning, "Installer.exe", {}, {},
                "Installer.exe carries no Authenticode signature: where application control "
                "admits programs by their publisher it does not start, and SmartScreen warns "
                "of it once it was downloaded",
                "sign Installer.exe with the organisation's code-signing certificate "
                "(scripts/sign.sh of the installer's build)");
  }

  // Microsoft signs every .msu: one without a signature is not as its maker shipped it.
  void Package(const std::string& section, const std::string& file) {
    if (file.empty() || engine::KindOf(file) != engine::PackageKind::Msu) return;
    const auto head = files_.ReadStart(view_.data + file, kHeaderBytes);
    if (!head || CabinetSignature(*head) != Signature::Missing) return;
    report_.AtKey("package-unsigned", Severity::Warning, view_.settings, section, "File",
                  Quoted(file) +
                      " carries no signature, though its maker signs every .msu package: it "
                      "is not the file as shipped, and Windows may refuse to install it",
                  "take the package again from its maker");
  }

  const ReleaseView& view_;
  ReleaseFiles& files_;
  Report& report_;
};

}  // namespace

void CheckSignatures(const ReleaseView& view, ReleaseFiles& files, Report& report) {
  SignatureCheck(view, files, report).Run();
}

}  // namespace check
