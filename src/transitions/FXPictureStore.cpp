#include "transitions/FXPictureStore.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "transitions/FXPicture.h"

namespace {

struct Store {
  Store() = default;
  Store(const Store &) = delete;
  Store &operator=(const Store &) = delete;
  ~Store() { FinishWarming(); }

  void FinishWarming() {
    if (warming.joinable())
      warming.join();
  }

  std::vector<std::unique_ptr<FXPicture>> kept;
  // Touches the memory of pictures that are kept already: no one takes
  // them before it has ended.
  std::thread warming;
};

Store &TheStore() {
  static Store store;
  store.FinishWarming();
  return store;
}

bool Larger(const std::unique_ptr<FXPicture> &a, const std::unique_ptr<FXPicture> &b) { return a->Area() > b->Area(); }

} // namespace

namespace FXPictureStore {

std::unique_ptr<FXPicture> Take(int32_t width, int32_t height) {
  std::vector<std::unique_ptr<FXPicture>> &kept = TheStore().kept;
  auto best = kept.end();
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    if ((*it)->Holds(width, height) && (best == kept.end() || (*it)->Area() < (*best)->Area()))
      best = it;
  }
  if (best != kept.end()) {
    std::unique_ptr<FXPicture> picture = std::move(*best);
    kept.erase(best);
    picture->Use(width, height);
    return picture;
  }
  auto picture = std::make_unique<FXPicture>();
  if (!picture->Make(width, height))
    return nullptr;
  return picture;
}

void Keep(std::unique_ptr<FXPicture> picture) {
  if (!picture)
    return;
  std::vector<std::unique_ptr<FXPicture>> &kept = TheStore().kept;
  kept.push_back(std::move(picture));
  std::stable_sort(kept.begin(), kept.end(), Larger);
  if (kept.size() > kKept)
    kept.resize(kKept);
}

void Warm(int32_t width, int32_t height) {
  Store &store = TheStore();
  const auto holding = std::count_if(store.kept.begin(), store.kept.end(),
                                     [&](const std::unique_ptr<FXPicture> &p) { return p->Holds(width, height); });
  std::vector<FXPicture *> made;
  for (auto missing = static_cast<size_t>(holding); missing < kKept; ++missing) {
    auto picture = std::make_unique<FXPicture>();
    if (!picture->Make(width, height))
      break;
    made.push_back(picture.get());
    store.kept.push_back(std::move(picture));
  }
  // Those that hold the size stay, the others go first.
  std::stable_partition(store.kept.begin(), store.kept.end(),
                        [&](const std::unique_ptr<FXPicture> &p) { return p->Holds(width, height); });
  if (store.kept.size() > kKept)
    store.kept.resize(kKept);
  const auto touch = [made] {
    for (FXPicture *picture : made)
      picture->Touch();
  };
  if (made.empty())
    return;
  try {
    store.warming = std::thread(touch);
  } catch (const std::system_error &) {
    touch(); // no thread to be had: the memory is touched now
  }
}

size_t KeptCount() { return TheStore().kept.size(); }

void Clear() { TheStore().kept.clear(); }

} // namespace FXPictureStore
