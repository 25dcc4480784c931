#pragma once
// A list of texts kept in chunks of a few thousand, each chunk shared until it is changed. Two
// things a list of a million items needs are cheap here: another thread can take a snapshot of
// the list as it is now (it shares the chunks: a few hundred pointers, never the texts) and read
// it while the list goes on changing, and a text put in at the top moves only the first chunk's
// texts, not the whole list's. A change copies a chunk only while a snapshot still holds it.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace pellix::lists {

template <typename Text>
class ChunkedTexts {
 public:
  using Chunk = std::vector<Text>;
  using value_type = Text;

  // Chunks are split above twice this many texts and made about this size when built.
  static constexpr std::size_t kChunkSize = 4096;

  // The list as it was when taken: read on any thread, never changed.
  class Snapshot {
   public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t ChunkCount() const { return chunks_.size(); }
    const Chunk& ChunkAt(std::size_t chunk) const { return *chunks_[chunk]; }
    // Calls `visit(text)` for each text in order.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
      for (const std::shared_ptr<const Chunk>& chunk : chunks_) {
        for (const Text& text : *chunk) {
          visit(text);
        }
      }
    }

   private:
    friend class ChunkedTexts;
    Snapshot() = default;  // made by Take alone (and so never from braces by mistake)
    std::vector<std::shared_ptr<const Chunk>> chunks_;
    std::size_t size_ = 0;
  };

  // Steps from text to text within a chunk, and from chunk to chunk, without looking the index
  // up each time; a jump looks it up.
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = Text;
    using difference_type = std::ptrdiff_t;
    using pointer = const Text*;
    using reference = const Text&;

    const_iterator() = default;
    const_iterator(const ChunkedTexts* list, std::size_t index) : list_(list) { Seek(index); }
    reference operator*() const { return (*list_->chunks_[chunk_])[offset_]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }
    const_iterator& operator++() {
      ++index_;
      if (++offset_ == list_->chunks_[chunk_]->size() && chunk_ + 1 < list_->chunks_.size()) {
        ++chunk_;
        offset_ = 0;
      }
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    const_iterator& operator--() {
      Seek(index_ - 1);
      return *this;
    }
    const_iterator operator--(int) {
      const_iterator before = *this;
      --*this;
      return before;
    }
    const_iterator& operator+=(difference_type n) {
      Seek(static_cast<std::size_t>(static_cast<difference_type>(index_) + n));
      return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.index_ == b.index_;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.index_ <=> b.index_;
    }

   private:
    void Seek(std::size_t index) {
      index_ = index;
      if (index < list_->size()) {
        std::tie(chunk_, offset_) = list_->Locate(index);
      } else if (!list_->chunks_.empty()) {
        chunk_ = list_->chunks_.size() - 1;  // the end: one past the last chunk's last text
        offset_ = list_->chunks_[chunk_]->size() + (index - list_->size());
      }
    }

    const ChunkedTexts* list_ = nullptr;
    std::size_t index_ = 0;
    std::size_t chunk_ = 0;
    std::size_t offset_ = 0;
  };
  using iterator = const_iterator;

  ChunkedTexts() = default;
  ChunkedTexts(std::vector<Text> texts) { Assign(std::move(texts)); }  // NOLINT: a list of texts
  ChunkedTexts(std::initializer_list<Text> texts) : ChunkedTexts(std::vector<Text>(texts)) {}

  std::size_t size() const { return starts_.empty() ? 0 : starts_.back(); }
  bool empty() const { return size() == 0; }
  const Text& operator[](std::size_t index) const {
    const auto [chunk, offset] = Locate(index);
    return (*chunks_[chunk])[offset];
  }
  const Text& at(std::size_t index) const {
    if (index >= size()) {
      throw std::out_of_range("ChunkedTexts::at");
    }
    return (*this)[index];
  }
  const Text& front() const { return chunks_.front()->front(); }
  const Text& back() const { return chunks_.back()->back(); }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  // Calls `visit(text)` for each text in order, a chunk at a time.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const std::shared_ptr<Chunk>& chunk : chunks_) {
      for (const Text& text : *chunk) {
        visit(text);
      }
    }
  }

  Snapshot Take() const {
    Snapshot snapshot;
    snapshot.chunks_.assign(chunks_.begin(), chunks_.end());
    snapshot.size_ = size();
    return snapshot;
  }

  // The text at `index`, to be changed in place.
  Text& Edit(std::size_t index) {
    const auto [chunk, offset] = Locate(index);
    return Own(chunk)[offset];
  }

  // Puts `texts` in before the text at `at` (at most size()), the first of them at `at`.
  void Insert(std::size_t at, std::vector<Text> texts) {
    if (at > size()) {
      throw std::out_of_range("ChunkedTexts::Insert");
    }
    if (texts.empty()) {
      return;
    }
    if (chunks_.empty()) {
      Assign(std::move(texts));
      return;
    }
    // At the end of a chunk rather than the start of the next, so the top goes to chunk 0.
    std::size_t chunk = 0;
    std::size_t offset = 0;
    if (at == size()) {
      chunk = chunks_.size() - 1;
      offset = chunks_[chunk]->size();
    } else {
      std::tie(chunk, offset) = Locate(at);
    }
    Chunk& target = Own(chunk);
    target.insert(target.begin() + static_cast<std::ptrdiff_t>(offset),
                  std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()));
    Split(chunk);
    Reindex(chunk);
  }

  // Takes out the texts at these indices (strictly ascending, each inside the list).
  void EraseAscending(const std::vector<std::size_t>& ascending) {
    if (ascending.empty()) {
      return;
    }
    std::size_t first = Locate(ascending.front()).first;
    // Within each chunk, one pass from its first removed text.
    for (std::size_t next = 0; next < ascending.size();) {
      const std::size_t chunk = Locate(ascending[next]).first;
      const std::size_t start = starts_[chunk];
      const std::size_t end = starts_[chunk + 1];
      Chunk& texts = Own(chunk);
      std::size_t write = ascending[next] - start;
      for (std::size_t read = write; read < texts.size(); ++read) {
        if (next < ascending.size() && ascending[next] == start + read) {
          ++next;
        } else {
          texts[write++] = std::move(texts[read]);
        }
      }
      texts.resize(write);
      while (next < ascending.size() && ascending[next] < end) {
        ++next;  // every index of this chunk was handled above
      }
    }
    DropEmpty(first);
  }

  // Keeps the first `count` texts.
  void KeepFirst(std::size_t count) {
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
      Own(chunk).resize(offset);
      chunks_.resize(chunk + 1);
    }
    starts_.resize(chunks_.size() + 1);
    starts_.back() = count;
  }

  // Every text, copied.
  std::vector<Text> ToVector() const { return std::vector<Text>(begin(), end()); }

  // Every text, moved out; the list is empty afterwards (for changes that rebuild it whole).
  std::vector<Text> Release() {
    std::vector<Text> texts;
    texts.reserve(size());
    for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
      if (chunks_[chunk].use_count() == 1) {
        std::atomic_thread_fence(std::memory_order_acquire);
        std::move(chunks_[chunk]->begin(), chunks_[chunk]->end(), std::back_inserter(texts));
      } else {
        texts.insert(texts.end(), chunks_[chunk]->begin(), chunks_[chunk]->end());
      }
    }
    chunks_.clear();
    starts_.clear();
    return texts;
  }

  friend bool operator==(const ChunkedTexts& a, const ChunkedTexts& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }
  friend bool operator==(const ChunkedTexts& a, const std::vector<Text>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }

 private:
  void Assign(std::vector<Text> texts) {
    chunks_.clear();
    for (std::size_t begin = 0; begin < texts.size(); begin += kChunkSize) {
      const std::size_t end = std::min(texts.size(), begin + kChunkSize);
      chunks_.push_back(std::make_shared<Chunk>(
          std::make_move_iterator(texts.begin() + static_cast<std::ptrdiff_t>(begin)),
          std::make_move_iterator(texts.begin() + static_cast<std::ptrdiff_t>(end))));
    }
    starts_.assign(1, 0);
    Reindex(0);
  }

  // The chunk and the place in it of the text at `index` (inside the list).
  std::pair<std::size_t, std::size_t> Locate(std::size_t index) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end() - 1, index);
    const auto chunk = static_cast<std::size_t>(after - starts_.begin()) - 1;
    return {chunk, index - starts_[chunk]};
  }

  // The chunk, made this list's own first when a snapshot shares it.
  Chunk& Own(std::size_t chunk) {
    std::shared_ptr<Chunk>& shared = chunks_[chunk];
    if (shared.use_count() > 1) {
      shared = std::make_shared<Chunk>(*shared);
    } else {
      // The last snapshot was let go on another thread: what it read comes before our change.
      std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *shared;
  }

  // A chunk grown past twice the size is cut into chunks of the size.
  void Split(std::size_t chunk) {
    if (chunks_[chunk]->size() <= 2 * kChunkSize) {
      return;
    }
    Chunk whole = std::move(*chunks_[chunk]);
    std::vector<std::shared_ptr<Chunk>> parts;
    for (std::size_t begin = 0; begin < whole.size(); begin += kChunkSize) {
      const std::size_t end = std::min(whole.size(), begin + kChunkSize);
      parts.push_back(std::make_shared<Chunk>(
          std::make_move_iterator(whole.begin() + static_cast<std::ptrdiff_t>(begin)),
          std::make_move_iterator(whole.begin() + static_cast<std::ptrdiff_t>(end))));
    }
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk), parts.begin(),
                   parts.end());
    starts_.resize(chunks_.size() + 1);
  }

  void DropEmpty(std::size_t from) {
    chunks_.erase(
        std::remove_if(chunks_.begin() + static_cast<std::ptrdiff_t>(from), chunks_.end(),
                       [](const std::shared_ptr<Chunk>& chunk) { return chunk->empty(); }),
        chunks_.end());
    if (chunks_.empty()) {
      starts_.clear();
      return;
    }
    starts_.resize(chunks_.size() + 1);
    Reindex(from);
  }

  void Reindex(std::size_t from) {
    starts_.resize(chunks_.size() + 1);
    for (std::size_t chunk = from; chunk < chunks_.size(); ++chunk) {
      starts_[chunk + 1] = starts_[chunk] + chunks_[chunk]->size();
    }
  }

  std::vector<std::shared_ptr<Chunk>> chunks_;
  std::vector<std::size_t> starts_;  // chunk k's first index; the last one is the size
};

}  // namespace pellix::lists
