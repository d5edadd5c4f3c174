// Loads each DLL named on its command line by its plain name ("winmm.dll"), with Windows'
// ordinary search order and nothing to restrict it: the program's own folder comes first. The
// DLL-planting tests run it beside the canaries to show that a planted DLL of each name would
// be loaded and recorded. Prints one line per name: "<name> = <path of the loaded module>",
// or "<name> = error <code>".
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    HMODULE module = LoadLibraryW(argv[i]);
    if (!module) {
      std::printf("%ls = error %lu\n", argv[i], GetLastError());
      continue;
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::printf("%ls = %ls\n", argv[i], path);
  }
  std::fflush(stdout);
  return 0;
}
