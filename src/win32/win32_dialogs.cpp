#include "win32/win32_dialogs.h"

#include <windows.h>

#include "win32/message_form.h"
#include "win32/wide_text.h"

namespace win32 {

void Win32Dialogs::ErrorBox(const std::string& caption, const std::string& text) {
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(), MB_ICONERROR | MB_OK);
}

void Win32Dialogs::MessageDialog(bool information, const std::string& text) {
  ShowMessageForm({information ? L"Informationen" : L"Fehler",
                   information ? IDI_INFORMATION : IDI_ERROR,
                   Widen(text),
                   {{IDOK, L"OK", L"OK"}},
                   IDOK,
                   IDOK});
}

bool Win32Dialogs::QuestionDialog(const std::string& text) {
  const int answer = ShowMessageForm({L"Bestätigen",
                                      IDI_QUESTION,
                                      Widen(text),
                                      {{IDYES, L"&Ja", L"Yes"}, {IDNO, L"&Nein", L"No"}},
                                      IDYES,
                                      IDNO});
  return answer == IDYES;
}

}  // namespace win32
