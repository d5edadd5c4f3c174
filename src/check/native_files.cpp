#include "check/native_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <system_error>
#include <utility>

#include "release/text_encoding.h"

namespace check {

namespace fs = std::filesystem;

namespace {

// A file name as Windows compares it, near enough: A to Z, and the letters of
// Latin-1 (À to Þ in UTF-8), in lower case.
std::string FoldFileName(const std::string& name) {
  std::string out = name;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

// A file opened with POSIX, closed with its owner.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes it now; false when the system could not write what it held.
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

std::string LastError() {
  return std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

// A file from start to end in blocks of 1 MiB; false, with the system's reason, when it can't
// be read to its end (or `sink` fails: it sets `reason` and returns false).
bool ReadFileInBlocks(const std::string& path, const std::function<bool(std::string_view)>& sink,
                      std::string& reason) {
  const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    reason = LastError();
    return false;
  }
  posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  constexpr std::size_t kBlock = 1 << 20;
  const std::unique_ptr<char[]> block(new char[kBlock]);
  for (;;) {
    const ssize_t done = read(file.get(), block.get(), kBlock);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) {
      reason = LastError();
      return false;
    }
    if (done == 0) return true;
    if (!sink(std::string_view(block.get(), static_cast<std::size_t>(done)))) return false;
  }
}

bool ReadFileInBlocks(const std::string& path, const platform::BlockSink& sink,
                      std::string& reason) {
  return ReadFileInBlocks(path,
                          std::function<bool(std::string_view)>([&sink](std::string_view block) {
                            sink(block);
                            return true;
                          }),
                          reason);
}

// Windows drops blanks and dots at the end of a file name.
std::string WithoutTrailingBlanksAndDots(std::string name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

}  // namespace

fs::path NativeReleaseFiles::Resolve(const std::string& path) const {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = path.find_first_of("\\/", start);
    std::string part = path.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (!parts.empty() && parts.back() != "..") {
    const std::string trimmed = WithoutTrailingBlanksAndDots(parts.back());
    if (!trimmed.empty()) parts.back() = trimmed;
  }
  fs::path at = folder_;
  for (const std::string& part : parts) {
    std::error_code error;
    if (part == ".." || fs::exists(at / part, error)) {
      at /= part;
      continue;
    }
    const std::string wanted = FoldFileName(part);
    fs::path found = at / part;
    for (fs::directory_iterator it(at, error), end; !error && it != end; it.increment(error)) {
      if (FoldFileName(it->path().filename().string()) == wanted) {
        found = it->path();
        break;
      }
    }
    at = found;
  }
  return at;
}

EntryKind NativeReleaseFiles::KindOf(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(Resolve(path), error);
  if (error || !fs::exists(status)) return EntryKind::Missing;
  return fs::is_directory(status) ? EntryKind::Folder : EntryKind::File;
}

std::optional<std::string> NativeReleaseFiles::ReadBytes(const std::string& path) {
  const fs::path file = Resolve(path);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<std::string> NativeReleaseFiles::ReadStart(const std::string& path,
                                                         std::size_t size) {
  const fs::path file = Resolve(path);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (in.bad() || (in.fail() && !in.eof())) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

bool NativeReleaseFiles::ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                                      std::string& reason) {
  return ReadFileInBlocks(Resolve(path).string(), sink, reason);
}

bool NativeReleaseFiles::ReplaceBytes(const std::string& path, const std::string& bytes,
                                      std::string& reason) {
  const fs::path target = Resolve(path);
  const fs::path temporary = target.string() + ".new";
  struct stat before;
  if (stat(target.c_str(), &before) != 0) {
    reason = LastError();
    return false;
  }
  Descriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  const bool written = file.get() >= 0 && WriteAll(file.get(), bytes) &&
                       fchmod(file.get(), before.st_mode & 07777) == 0 && fsync(file.get()) == 0 &&
                       file.Close() && rename(temporary.c_str(), target.c_str()) == 0;
  if (!written) {
    reason = LastError();
    unlink(temporary.c_str());
  }
  return written;
}

std::string NativeReleaseFiles::DecodeAnsi(std::string_view bytes) {
  return release::Windows1252ToUtf8(bytes);
}

std::unique_ptr<ReleaseFiles> OpenNativeFolder(const std::string& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return nullptr;
  return std::make_unique<NativeReleaseFiles>(folder);
}

namespace {

class FileSource : public release::ByteSource {
 public:
  explicit FileSource(int fd, std::uint64_t size) : file_(fd), size_(size) {}
  std::uint64_t Size() const override { return size_; }

 protected:
  bool ReadAt(std::uint64_t offset, std::size_t count, char* out, std::string& reason) override {
    while (count > 0) {
      const ssize_t done = pread(file_.get(), out, count, static_cast<off_t>(offset));
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) {
        reason = done == 0 ? "it ended early" : LastError();
        return false;
      }
      out += done;
      offset += static_cast<std::uint64_t>(done);
      count -= static_cast<std::size_t>(done);
    }
    return true;
  }

 private:
  Descriptor file_;
  std::uint64_t size_;
};

bool MakeParent(const std::string& path, std::string& reason) {
  std::error_code error;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, error);
  if (error) reason = error.message();
  return !error;
}

}  // namespace

EntryKind NativeBuildFiles::KindOf(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return EntryKind::Missing;
  return fs::is_directory(status) ? EntryKind::Folder : EntryKind::File;
}

bool NativeBuildFiles::IsEmptyFolder(const std::string& path) {
  std::error_code error;
  return fs::is_empty(path, error) && !error;
}

bool NativeBuildFiles::ListFiles(const std::string& folder, std::vector<std::string>& files,
                                 std::string& reason) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::string relative = fs::relative(it->path(), folder, error).generic_string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    files.push_back(relative);
  }
  if (error) reason = error.message();
  return !error;
}

std::unique_ptr<release::ByteSource> NativeBuildFiles::Open(const std::string& path,
                                                            std::string& reason) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0) {
    reason = LastError();
    if (fd >= 0) close(fd);
    return nullptr;
  }
  return std::make_unique<FileSource>(fd, static_cast<std::uint64_t>(info.st_size));
}

bool NativeBuildFiles::CopyNew(const std::string& from, const std::string& to,
                               const platform::BlockSink& sink, std::string& reason) {
  if (access(from.c_str(), R_OK) != 0 || !MakeParent(to, reason)) {
    if (reason.empty()) reason = LastError();
    return false;
  }
  Descriptor out(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (out.get() < 0) {
    reason = LastError();
    return false;
  }
  const bool copied =
      ReadFileInBlocks(from, std::function<bool(std::string_view)>([&](std::string_view block) {
                         if (!WriteAll(out.get(), block)) {
                           reason = LastError();
                           return false;
                         }
                         sink(block);
                         return true;
                       }),
                       reason) &&
      out.Close();
  if (!copied) {
    if (reason.empty()) reason = LastError();
    unlink(to.c_str());
  }
  return copied;
}

bool NativeBuildFiles::WriteNew(const std::string& path, const std::string& bytes,
                                std::string& reason) {
  if (!MakeParent(path, reason)) return false;
  Descriptor out(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (out.get() >= 0 && WriteAll(out.get(), bytes) && out.Close()) return true;
  reason = LastError();
  if (out.get() >= 0) unlink(path.c_str());
  return false;
}

bool NativeBuildFiles::MakeFolder(const std::string& path, std::string& reason) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  reason = LastError();
  return false;
}

bool NativeBuildFiles::RenameFolder(const std::string& from, const std::string& to,
                                    std::string& reason) {
  // rename() replaces an empty folder in one step, and refuses any other.
  if (rename(from.c_str(), to.c_str()) == 0) return true;
  reason = LastError();
  return false;
}

void NativeBuildFiles::Remove(const std::string& path) {
  std::error_code error;
  fs::remove_all(path, error);
}

std::string NativeBuildFiles::Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y.%m.%d", &local);
  return text;
}

std::string NativeBuildFiles::ProgramFolder() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).parent_path().string();
}

std::unique_ptr<ReleaseFiles> NativeBuildFiles::OpenRelease(const std::string& folder) {
  return OpenNativeFolder(folder);
}

}  // namespace check
