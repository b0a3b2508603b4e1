#pragma once

#include <windows.h>

#include <cstdint>

// The stand-in search component built for the tests (VORSearch.dll in the
// "standin" folder beside the test programs). Besides the three entries the
// player calls, it exports controls for the tests: what it was given, how
// often it was launched, how many messages it took, and a way to answer as
// a person using the searcher would, and a way to make its launches fail.
namespace SearchStandIn {

// The one message the stand-in takes for itself while its searcher runs.
constexpr UINT kOwnMessage = WM_APP + 0x5E1;
constexpr const char *kFolder = "standin\\";
constexpr const char *kFileName = "VORSearch.dll";

// Copies what loadDictionary was given into buffer; answers its size.
using DictionaryControl = unsigned long(__cdecl *)(unsigned char *buffer, unsigned long size);
// How often launchSearcher was called (failed launches count too).
using CountControl = int(__cdecl *)();
// While set, launchSearcher answers 0: the searcher could not be shown.
using RefuseControl = void(__cdecl *)(int refuse);
// Reports a result naming the page id, or, for a negative id, that the
// searcher was closed.
using AnswerControl = void(__cdecl *)(int32_t pageId);

} // namespace SearchStandIn
