#include "startup/ProgramParts.h"

std::string ProgramParts::Describe() const {
  const struct {
    bool present;
    const char *word;
  } words[] = {{cover, "cover"},
               {pictureFiles, "picture-files"},
               {importFilters, "import-filters"},
               {sound, "sound"},
               {effects, "effects"},
               {printer, "printer"}};
  std::string text;
  for (const auto &each : words) {
    if (!each.present)
      continue;
    if (!text.empty())
      text += ' ';
    text += each.word;
  }
  return text;
}
