#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "model/VORExternalResourceIdentifier.h"

class VORFile;

// The shared holder of the compiled publication file: the start-up, the
// page cache and the internal resources open it through here, and the file
// stays open while any of them holds it.
class PublicationFile {
public:
  // Opens the file the identifier names for reading; null when it does not
  // open. The application gives one that goes through its file manager.
  using Opener = std::function<std::unique_ptr<VORFile>(const VORExternalResourceIdentifier &)>;

  PublicationFile(const VORExternalResourceIdentifier &identifier, Opener opener);
  PublicationFile(const PublicationFile &) = delete;
  PublicationFile &operator=(const PublicationFile &) = delete;
  ~PublicationFile();

  // The first open opens the file, later ones only count; null when the
  // file cannot be opened.
  VORFile *Open();
  // The last close closes the file.
  void Close();
  // A further opening of the same file, with a chain of open folders of its
  // own and not counted here: for readers of top-level entries (internal
  // resources) while others may hold folders of the shared opening open.
  // Null when the file cannot be opened.
  std::unique_ptr<VORFile> OpenSeparately() const;

  const VORExternalResourceIdentifier &GetIdentifier() const { return m_identifier; }
  uint32_t GetOpenCount() const { return m_openCount; }

private:
  VORExternalResourceIdentifier m_identifier;
  Opener m_opener;
  uint32_t m_openCount = 0;
  std::unique_ptr<VORFile> m_file;
};

// Holds the publication file open for the time of a scope.
class PublicationFileScope {
public:
  explicit PublicationFileScope(PublicationFile &holder) : m_holder(holder) {}
  PublicationFileScope(const PublicationFileScope &) = delete;
  PublicationFileScope &operator=(const PublicationFileScope &) = delete;
  ~PublicationFileScope();

  // True when a file was obtained.
  bool Open();
  VORFile &GetFile() const { return *m_file; }

private:
  PublicationFile &m_holder;
  VORFile *m_file = nullptr;
};
