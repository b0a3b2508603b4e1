#pragma once

#include <windows.h>

#include <memory>

class PrintingHost;
class VORPrinter;

// The program's printer: the system's print dialog and printers, pages
// composed in a printer view; its owner is the application.
std::unique_ptr<VORPrinter> MakeProgramPrinter(HINSTANCE instance, PrintingHost &owner);
