#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/PrintingHost.h"
#include "printing/PagePictureMaker.h"
#include "printing/PrinterDevice.h"
#include "richtext/RichTextCanvas.h"
#include "support/FakeTextMeasurer.h"

// A text line as the recording canvas saw it drawn.
struct DrawnText {
  int32_t x = 0;
  int32_t y = 0;
  std::string text;
};

// Keeps what was drawn, each sheet's text apart.
class RecordingTextCanvas : public RichTextCanvas {
public:
  void SetClip(const VORRect &rect) override { clips.push_back(rect); }
  void FillRect(const VORRect & /*rect*/, RichColor /*colour*/) override {}
  void DrawText(const RichTextFont &font, int32_t x, int32_t y, const char *text, int32_t length, RichColor colour,
                int32_t extra, int32_t breaks) override;
  void FillEllipse(const VORRect & /*rect*/, RichColor /*colour*/) override {}
  void Invert(const VORRect & /*rect*/) override {}

  std::vector<VORRect> clips;
  std::vector<DrawnText> drawn;
};

// A printer device that records its calls ("StartDoc Vorell page",
// "StartPage", "Stretch x y w h", "EndPage", "EndDoc", "AbortDoc", "Text y
// line") into a log the test keeps, and counts the devices alive.
class RecordingPrinterDevice : public PrinterDevice {
public:
  struct Log {
    std::vector<std::string> calls;
    std::vector<std::vector<DrawnText>> sheets; // text drawn on each sheet
    int liveDevices = 0;
  };

  RecordingPrinterDevice(Log &log, const Facts &facts);
  ~RecordingPrinterDevice() override;

  Facts GetFacts() override { return m_facts; }
  TextFacts GetTextFacts() override { return textFacts; }
  bool StartDoc(const char *documentName) override;
  bool StartPage() override;
  bool EndPage() override;
  bool EndDoc() override;
  void AbortDoc() override;
  bool StretchPicture(const PagePicture &picture, int32_t x, int32_t y, int32_t width, int32_t height) override;
  RichTextMeasurer &GetMeasurer() override { return m_measurer; }
  RichTextCanvas &GetCanvas() override { return m_canvas; }

  TextFacts textFacts{8, 16, 0};
  // A call of that name fails (answers false).
  std::string failing;

private:
  bool Record(const std::string &call);

  Log &m_log;
  Facts m_facts;
  FakeTextMeasurer m_measurer;
  RecordingTextCanvas m_canvas;
};

// The print dialog answered by the test, messages pumped by a hook, boxes
// recorded.
class FakePrinterPlatform : public PrinterPlatform {
public:
  explicit FakePrinterPlatform(RecordingPrinterDevice::Log &log) : m_log(log) {}

  std::unique_ptr<PrinterDevice> OpenPrinter(HWND__ *owner, uint32_t dialogFlags, bool &selectionChosen) override;
  void PumpMessages() override;
  void ShowMessage(HWND__ *owner, const std::string &text, const char *caption) override;
  void CentreWindow(HWND__ *window) override { centred.push_back(window); }
  void GetScreenResolution(HWND__ * /*window*/, int32_t &dpiX, int32_t &dpiY) override {
    dpiX = screenDpi;
    dpiY = screenDpi;
  }

  // The printer's facts: 600 dpi, an A4 sheet's printable area.
  PrinterDevice::Facts facts{600, 600, 4960, 7016, true};
  bool cancelDialog = false;
  bool chooseSelection = false;
  int32_t screenDpi = 96;
  std::vector<uint32_t> dialogFlags;
  std::vector<std::string> messages;
  std::vector<HWND__ *> centred;
  // Called at every pump with its count (from 1).
  std::function<void(int)> onPump;
  int pumps = 0;
  std::string failingCall;
  RecordingPrinterDevice::TextFacts textFacts{8, 16, 0};

private:
  RecordingPrinterDevice::Log &m_log;
};

// Pages "composed" as a picture of the page's size whose every pixel holds
// the page's id; the calls are recorded.
class FakePictureMaker : public PagePictureMaker {
public:
  bool CapturePage(VORPage &page, PagePicture &picture) override;
  bool CaptureView(VORView &view, PagePicture &picture) override;
  HWND__ *GetPrinterViewWindow() override { return nullptr; }
  void ReleasePrinterView() override;

  std::vector<int32_t> capturedPages; // ids, in order
  int capturedViews = 0;
  int releases = 0;
  bool viewAlive = false;
  bool failCapture = false;
  int32_t viewWidth = 320;
  int32_t viewHeight = 240;
};

// The application's printing flag and progress dialog, as a record.
class FakePrintingHost : public PrintingHost {
public:
  HWND__ *ShowPrintingDialog() override;
  void ClosePrintingDialog() override { dialogOpen = false; }
  bool IsPrinting() override { return printing; }
  void SetPrinting() override { printing = true; }
  void CancelPrinting() override { printing = false; }

  bool printing = false;
  bool dialogOpen = false;
  int dialogsShown = 0;
};

// A 24-bit top-down picture of the size, every pixel the value given.
PagePicture SolidPicture(int32_t width, int32_t height, uint32_t value);
