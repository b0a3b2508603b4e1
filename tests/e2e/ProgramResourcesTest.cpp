#include "support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The libraries a program file imports, by name in lower case; empty when
// the file is not a program of this target.
std::set<std::string> ImportedLibraries(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::set<std::string> names;
  const auto at = [&bytes](size_t offset, size_t size) {
    return offset <= bytes.size() && size <= bytes.size() - offset ? bytes.data() + offset : nullptr;
  };
  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS nt;
  if (!at(0, sizeof dos))
    return names;
  std::memcpy(&dos, bytes.data(), sizeof dos);
  const char *ntBytes = at(static_cast<size_t>(dos.e_lfanew), sizeof nt);
  if (!ntBytes)
    return names;
  std::memcpy(&nt, ntBytes, sizeof nt);
  if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
    return names;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  const size_t sectionTable = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                              nt.FileHeader.SizeOfOptionalHeader;
  const char *table = at(sectionTable, sections.size() * sizeof(IMAGE_SECTION_HEADER));
  if (!table)
    return names;
  std::memcpy(sections.data(), table, sections.size() * sizeof(IMAGE_SECTION_HEADER));
  const auto fileOffset = [&sections](DWORD rva) -> size_t {
    for (const IMAGE_SECTION_HEADER &section : sections)
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
        return rva - section.VirtualAddress + section.PointerToRawData;
    return SIZE_MAX;
  };
  size_t entry = fileOffset(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
  IMAGE_IMPORT_DESCRIPTOR descriptor;
  for (const char *next = at(entry, sizeof descriptor); next;
       next = at(entry += sizeof descriptor, sizeof descriptor)) {
    std::memcpy(&descriptor, next, sizeof descriptor);
    if (descriptor.Name == 0)
      break;
    const char *name = at(fileOffset(descriptor.Name), 1);
    if (!name)
      break;
    std::string lower(name, strnlen(name, static_cast<size_t>(bytes.data() + bytes.size() - name)));
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    names.insert(lower);
  }
  return names;
}

// Every library a program imports is loaded, with all it imports in turn,
// before its first line runs; under Wine the OLE family (which the
// multimedia library imports too) and the common dialogs cost the first
// page more than a tenth of a second. The programs load those when they
// first need them.
TEST(ProgramResourcesTest, TheProgramsImportOnlyTheCoreSystemLibraries) {
  const std::set<std::string> core = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
  for (const char *name : {"vorplayer.exe", "vorcompact.exe", "VORPLAY.scr"}) {
    const std::set<std::string> imported = ImportedLibraries(ProgramDriver::ProgramFolder() + name);
    EXPECT_TRUE(imported.count("kernel32.dll")) << name << ": the import table was not read";
    for (const std::string &library : imported)
      EXPECT_TRUE(core.count(library)) << name << " imports " << library;
  }
}

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
