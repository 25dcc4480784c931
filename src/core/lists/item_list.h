#pragma once
// An ordinary list's items as the store keeps them, built for a history of a million texts:
//   - packed: each chunk of a few thousand items holds their bytes one after another and where
//     each ends, so an item costs its bytes and four more, not a string object and a block of
//     its own (a third of the memory, and no allocation per item when a file is read);
//   - shared: a chunk is shared until it is changed, so another thread can take a snapshot of
//     the list (a few hundred pointers) and read it while the list goes on changing; a change
//     copies a chunk only while a snapshot still holds it;
//   - a text put in at the top moves only the first chunk's bytes, however long the list.
// Items are read as std::string_view; they are valid until the list changes.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace pellix::lists {

class ItemList {
 public:
  // Chunks are split above twice this many items (or bytes) and made about this size when built.
  static constexpr std::size_t kChunkItems = 4096;
  static constexpr std::size_t kChunkBytes = 1 << 20;

  class Chunk {
   public:
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t index) const {
      const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
      return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }
    std::size_t Bytes() const { return bytes_.size(); }
    // Its items' bytes one after another, and where each ends in them.
    std::string_view Text() const { return bytes_; }
    const std::vector<std::uint32_t>& Ends() const { return ends_; }

    void Append(std::string_view text);
    // Puts `texts` in before item `at`.
    void Insert(std::size_t at, const std::vector<std::string>& texts);
    // Takes out the items at these places (ascending).
    void Erase(const std::vector<std::size_t>& ascending);
    void Replace(std::size_t index, std::string_view text);
    void KeepFirst(std::size_t count);

   private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
  };

  // The list as it was when taken: read on any thread, never changed.
  class Snapshot {
   public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t ChunkCount() const { return chunks_.size(); }
    const Chunk& ChunkAt(std::size_t chunk) const { return *chunks_[chunk]; }
    template <typename Visit>
    void ForEach(Visit&& visit) const {
      for (const std::shared_ptr<const Chunk>& chunk : chunks_) {
        for (std::size_t item = 0; item < chunk->size(); ++item) {
          visit((*chunk)[item]);
        }
      }
    }

   private:
    friend class ItemList;
    Snapshot() = default;  // made by Take alone
    std::vector<std::shared_ptr<const Chunk>> chunks_;
    std::size_t size_ = 0;
  };

  // Steps from item to item within a chunk, and from chunk to chunk, without looking the index
  // up each time; a jump looks it up.
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(const ItemList* list, std::size_t index) : list_(list) { Seek(index); }
    reference operator*() const { return (*list_->chunks_[chunk_])[offset_]; }
    reference operator[](difference_type n) const { return *(*this + n); }
    const_iterator& operator++();
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
    void Seek(std::size_t index);

    const ItemList* list_ = nullptr;
    std::size_t index_ = 0;
    std::size_t chunk_ = 0;
    std::size_t offset_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;

  ItemList() = default;
  ItemList(const std::vector<std::string>& texts);  // NOLINT: a list of texts
  ItemList(std::initializer_list<std::string_view> texts);

  std::size_t size() const { return starts_.empty() ? 0 : starts_.back(); }
  bool empty() const { return size() == 0; }
  std::string_view operator[](std::size_t index) const {
    const auto [chunk, offset] = Locate(index);
    return (*chunks_[chunk])[offset];
  }
  std::string_view at(std::size_t index) const;
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  // Calls `visit(text)` for each item in order, a chunk at a time.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const std::shared_ptr<Chunk>& chunk : chunks_) {
      for (std::size_t item = 0; item < chunk->size(); ++item) {
        visit((*chunk)[item]);
      }
    }
  }

  // Calls `visit(chunk)` for each chunk in order.
  template <typename Visit>
  void ForEachChunk(Visit&& visit) const {
    for (const std::shared_ptr<Chunk>& chunk : chunks_) {
      visit(static_cast<const Chunk&>(*chunk));
    }
  }

  Snapshot Take() const;
  // Whether the list is still exactly as `snapshot` took it: a change since would have copied
  // or replaced a chunk the snapshot holds.
  bool Holds(const Snapshot& snapshot) const;

  // Puts `text` at the end (as a list is read).
  void Append(std::string_view text);
  // Puts `texts` in before the item at `at` (at most size()), the first of them at `at`.
  void Insert(std::size_t at, const std::vector<std::string>& texts);
  // Takes out the items at these indices (strictly ascending, each inside the list).
  void EraseAscending(const std::vector<std::size_t>& ascending);
  void Replace(std::size_t index, std::string_view text);
  // Keeps the first `count` items.
  void KeepFirst(std::size_t count);

  // Every item, copied.
  std::vector<std::string> ToVector() const;

  friend bool operator==(const ItemList& a, const ItemList& b);
  friend bool operator==(const ItemList& a, const std::vector<std::string>& b);

 private:
  // The chunk and the place in it of the item at `index` (inside the list).
  std::pair<std::size_t, std::size_t> Locate(std::size_t index) const;
  // The chunk, made this list's own first when a snapshot shares it.
  Chunk& Own(std::size_t chunk);
  void Build(const std::vector<std::string_view>& texts);
  void Split(std::size_t chunk);
  void DropEmpty(std::size_t from);
  void Reindex(std::size_t from);

  std::vector<std::shared_ptr<Chunk>> chunks_;
  std::vector<std::size_t> starts_;  // chunk k's first index; the last one is the size
};

}  // namespace pellix::lists
