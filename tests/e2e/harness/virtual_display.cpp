#include "harness/virtual_display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace e2e {
namespace {

// Xvfb writes the display number it took, then a newline, once it accepts clients.
std::string ReadDisplayNumber(int fd, ChildProcess& xvfb, int timeout_ms) {
  std::string text;
  for (int waited = 0; waited < timeout_ms && text.find('\n') == std::string::npos;) {
    pollfd entry{fd, POLLIN, 0};
    int ready = poll(&entry, 1, 100);
    if (ready < 0 && errno != EINTR) break;
    waited += 100;
    if (ready <= 0) {
      if (!xvfb.Running()) break;
      continue;
    }
    char buffer[16];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, got);
  }
  size_t end = text.find('\n');
  return end == std::string::npos ? std::string() : text.substr(0, end);
}

}  // namespace

VirtualDisplay::VirtualDisplay(const std::string& log_file) {
  std::string program = FindOnPath("Xvfb");
  if (program.empty()) throw std::runtime_error("Xvfb not found: run scripts/setup.sh");
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  SpawnOptions options;
  options.argv = {program,     "-displayfd", std::to_string(pipe_fds[1]),
                  "-screen",   "0",          "1280x1024x24",
                  "-nolisten", "tcp",        "-noreset"};
  options.env = {"PATH=/usr/bin:/bin"};
  options.output_file = log_file;
  options.inherited_fd = pipe_fds[1];
  options.stop_signal = SIGTERM;  // lets Xvfb remove its lock file and socket
  try {
    xvfb_.emplace(options);
  } catch (...) {
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    throw;
  }
  close(pipe_fds[1]);
  std::string number = ReadDisplayNumber(pipe_fds[0], *xvfb_, 15000);
  close(pipe_fds[0]);
  if (number.empty()) {
    Stop();
    throw std::runtime_error("Xvfb did not start; see " + log_file);
  }
  name_ = ":" + number;
}

void VirtualDisplay::Stop() {
  if (xvfb_) xvfb_->Stop();
  xvfb_.reset();
}

}  // namespace e2e
