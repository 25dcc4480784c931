#include "core/lists/item_list.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace pellix::lists {

void ItemList::Chunk::Append(std::string_view text) {
  bytes_.append(text);
  ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

void ItemList::Chunk::Insert(std::size_t at, const std::vector<std::string>& texts) {
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  std::size_t added = 0;
  for (const std::string& text : texts) {
    added += text.size();
  }
  std::string joined;
  joined.reserve(added);
  std::vector<std::uint32_t> ends;
  ends.reserve(texts.size());
  for (const std::string& text : texts) {
    joined.append(text);
    ends.push_back(static_cast<std::uint32_t>(begin + joined.size()));
  }
  bytes_.insert(begin, joined);
  for (std::size_t k = at; k < ends_.size(); ++k) {
    ends_[k] += static_cast<std::uint32_t>(added);
  }
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), ends.begin(), ends.end());
}

void ItemList::Chunk::Erase(const std::vector<std::size_t>& ascending) {
  if (ascending.empty()) {
    return;
  }
  // One pass over the bytes and the ends from the first item that goes.
  std::size_t write = ascending.front() == 0 ? 0 : ends_[ascending.front() - 1];
  std::size_t writeItem = ascending.front();
  std::size_t next = 0;
  for (std::size_t item = ascending.front(); item < ends_.size(); ++item) {
    const std::size_t begin = item == 0 ? 0 : ends_[item - 1];
    const std::size_t end = ends_[item];
    if (next < ascending.size() && ascending[next] == item) {
      ++next;
      continue;
    }
    // Forward, to an earlier place: a copy from left to right is safe.
    std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(begin),
              bytes_.begin() + static_cast<std::ptrdiff_t>(end),
              bytes_.begin() + static_cast<std::ptrdiff_t>(write));
    write += end - begin;
    ends_[writeItem++] = static_cast<std::uint32_t>(write);
  }
  bytes_.resize(write);
  ends_.resize(writeItem);
}

void ItemList::Chunk::Replace(std::size_t index, std::string_view text) {
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  const std::size_t old = ends_[index] - begin;
  bytes_.replace(begin, old, text);
  const auto delta = static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(old);
  for (std::size_t k = index; k < ends_.size(); ++k) {
    ends_[k] = static_cast<std::uint32_t>(static_cast<std::int64_t>(ends_[k]) + delta);
  }
}

void ItemList::Chunk::KeepFirst(std::size_t count) {
  ends_.resize(count);
  bytes_.resize(count == 0 ? 0 : ends_.back());
}

ItemList::const_iterator& ItemList::const_iterator::operator++() {
  ++index_;
  if (++offset_ == list_->chunks_[chunk_]->size() && chunk_ + 1 < list_->chunks_.size()) {
    ++chunk_;
    offset_ = 0;
  }
  return *this;
}

void ItemList::const_iterator::Seek(std::size_t index) {
  index_ = index;
  if (index < list_->size()) {
    std::tie(chunk_, offset_) = list_->Locate(index);
  } else if (!list_->chunks_.empty()) {
    chunk_ = list_->chunks_.size() - 1;  // the end: past the last chunk's last item
    offset_ = list_->chunks_[chunk_]->size() + (index - list_->size());
  }
}

ItemList::ItemList(const std::vector<std::string>& texts) {
  std::vector<std::string_view> views(texts.begin(), texts.end());
  Build(views);
}

ItemList::ItemList(std::initializer_list<std::string_view> texts) {
  Build(std::vector<std::string_view>(texts));
}

void ItemList::Build(const std::vector<std::string_view>& texts) {
  chunks_.clear();
  std::shared_ptr<Chunk> chunk;
  for (const std::string_view text : texts) {
    if (!chunk || chunk->size() == kChunkItems || chunk->Bytes() >= kChunkBytes) {
      chunk = std::make_shared<Chunk>();
      chunks_.push_back(chunk);
    }
    chunk->Append(text);
  }
  starts_.assign(1, 0);
  Reindex(0);
}

std::string_view ItemList::at(std::size_t index) const {
  if (index >= size()) {
    throw std::out_of_range("ItemList::at");
  }
  return (*this)[index];
}

ItemList::Snapshot ItemList::Take() const {
  Snapshot snapshot;
  snapshot.chunks_.assign(chunks_.begin(), chunks_.end());
  snapshot.size_ = size();
  return snapshot;
}

bool ItemList::Holds(const Snapshot& snapshot) const {
  return std::equal(
      chunks_.begin(), chunks_.end(), snapshot.chunks_.begin(), snapshot.chunks_.end(),
      [](const std::shared_ptr<Chunk>& own, const std::shared_ptr<const Chunk>& held) {
        return own.get() == held.get();
      });
}

void ItemList::Append(std::string_view text) {
  if (chunks_.empty() || chunks_.back()->size() >= kChunkItems ||
      chunks_.back()->Bytes() >= kChunkBytes) {
    chunks_.push_back(std::make_shared<Chunk>());
    starts_.resize(chunks_.size() + 1);
    starts_[chunks_.size()] = starts_[chunks_.size() - 1];
  }
  Own(chunks_.size() - 1).Append(text);
  ++starts_.back();
}

void ItemList::Insert(std::size_t at, const std::vector<std::string>& texts) {
  if (at > size()) {
    throw std::out_of_range("ItemList::Insert");
  }
  if (texts.empty()) {
    return;
  }
  if (chunks_.empty()) {
    *this = ItemList(texts);
    return;
  }
  // At the end of a chunk rather than the start of the next, so the top goes to chunk 0.
  std::size_t chunk = chunks_.size() - 1;
  std::size_t offset = chunks_[chunk]->size();
  if (at < size()) {
    std::tie(chunk, offset) = Locate(at);
  }
  Own(chunk).Insert(offset, texts);
  Split(chunk);
  Reindex(chunk);
}

void ItemList::EraseAscending(const std::vector<std::size_t>& ascending) {
  if (ascending.empty()) {
    return;
  }
  const std::size_t first = Locate(ascending.front()).first;
  for (std::size_t next = 0; next < ascending.size();) {
    const std::size_t chunk = Locate(ascending[next]).first;
    const std::size_t start = starts_[chunk];
    std::vector<std::size_t> places;
    for (; next < ascending.size() && ascending[next] < starts_[chunk + 1]; ++next) {
      places.push_back(ascending[next] - start);
    }
    Own(chunk).Erase(places);
  }
  DropEmpty(first);
}

void ItemList::Replace(std::size_t index, std::string_view text) {
  const auto [chunk, offset] = Locate(index);
  Own(chunk).Replace(offset, text);
}

void ItemList::KeepFirst(std::size_t count) {
  if (count >= size()) {
    return;
  }
  if (count == 0) {
    chunks_.clear();
    starts_.clear();
    return;
  }
  const auto [chunk, offset] = Locate(count);
  if (offset == 0) {
    chunks_.resize(chunk);
  } else {
    Own(chunk).KeepFirst(offset);
    chunks_.resize(chunk + 1);
  }
  starts_.resize(chunks_.size() + 1);
  starts_.back() = count;
}

std::vector<std::string> ItemList::ToVector() const {
  std::vector<std::string> texts;
  texts.reserve(size());
  ForEach([&texts](std::string_view text) { texts.emplace_back(text); });
  return texts;
}

bool operator==(const ItemList& a, const ItemList& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool operator==(const ItemList& a, const std::vector<std::string>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

std::pair<std::size_t, std::size_t> ItemList::Locate(std::size_t index) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end() - 1, index);
  const auto chunk = static_cast<std::size_t>(after - starts_.begin()) - 1;
  return {chunk, index - starts_[chunk]};
}

ItemList::Chunk& ItemList::Own(std::size_t chunk) {
  std::shared_ptr<Chunk>& shared = chunks_[chunk];
  if (shared.use_count() > 1) {
    shared = std::make_shared<Chunk>(*shared);
  } else {
    // The last snapshot was let go on another thread: what it read comes before our change.
    std::atomic_thread_fence(std::memory_order_acquire);
  }
  return *shared;
}

void ItemList::Split(std::size_t chunk) {
  const Chunk& whole = *chunks_[chunk];
  if (whole.size() <= 2 * kChunkItems && (whole.Bytes() <= 2 * kChunkBytes || whole.size() < 2)) {
    return;
  }
  std::vector<std::shared_ptr<Chunk>> parts;
  for (std::size_t item = 0; item < whole.size(); ++item) {
    if (parts.empty() || parts.back()->size() == kChunkItems ||
        parts.back()->Bytes() >= kChunkBytes) {
      parts.push_back(std::make_shared<Chunk>());
    }
    parts.back()->Append(whole[item]);
  }
  chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk), parts.begin(), parts.end());
}

void ItemList::DropEmpty(std::size_t from) {
  chunks_.erase(
      std::remove_if(chunks_.begin() + static_cast<std::ptrdiff_t>(from), chunks_.end(),
                     [](const std::shared_ptr<Chunk>& chunk) { return chunk->size() == 0; }),
      chunks_.end());
  if (chunks_.empty()) {
    starts_.clear();
    return;
  }
  Reindex(from);
}

void ItemList::Reindex(std::size_t from) {
  starts_.resize(chunks_.size() + 1);
  for (std::size_t chunk = from; chunk < chunks_.size(); ++chunk) {
    starts_[chunk + 1] = starts_[chunk] + chunks_[chunk]->size();
  }
}

}  // namespace pellix::lists
