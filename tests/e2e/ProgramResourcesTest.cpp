#include "support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring LoadText(HMODULE module, UINT id) {
  wchar_t text[512] = {};
  const int length = LoadStringW(module, id, text, sizeof text / sizeof text[0]);
  return std::wstring(text, static_cast<size_t>(length));
}

// The Italian texts must survive the resource compiler's code page: the
// accented letters are checked as Unicode, whatever the ANSI code page is.
TEST(ProgramResourcesTest, EveryProgramCarriesTheItalianStringTableAndIcon) {
  struct Text {
    UINT id;
    const wchar_t *text;
  } texts[] = {
      {1, L"Pubblicazione"},
      {2, L"Si \u00e8 certi di voler cancellare tutti i segnalibri?"},
      {1800, L"La password non \u00e8 corretta."},
      {61559, L"Connettersi a Internet?"},
      {61560, L"Attenzione"},
  };
  for (const char *name : {"vorplayer.exe", "vorcompact.exe", "VORPLAY.scr"}) {
    const std::string path = ProgramDriver::ProgramFolder() + name;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << name;
    for (const Text &t : texts)
      EXPECT_EQ(LoadText(module, t.id), t.text) << name << " string " << t.id;
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(100), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr) << name;
    FreeLibrary(module);
  }
}

} // namespace
