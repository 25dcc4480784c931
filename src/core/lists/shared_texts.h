#pragma once
// A list of texts that another thread can read as it was at one moment while the list goes on
// changing: a snapshot shares the list and every text in it, so taking one costs no copy, and a
// change made while a snapshot is still read copies only the texts' pointers, never the texts.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pellix::lists {

template <typename Text>
class SharedTexts {
 public:
  using Pointer = std::shared_ptr<const Text>;
  using Pointers = std::vector<Pointer>;
  using Snapshot = std::shared_ptr<const Pointers>;
  using value_type = Text;

  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = Text;
    using difference_type = std::ptrdiff_t;
    using pointer = const Text*;
    using reference = const Text&;

    const_iterator() = default;
    explicit const_iterator(typename Pointers::const_iterator at) : at_(at) {}
    reference operator*() const { return **at_; }
    pointer operator->() const { return at_->get(); }
    reference operator[](difference_type n) const { return *at_[n]; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) { return const_iterator(at_++); }
    const_iterator& operator--() {
      --at_;
      return *this;
    }
    const_iterator operator--(int) { return const_iterator(at_--); }
    const_iterator& operator+=(difference_type n) {
      at_ += n;
      return *this;
    }
    const_iterator& operator-=(difference_type n) {
      at_ -= n;
      return *this;
    }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return a.at_ - b.at_;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;
    friend auto operator<=>(const const_iterator&, const const_iterator&) = default;

   private:
    typename Pointers::const_iterator at_;
  };
  using iterator = const_iterator;

  SharedTexts() = default;
  explicit SharedTexts(std::vector<Text> texts) : texts_(std::make_shared<Pointers>()) {
    texts_->reserve(texts.size());
    for (Text& text : texts) {
      texts_->push_back(Share(std::move(text)));
    }
  }

  static Pointer Share(Text text) { return std::make_shared<const Text>(std::move(text)); }

  std::size_t size() const { return texts_ ? texts_->size() : 0; }
  bool empty() const { return size() == 0; }
  const Text& operator[](std::size_t index) const { return *(*texts_)[index]; }
  const Text& at(std::size_t index) const {
    if (index >= size()) {
      throw std::out_of_range("SharedTexts::at");
    }
    return (*this)[index];
  }
  const Text& front() const { return (*this)[0]; }
  const_iterator begin() const {
    return texts_ ? const_iterator(texts_->cbegin()) : const_iterator();
  }
  const_iterator end() const { return texts_ ? const_iterator(texts_->cend()) : const_iterator(); }

  // The texts as they are now, unchanged by anything done to this list afterwards.
  Snapshot Take() const { return texts_ ? Snapshot(texts_) : std::make_shared<const Pointers>(); }

  // The pointers to change the list by, made this list's own first when a snapshot shares them.
  Pointers& Edit() {
    if (!texts_) {
      texts_ = std::make_shared<Pointers>();
    } else if (texts_.use_count() > 1) {
      texts_ = std::make_shared<Pointers>(*texts_);
    } else {
      // The last snapshot was let go on another thread: what it read comes before our change.
      std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *texts_;
  }

  friend bool operator==(const SharedTexts& a, const std::vector<Text>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }

 private:
  std::shared_ptr<Pointers> texts_;
};

}  // namespace pellix::lists
