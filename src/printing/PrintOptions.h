#pragma once

#include <cstdint>

// What a print request's option bits ask for, and the print dialog's flags
// that follow from them.
namespace PrintOptions {

// Show the print dialog without the Selection choice.
constexpr uint32_t kShowDialog = 0x80000000;
// The default printer without a dialog (the dialog of kShowDialog wins).
constexpr uint32_t kDefaultPrinter = 0x40000000;
// The print dialog with Selection chosen: Selection prints the named page,
// any other choice every page of the publication.
constexpr uint32_t kDialogWithSelection = 0x20000000;
// Print the text file the request names.
constexpr uint32_t kTextFile = 0x10000000;
// Print what the view that sent the request shows now.
constexpr uint32_t kViewPicture = 0x01000000;

// PRINTDLG flags, spelled out so that this header needs no system header.
constexpr uint32_t kSelection = 0x00000001;       // PD_SELECTION
constexpr uint32_t kNoSelection = 0x00000004;     // PD_NOSELECTION
constexpr uint32_t kNoPageNumbers = 0x00000008;   // PD_NOPAGENUMS
constexpr uint32_t kReturnDC = 0x00000100;        // PD_RETURNDC
constexpr uint32_t kReturnDefault = 0x00000400;   // PD_RETURNDEFAULT
constexpr uint32_t kHidePrintToFile = 0x00100000; // PD_HIDEPRINTTOFILE
constexpr uint32_t kDefaultPrinterFlags = kReturnDefault | kReturnDC | kNoPageNumbers | kSelection | kHidePrintToFile;
constexpr uint32_t kDialogFlags = kReturnDC | kNoPageNumbers | kNoSelection | kHidePrintToFile;
constexpr uint32_t kSelectionDialogFlags = kReturnDC | kNoPageNumbers | kSelection | kHidePrintToFile;

enum class Kind { Page, ViewPicture, TextFile };

// The text file wins over the view's picture, which wins over the page.
Kind KindOf(uint32_t options);
// The print dialog's flags for the options; without a dialog bit, the
// default printer's.
uint32_t DialogFlags(uint32_t options);
// Whether the dialog is shown at all (else the default printer answers).
bool ShowsDialog(uint32_t options);
// Every page is printed only when the Selection dialog was answered with
// another choice, and only for a request that prints pages: a view's
// picture or a text file has no pages to go through.
bool PrintsAllPages(uint32_t options, bool selectionChosen);
// The progress dialog is placed again over the middle of the screen when
// the request went without the plain dialog.
bool CentresProgressDialog(uint32_t options);

} // namespace PrintOptions
