#include "text/token_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/failure.h"
#include "base/limits.h"
#include "text/signature.h"

namespace quirlex {
namespace {

[[noreturn]] void refuse_size() {
  throw limit_failures::too_many_tokens();
}

[[noreturn]] void refuse_bytes() {
  throw limit_failures::too_many_text_bytes();
}

}  // namespace

void TokenList::refuse_index() {
  throw InvalidArgument();
}

void TokenList::grow_storage(std::size_t n) {
  const std::size_t capacity = ends_.capacity();
  std::size_t step = static_cast<std::size_t>(grow_step_);
  if (step == 0) step = std::clamp<std::size_t>(ends_.size() / 8, 4, 1024);
  const std::size_t wanted =
      std::min<std::size_t>(std::max(capacity + step, n), static_cast<std::size_t>(kMaxSize));
  ends_.reserve(wanted);
}

void TokenList::set_size(std::int64_t n, std::int32_t step) {
  if (step >= 0) grow_step_ = step;
  if (n < 0) throw InvalidArgument();
  if (n > kMaxSize) refuse_size();
  const auto count = static_cast<std::size_t>(n);
  failing_as_out_of_memory([&] {
    if (count == 0) {
      Ends().swap(ends_);
      std::string().swap(text_);
      return;
    }
    if (ends_.capacity() == 0) {
      ends_.reserve(std::max(count, static_cast<std::size_t>(grow_step_)));
    } else if (count > ends_.capacity()) {
      grow_storage(count);
    }
    if (count < ends_.size()) text_.resize(end_of(count - 1));
    // New tokens are empty words at the end of the text.
    ends_.resize(count, pack(text_.size(), 0));
  });
}

void TokenList::reserve_for(std::int64_t n, std::int32_t step, std::int64_t bytes) {
  set_size(0, step);
  if (n < 0 || bytes < 0) throw InvalidArgument();
  if (n > kMaxSize) refuse_size();
  if (bytes > kMaxBytes) refuse_bytes();
  failing_as_out_of_memory([&] {
    if (n > 0) {
      ends_.reserve(std::max(static_cast<std::size_t>(n), static_cast<std::size_t>(grow_step_)));
    }
    text_.reserve(static_cast<std::size_t>(bytes));
  });
}

void TokenList::append_growing(std::string_view text, std::uint8_t separator) {
  if (ends_.size() >= static_cast<std::size_t>(kMaxSize)) refuse_size();
  if (text.size() > room()) refuse_bytes();
  failing_as_out_of_memory([&] {
    if (ends_.size() == ends_.capacity()) {
      if (ends_.capacity() == 0) {
        ends_.reserve(std::max<std::size_t>(1, static_cast<std::size_t>(grow_step_)));
      } else {
        grow_storage(ends_.size() + 1);
      }
    }
    text_.append(text);
  });
  ends_.push_back(pack(text_.size(), separator));
}

WordToken TokenList::element(std::int64_t index) const {
  const std::size_t i = checked(index);
  WordToken token;
  token.offset = static_cast<std::uint32_t>(start_of(i));
  token.length = static_cast<std::uint32_t>(end_of(i) - token.offset);
  token.separator = static_cast<std::uint8_t>(ends_[i] >> 31);
  if (signatures_ && token.length >= 2) {
    const std::string_view word(text_.data() + token.offset, token.length);
    const LetterStats stats = letter_stats(word);
    token.letter_mask = stats.letter_mask;
    token.signature =
        signature_from_letter_sum(stats.letter_sum, word.front(), word.back(), word.size());
  }
  return token;
}

std::string_view TokenList::text(const WordToken& token) const {
  if (token.offset > text_.size() || token.length > text_.size() - token.offset) refuse_index();
  return {text_.data() + token.offset, token.length};
}

double TokenList::signature(std::int64_t index) const {
  return signatures_ ? signature_of(text(index)) : 0.0;
}

void TokenList::overwrite(std::int64_t index, std::string_view text) {
  const std::span<char> bytes = mutable_text(index);
  if (bytes.size() != text.size()) throw InvalidArgument();
  if (!text.empty()) std::memcpy(bytes.data(), text.data(), text.size());
}

void TokenList::assign_copy(const TokenList& other) {
  if (this == &other) return;
  failing_as_out_of_memory([&] {
    std::string text;
    text.reserve(other.text_.size());
    if (text.capacity() >= kLargeBlockSize) advise_huge_pages(text.data(), text.capacity());
    text.append(other.text_);
    Ends ends(other.ends_);
    text_ = std::move(text);
    ends_ = std::move(ends);
  });
  grow_step_ = other.grow_step_;
  signatures_ = other.signatures_;
  encoding_ = other.encoding_;
}

void TokenList::make_empty() {
  set_size(0);
}

bool TokenList::has_signed_token() const {
  for (std::size_t i = 0; i < ends_.size(); ++i) {
    if (end_of(i) - start_of(i) >= 2) return true;
  }
  return false;
}

bool operator==(const TokenList& a, const TokenList& b) {
  if (a.ends_ != b.ends_ || a.text_ != b.text_) return false;
  return a.signatures_ == b.signatures_ || !a.has_signed_token();
}

}  // namespace quirlex
