#include "printing/ProgramPrinter.h"

#include "printing/GdiPrinterDevice.h"
#include "printing/PrinterViewPictureMaker.h"
#include "printing/VORPrinter.h"

std::unique_ptr<VORPrinter> MakeProgramPrinter(HINSTANCE instance, PrintingHost &owner) {
  auto printer = std::make_unique<VORPrinter>(std::make_unique<Win32PrinterPlatform>(instance),
                                              std::make_unique<PrinterViewPictureMaker>(instance));
  printer->SetApplication(&owner);
  return printer;
}
