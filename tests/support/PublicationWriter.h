#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "vorfile/VORObjectKey.h"

// Builds a compiled publication file in memory, byte for byte as the
// container is laid out (little-endian throughout):
//
//   version word, entry count N, N entry offsets counted from the end of the
//   table (0xFFFFFFFF for an absent entry); each entry: its length L (key and
//   body), its key, its folder body.
//
// A folder body is a sequence of items, each a 4-byte header (bit 31 data,
// bit 30 folder without key, bits 0-29 the length after the header) and its
// bytes: a keyed folder item holds its key and a nested body, an item
// without key only the body, a data item its bytes.
//
// Record writers build on Folder: AddFolder for each object's folder,
// AddData with the record's bytes (RecordBytes), AddAnonymousFolder for the
// further parts of a record. Keys are stored as long as given: a folder that
// its reader opens with a key of 4 bytes is added with a 4-byte key.
class PublicationWriter {
public:
  class Folder {
  public:
    Folder() = default;
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    // A keyed folder item; answers the new folder.
    Folder &AddFolder(std::vector<uint8_t> key);
    // Keyed by the reference's first keyLength bytes: 8, or 4 for folders
    // read by the class half only.
    Folder &AddFolder(const VORObjectKey &reference, uint32_t keyLength = VORObjectKey::kSize);
    // A folder item without key (bit 30); answers the new folder.
    Folder &AddAnonymousFolder();
    // A data item; answers this folder. The first one is the folder's record.
    Folder &AddData(std::vector<uint8_t> bytes);
    // Bytes as they are, for malformed containers.
    Folder &AddRaw(std::vector<uint8_t> bytes);

    // The folder body.
    std::vector<uint8_t> Bytes() const;

  private:
    enum class Kind { kKeyedFolder, kAnonymousFolder, kData, kRaw };
    struct Item {
      Kind kind;
      std::vector<uint8_t> bytes; // the key of a keyed folder, else the content
      std::unique_ptr<Folder> folder;
    };
    void AppendItem(std::vector<uint8_t> &out, const Item &item) const;

    std::vector<Item> m_items;
  };

  explicit PublicationWriter(uint32_t version = 0) : m_version(version) {}

  // The entry at that index, keyed by the index's 4 bytes; the same index
  // again answers the same entry.
  Folder &AddEntry(uint32_t index);
  // With a key of its own (it should begin with the index's 4 bytes for
  // readers to find it).
  Folder &AddEntry(uint32_t index, std::vector<uint8_t> key);
  // At least this many slots in the table; by default one past the highest
  // index. Slots without an entry are absent.
  void SetEntryCount(uint32_t count) { m_entryCount = count; }

  std::vector<uint8_t> Bytes() const;

  // The little-endian bytes of a 32-bit value: the key of a top-level entry.
  static std::vector<uint8_t> IndexKey(uint32_t index);
  static std::vector<uint8_t> ReferenceKey(const VORObjectKey &reference, uint32_t keyLength = VORObjectKey::kSize);

private:
  struct Entry {
    std::vector<uint8_t> key;
    Folder body;
  };

  uint32_t m_version;
  uint32_t m_entryCount = 0;
  std::map<uint32_t, Entry> m_entries;
};
