// hash_file.exe [--portable] FILE: the installer's reading and hash of a package file, timed
// inside the process, for the hashing benchmark under Wine; --portable: with the engine of
// processors without the SHA extensions. Prints the seconds and the digest.
#include <chrono>
#include <cstdio>
#include <string>

#include "release/sha256.h"
#include "win32/base/file_access.h"

int main(int argc, char** argv) {
  const bool portable = argc == 3 && std::string(argv[1]) == "--portable";
  if (argc != 2 && !portable) {
    std::fprintf(stderr, "usage: hash_file [--portable] FILE\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  release::Sha256 hash(portable ? release::Sha256::Engine::Portable : release::Sha256::Fastest());
  std::string reason;
  if (!win32::ReadInBlocks(
          argv[argc - 1], [&hash](std::string_view block) { hash.Update(block); }, reason)) {
    std::fprintf(stderr, "hash_file: %s\n", reason.c_str());
    return 1;
  }
  const std::string digest = hash.HexDigest();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%.6f %s\n", seconds.count(), digest.c_str());
  return 0;
}
