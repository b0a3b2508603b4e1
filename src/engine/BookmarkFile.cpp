#include "engine/BookmarkFile.h"

#include <cstdio>
#include <memory>

namespace BookmarkFile {

namespace {

constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kCarriageReturn = 0x0D;
constexpr size_t kCountBytes = 4;
constexpr const char *kDefaultFolder = "c:\\";

void PutLittleEndian(std::vector<uint8_t> &out, uint32_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLittleEndian(const std::vector<uint8_t> &in, size_t at, size_t bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes; ++i)
    value |= static_cast<uint32_t>(in[at + i]) << (8 * i);
  return value;
}

struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

} // namespace

std::vector<uint8_t> Encode(const std::vector<VORObjectCode> &pages) {
  std::vector<uint8_t> data;
  PutLittleEndian(data, static_cast<uint32_t>(pages.size()), kCountBytes);
  for (const VORObjectCode &page : pages) {
    PutLittleEndian(data, static_cast<uint16_t>(page.category), 2);
    PutLittleEndian(data, static_cast<uint16_t>(page.code), 2);
    PutLittleEndian(data, static_cast<uint32_t>(page.id), 4);
  }
  return ToTextMode(data);
}

std::vector<VORObjectCode> Decode(const std::vector<uint8_t> &bytes) {
  const std::vector<uint8_t> data = FromTextMode(bytes);
  std::vector<VORObjectCode> pages;
  if (data.size() < kCountBytes)
    return pages;
  const uint32_t count = GetLittleEndian(data, 0, kCountBytes);
  // The count bounds the records, and so do the bytes there are.
  for (size_t at = kCountBytes; pages.size() < count && at + kRecordBytes <= data.size(); at += kRecordBytes)
    pages.emplace_back(static_cast<int16_t>(GetLittleEndian(data, at, 2)),
                       static_cast<int16_t>(GetLittleEndian(data, at + 2, 2)),
                       static_cast<int32_t>(GetLittleEndian(data, at + 4, 4)));
  return pages;
}

std::vector<uint8_t> ToTextMode(const std::vector<uint8_t> &data) {
  std::vector<uint8_t> bytes;
  bytes.reserve(data.size());
  for (uint8_t byte : data) {
    if (byte == kLineFeed)
      bytes.push_back(kCarriageReturn);
    bytes.push_back(byte);
  }
  return bytes;
}

std::vector<uint8_t> FromTextMode(const std::vector<uint8_t> &bytes) {
  std::vector<uint8_t> data;
  data.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == kCarriageReturn && i + 1 < bytes.size() && bytes[i + 1] == kLineFeed)
      continue;
    data.push_back(bytes[i]);
  }
  return data;
}

std::string BaseName(const std::string &path) {
  const size_t folderEnd = path.find_last_of("\\/:");
  std::string name = folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos)
    name.erase(dot);
  return name;
}

std::string NameFor(const char *temp, const char *tmpDir, const std::string &publicationFile,
                    const std::string &programPath) {
  const char *folder = temp ? temp : tmpDir ? tmpDir : kDefaultFolder;
  return std::string(folder) + "\\" + BaseName(publicationFile.empty() ? programPath : publicationFile) + kExtension;
}

bool ReadAll(const std::string &path, std::vector<uint8_t> &bytes) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file)
    return false;
  bytes.clear();
  uint8_t buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  return true;
}

bool WriteAll(const std::string &path, const std::vector<uint8_t> &bytes) {
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file)
    return false;
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

} // namespace BookmarkFile
