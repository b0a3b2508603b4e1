#include "browser/BrowserAddress.h"

#include <gtest/gtest.h>

#include <string>

#include "support/FakeFileManager.h"

namespace {

// Web addresses go as they are in every mode; other addresses are files
// of the disc (mode 1: the folder kept, the drive the machine's) or of the
// publication's folder (mode 2: name and extension only).
TEST(BrowserAddressTest, ResolvesByMode) {
  FakeFileManager files;
  files.SetPublicationFolder("C:\\pub\\");
  files.SetCDROMRoot("E:");
  struct Case {
    const char *address;
    int32_t mode;
    const char *resolved;
  } cases[] = {
      {"HTTP://Example.org/A.htm", 2, "HTTP://Example.org/A.htm"},
      {"Ftp://files.example.org/x", 1, "Ftp://files.example.org/x"},
      {"http:x", 1, "http:x"},
      {"D:\\web\\index.htm", 0, "D:\\web\\index.htm"},
      {"D:\\web\\index.htm", 1, "E:\\web\\index.htm"},
      {"web\\index.htm", 1, "E:\\web\\index.htm"},
      {"D:\\web\\index.htm", 2, "C:\\pub\\index.htm"},
      {"web/pages/index.htm", 2, "C:\\pub\\index.htm"},
      {"index.htm", 2, "C:\\pub\\index.htm"},
      {"https-like.htm", 2, "C:\\pub\\https-like.htm"},
  };
  for (const Case &c : cases) {
    std::string resolved;
    EXPECT_TRUE(BrowserAddress::Resolve(c.address, c.mode, &files, resolved)) << c.address << " " << c.mode;
    EXPECT_EQ(resolved, c.resolved) << c.address << " " << c.mode;
  }
}

// A file on a disc that is not there resolves to nothing.
TEST(BrowserAddressTest, NoDiscNoAddress) {
  FakeFileManager files;
  std::string resolved;
  EXPECT_FALSE(BrowserAddress::Resolve("D:\\web\\index.htm", 1, &files, resolved));
  EXPECT_FALSE(BrowserAddress::Resolve("index.htm", 2, nullptr, resolved));
  EXPECT_TRUE(BrowserAddress::Resolve("http://a", 2, nullptr, resolved));
}

} // namespace
