#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "printing/PagePicture.h"

class RichTextCanvas;
class RichTextMeasurer;
// The system's window handle type, declared so that this header stays free
// of the system headers.
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name

// The printer as a print job uses it: the document and page brackets, the
// device's facts, a picture stretched onto the sheet, and text drawn with
// the device's own fonts. The program's is a printer device context; tests
// record the calls. The device is let go (its context and the dialog's
// device records with it) when the object goes.
class PrinterDevice {
public:
  struct Facts {
    int32_t dpiX = 0;           // LOGPIXELSX
    int32_t dpiY = 0;           // LOGPIXELSY
    int32_t printableWidth = 0; // HORZRES
    int32_t printableHeight = 0;
    bool blitsBitmaps = false; // RASTERCAPS has RC_BITBLT
  };
  struct TextFacts {
    int32_t aveCharWidth = 0;
    int32_t height = 0;
    int32_t externalLeading = 0;
  };

  PrinterDevice() = default;
  PrinterDevice(const PrinterDevice &) = delete;
  PrinterDevice &operator=(const PrinterDevice &) = delete;
  virtual ~PrinterDevice() = default;

  virtual Facts GetFacts() = 0;
  // The metrics of the device's selected font (TEXTMETRIC).
  virtual TextFacts GetTextFacts() = 0;
  // Each answers whether the device took the call (StartDoc and StartPage
  // above 0, EndPage above 0).
  virtual bool StartDoc(const char *documentName) = 0;
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
  virtual bool EndDoc() = 0;
  virtual void AbortDoc() = 0;
  // The whole picture stretched to the rectangle.
  virtual bool StretchPicture(const PagePicture &picture, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
  // Text laid out and drawn with the device's resolution and fonts.
  virtual RichTextMeasurer &GetMeasurer() = 0;
  virtual RichTextCanvas &GetCanvas() = 0;
};

// How the printer reaches the system: the print dialog or the default
// printer, the messages that wait while a job runs, and the boxes it shows.
class PrinterPlatform {
public:
  virtual ~PrinterPlatform() = default;
  // The printer the print dialog's flags ask for; null when the dialog was
  // cancelled or there is no printer. selectionChosen: the dialog came back
  // with its Selection choice.
  virtual std::unique_ptr<PrinterDevice> OpenPrinter(HWND__ *owner, uint32_t dialogFlags, bool &selectionChosen) = 0;
  // Dispatches every waiting message (Cancel is pressed through them).
  virtual void PumpMessages() = 0;
  virtual void ShowMessage(HWND__ *owner, const std::string &text, const char *caption) = 0;
  // Puts the progress dialog over the middle of the screen.
  virtual void CentreWindow(HWND__ *window) = 0;
  // The screen resolution of the window the picture was shown in.
  virtual void GetScreenResolution(HWND__ *window, int32_t &dpiX, int32_t &dpiY) = 0;
};
