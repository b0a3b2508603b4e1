#include "support/PublicationWriter.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "vorfile/FolderItemHeader.h"

namespace {

constexpr uint32_t kAbsentEntry = 0xFFFFFFFF;

void AppendUint32(std::vector<uint8_t> &out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(value >> shift));
}

void Append(std::vector<uint8_t> &out, const std::vector<uint8_t> &bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

uint32_t Length(size_t size) {
  if (size > UINT32_MAX)
    throw std::length_error("container part longer than 32 bits can say");
  return static_cast<uint32_t>(size);
}

uint32_t ItemLength(size_t size) {
  if (size > FolderItemHeader::kMaxLength)
    throw std::length_error("folder item longer than its header can say");
  return static_cast<uint32_t>(size);
}

} // namespace

PublicationWriter::Folder &PublicationWriter::Folder::AddFolder(std::vector<uint8_t> key) {
  m_items.push_back({Kind::kKeyedFolder, std::move(key), std::make_unique<Folder>()});
  return *m_items.back().folder;
}

PublicationWriter::Folder &PublicationWriter::Folder::AddFolder(const VORObjectKey &reference, uint32_t keyLength) {
  return AddFolder(ReferenceKey(reference, keyLength));
}

PublicationWriter::Folder &PublicationWriter::Folder::AddAnonymousFolder() {
  m_items.push_back({Kind::kAnonymousFolder, {}, std::make_unique<Folder>()});
  return *m_items.back().folder;
}

PublicationWriter::Folder &PublicationWriter::Folder::AddData(std::vector<uint8_t> bytes) {
  m_items.push_back({Kind::kData, std::move(bytes), nullptr});
  return *this;
}

PublicationWriter::Folder &PublicationWriter::Folder::AddRaw(std::vector<uint8_t> bytes) {
  m_items.push_back({Kind::kRaw, std::move(bytes), nullptr});
  return *this;
}

std::vector<uint8_t> PublicationWriter::Folder::Bytes() const {
  std::vector<uint8_t> out;
  for (const Item &item : m_items)
    AppendItem(out, item);
  return out;
}

void PublicationWriter::Folder::AppendItem(std::vector<uint8_t> &out, const Item &item) const {
  switch (item.kind) {
  case Kind::kKeyedFolder: {
    const std::vector<uint8_t> body = item.folder->Bytes();
    AppendUint32(out, ItemLength(item.bytes.size() + body.size()));
    Append(out, item.bytes);
    Append(out, body);
    break;
  }
  case Kind::kAnonymousFolder: {
    const std::vector<uint8_t> body = item.folder->Bytes();
    AppendUint32(out, FolderItemHeader::kNoKeyBit | ItemLength(body.size()));
    Append(out, body);
    break;
  }
  case Kind::kData:
    AppendUint32(out, FolderItemHeader::kDataBit | ItemLength(item.bytes.size()));
    Append(out, item.bytes);
    break;
  case Kind::kRaw:
    Append(out, item.bytes);
    break;
  }
}

PublicationWriter::Folder &PublicationWriter::AddEntry(uint32_t index) { return AddEntry(index, IndexKey(index)); }

PublicationWriter::Folder &PublicationWriter::AddEntry(uint32_t index, std::vector<uint8_t> key) {
  Entry &entry = m_entries[index];
  entry.key = std::move(key);
  return entry.body;
}

std::vector<uint8_t> PublicationWriter::Bytes() const {
  uint32_t count = m_entryCount;
  if (!m_entries.empty())
    count = std::max(count, m_entries.rbegin()->first + 1);

  std::vector<uint32_t> offsets(count, kAbsentEntry);
  std::vector<uint8_t> entries;
  for (const auto &indexAndEntry : m_entries) {
    offsets[indexAndEntry.first] = Length(entries.size());
    const std::vector<uint8_t> body = indexAndEntry.second.body.Bytes();
    AppendUint32(entries, Length(indexAndEntry.second.key.size() + body.size()));
    Append(entries, indexAndEntry.second.key);
    Append(entries, body);
  }

  std::vector<uint8_t> out;
  AppendUint32(out, m_version);
  AppendUint32(out, count);
  for (uint32_t offset : offsets)
    AppendUint32(out, offset);
  Append(out, entries);
  return out;
}

std::vector<uint8_t> PublicationWriter::IndexKey(uint32_t index) {
  std::vector<uint8_t> key;
  AppendUint32(key, index);
  return key;
}

std::vector<uint8_t> PublicationWriter::ReferenceKey(const VORObjectKey &reference, uint32_t keyLength) {
  uint8_t bytes[VORObjectKey::kSize];
  reference.ToBytes(bytes);
  return std::vector<uint8_t>(bytes, bytes + std::min(keyLength, VORObjectKey::kSize));
}
