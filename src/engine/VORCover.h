#pragma once

// The cover picture the start-up shows over the screen until the first page
// has been up a while. The program makes it (it needs the image classes,
// which build on the engine); the application only keeps and deletes it.
class VORCover {
public:
  VORCover() = default;
  VORCover(const VORCover &) = delete;
  VORCover &operator=(const VORCover &) = delete;
  virtual ~VORCover() = default;
};
