#include "printing/PrintOptions.h"

namespace PrintOptions {

Kind KindOf(uint32_t options) {
  if ((options & kTextFile) != 0)
    return Kind::TextFile;
  if ((options & kViewPicture) != 0)
    return Kind::ViewPicture;
  return Kind::Page;
}

uint32_t DialogFlags(uint32_t options) {
  if ((options & kDialogWithSelection) != 0)
    return kSelectionDialogFlags;
  if ((options & kShowDialog) != 0)
    return kDialogFlags;
  return kDefaultPrinterFlags;
}

bool ShowsDialog(uint32_t options) { return (DialogFlags(options) & kReturnDefault) == 0; }

bool PrintsAllPages(uint32_t options, bool selectionChosen) {
  return (options & kDialogWithSelection) != 0 && !selectionChosen && KindOf(options) == Kind::Page;
}

bool CentresProgressDialog(uint32_t options) { return (options & (kDefaultPrinter | kDialogWithSelection)) != 0; }

} // namespace PrintOptions
