#include "support/FakePrinter.h"

#include "display/VORView.h"
#include "model/VORPage.h"

void RecordingTextCanvas::DrawText(const RichTextFont & /*font*/, int32_t x, int32_t y, const char *text,
                                   int32_t length, RichColor /*colour*/, int32_t /*extra*/, int32_t /*breaks*/) {
  drawn.push_back({x, y, std::string(text, static_cast<size_t>(length))});
}

RecordingPrinterDevice::RecordingPrinterDevice(Log &log, const Facts &facts) : m_log(log), m_facts(facts) {
  ++m_log.liveDevices;
}

RecordingPrinterDevice::~RecordingPrinterDevice() { --m_log.liveDevices; }

bool RecordingPrinterDevice::Record(const std::string &call) {
  m_log.calls.push_back(call);
  return failing.empty() || call.rfind(failing, 0) != 0;
}

bool RecordingPrinterDevice::StartDoc(const char *documentName) {
  return Record(std::string("StartDoc ") + documentName);
}

bool RecordingPrinterDevice::StartPage() {
  m_canvas.drawn.clear();
  return Record("StartPage");
}

bool RecordingPrinterDevice::EndPage() {
  m_log.sheets.push_back(m_canvas.drawn);
  for (const DrawnText &line : m_canvas.drawn)
    m_log.calls.push_back("Text " + std::to_string(line.y) + " " + line.text);
  m_canvas.drawn.clear();
  return Record("EndPage");
}

bool RecordingPrinterDevice::EndDoc() { return Record("EndDoc"); }

void RecordingPrinterDevice::AbortDoc() { Record("AbortDoc"); }

bool RecordingPrinterDevice::StretchPicture(const PagePicture &picture, int32_t x, int32_t y, int32_t width,
                                            int32_t height) {
  uint32_t value = 0;
  if (!picture.IsEmpty())
    value = picture.bits[0] | picture.bits[1] << 8 | picture.bits[2] << 16;
  return Record("Stretch " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                std::to_string(height) + " of " + std::to_string(value));
}

std::unique_ptr<PrinterDevice> FakePrinterPlatform::OpenPrinter(HWND__ * /*owner*/, uint32_t flags,
                                                                bool &selectionChosen) {
  dialogFlags.push_back(flags);
  if (cancelDialog)
    return nullptr;
  selectionChosen = chooseSelection;
  auto device = std::make_unique<RecordingPrinterDevice>(m_log, facts);
  device->failing = failingCall;
  device->textFacts = textFacts;
  return device;
}

void FakePrinterPlatform::PumpMessages() {
  ++pumps;
  if (onPump)
    onPump(pumps);
}

void FakePrinterPlatform::ShowMessage(HWND__ * /*owner*/, const std::string &text, const char *caption) {
  messages.push_back(text + " / " + caption);
}

PagePicture SolidPicture(int32_t width, int32_t height, uint32_t value) {
  BitmapInfoHeader header = {};
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  std::vector<uint8_t> bits(static_cast<size_t>(PagePicture::RowBytes(header)) * static_cast<size_t>(height));
  for (size_t i = 0; i + 2 < bits.size(); i += 3) {
    bits[i] = static_cast<uint8_t>(value);
    bits[i + 1] = static_cast<uint8_t>(value >> 8);
    bits[i + 2] = static_cast<uint8_t>(value >> 16);
  }
  return PagePicture::Copy(bits.data(), &header);
}

bool FakePictureMaker::CapturePage(VORPage &page, PagePicture &picture) {
  if (failCapture)
    return false;
  viewAlive = true;
  capturedPages.push_back(page.GetId());
  const VORRect rect = page.GetPageRect();
  picture = SolidPicture(rect.right - rect.left, rect.bottom - rect.top, static_cast<uint32_t>(page.GetId()));
  return true;
}

bool FakePictureMaker::CaptureView(VORView & /*view*/, PagePicture &picture) {
  ++capturedViews;
  picture = SolidPicture(viewWidth, viewHeight, 0xABCDEF);
  return true;
}

void FakePictureMaker::ReleasePrinterView() {
  ++releases;
  viewAlive = false;
}

HWND__ *FakePrintingHost::ShowPrintingDialog() {
  dialogOpen = true;
  ++dialogsShown;
  // Any handle will do: the platform only records it.
  return reinterpret_cast<HWND__ *>(static_cast<uintptr_t>(0x1000 + dialogsShown));
}
