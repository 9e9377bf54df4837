#include "text/token_list.h"

#include <algorithm>
#include <new>
#include <utility>

#include "base/failure.h"

namespace quirlex {
namespace {

[[noreturn]] void refuse_size() {
  throw LimitExceeded("The text is too large: a list can hold at most 2147483647 tokens.");
}

}  // namespace

void TokenList::grow_storage(std::size_t n) {
  const std::size_t capacity = tokens_.capacity();
  std::size_t step = static_cast<std::size_t>(grow_step_);
  if (step == 0) step = std::clamp<std::size_t>(tokens_.size() / 8, 4, 1024);
  const std::size_t wanted =
      std::min<std::size_t>(std::max(capacity + step, n), static_cast<std::size_t>(kMaxSize));
  tokens_.reserve(wanted);
}

void TokenList::set_size(std::int64_t n, std::int32_t step) {
  if (step >= 0) grow_step_ = step;
  if (n < 0) throw InvalidArgument();
  if (n > kMaxSize) refuse_size();
  const auto count = static_cast<std::size_t>(n);
  failing_as_out_of_memory([&] {
    if (count == 0) {
      Storage().swap(tokens_);
    } else if (tokens_.capacity() == 0) {
      tokens_.reserve(std::max(count, static_cast<std::size_t>(grow_step_)));
      tokens_.resize(count);
    } else {
      if (count > tokens_.capacity()) grow_storage(count);
      tokens_.resize(count);
    }
  });
}

void TokenList::reserve_for(std::int64_t n, std::int32_t step) {
  set_size(0, step);
  if (n < 0) throw InvalidArgument();
  if (n > kMaxSize) refuse_size();
  if (n == 0) return;
  failing_as_out_of_memory([&] {
    tokens_.reserve(std::max(static_cast<std::size_t>(n), static_cast<std::size_t>(grow_step_)));
  });
}

void TokenList::set_at_grow(std::int64_t index, WordToken token) {
  if (index < 0) throw InvalidArgument();
  // Refused before index + 1 could overflow.
  if (index >= kMaxSize) refuse_size();
  if (index >= size()) set_size(index + 1);
  tokens_[static_cast<std::size_t>(index)] = std::move(token);
}

const WordToken& TokenList::element(std::int64_t index) const {
  if (index < 0 || index >= size()) throw InvalidArgument();
  return tokens_[static_cast<std::size_t>(index)];
}

WordToken& TokenList::element(std::int64_t index) {
  if (index < 0 || index >= size()) throw InvalidArgument();
  return tokens_[static_cast<std::size_t>(index)];
}

void TokenList::make_empty() {
  set_size(0);
}

std::string TokenList::join() const {
  std::size_t length = 0;
  for (const WordToken& token : tokens_) length += token.text.size();
  std::string joined;
  joined.reserve(length);
  for (const WordToken& token : tokens_) joined += token.text;
  return joined;
}

}  // namespace quirlex
