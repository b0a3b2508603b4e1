#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class FXPicture;

// The pictures effects work on, kept from one effect for the next. Memory
// fresh from the system costs a page fault per page on its first touch: on
// some machines tens of milliseconds for the three pictures of a full
// screen, which would stall the start of every transition. A kept picture
// serves any effect it is large enough for.
namespace FXPictureStore {

// One effect's worth of pictures is kept: its new, old and composed frame.
constexpr size_t kKept = 3;

// The smallest kept picture that holds width x height, else a new one of
// that size; its image is the top-left width x height. Null when a new one
// cannot be made.
std::unique_ptr<FXPicture> Take(int32_t width, int32_t height);
// Keeps a picture for later effects: the largest kKept are kept.
void Keep(std::unique_ptr<FXPicture> picture);
// Makes sure kKept pictures that hold width x height are kept, and touches
// the memory of those it makes on a thread of its own, so that the next
// effect finds them ready. Called when a page has been shown and the program
// is idle; Take and Keep wait for the thread if it still runs.
void Warm(int32_t width, int32_t height);
// The kept pictures, after waiting for any warming.
size_t KeptCount();
// Deletes the kept pictures (tests).
void Clear();

} // namespace FXPictureStore
