#include "lists/address_lists.h"

#include <sys/mman.h>
#include <algorithm>
#include <new>

// Defined in this order so that groups, built last, is released first.
nick_class people;
group_class groups;

namespace {

// Links a new entry after the tail; the shared part of both lists' add.
template <typename Record>
std::int32_t append(Record* entry, Record*& head, Record*& current,
                    Record*& tail, std::int32_t& count) {
  if (head == nullptr) {
    head = entry;
  } else {
    tail->next = entry;
  }
  tail = entry;
  current = entry;
  return ++count;
}

// Hands out large blocks from their own mappings, which the kernel may back
// with huge pages: page faults would otherwise cost more than the
// conversion itself. Small blocks come from the ordinary heap.
class block_source final : public std::pmr::memory_resource {
  static constexpr std::size_t huge_page = std::size_t{2} << 20;

  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    if (bytes < huge_page) {
      return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    ::madvise(block, bytes, MADV_HUGEPAGE);
    return block;
  }
  void do_deallocate(void* block, std::size_t bytes,
                     std::size_t alignment) override {
    if (bytes < huge_page) {
      std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
    } else {
      ::munmap(block, bytes);
    }
  }
  bool do_is_equal(const memory_resource& other) const noexcept override {
    return this == &other;
  }
};

block_source& blocks() {
  static block_source source;
  return source;
}

std::optional<std::string_view> reading(const list_text* text) {
  if (text == nullptr) return std::nullopt;
  return text->view();
}

}  // namespace

void list_text::assign(std::optional<std::string_view> source) {
  std::string_view text = source.value_or(std::string_view());
  text = text.substr(0, std::min(text.find('\0'), capacity - 1));
  std::copy(text.begin(), text.end(), bytes_.begin());
  bytes_[text.size()] = '\0';
  size_ = static_cast<std::uint8_t>(text.size());
}

entry_pool::entry_pool() : blocks_(&blocks()) {}

std::int32_t nick_class::add(std::optional<std::string_view> nickname,
                             std::optional<std::string_view> name,
                             std::optional<std::string_view> mail) {
  auto* entry = pool_.make<nick_record>();
  entry->nickname.assign(nickname);
  entry->name.assign(name);
  entry->mail.assign(mail);
  return append(entry, head_, current_, tail_, count_);
}

const nick_record* nick_class::find(std::string_view name,
                                    std::string_view mail) {
  current_ = head_;
  for (std::int32_t i = 0; i < count_; ++i) {
    if (current_->name.view() == name && current_->mail.view() == mail) {
      return current_;
    }
    current_ = current_->next;
  }
  current_ = nullptr;
  return nullptr;
}

void nick_class::advance() {
  if (current_ != nullptr) current_ = current_->next;
}

std::optional<std::string_view> nick_class::nickname() const {
  return reading(current_ ? &current_->nickname : nullptr);
}
std::optional<std::string_view> nick_class::name() const {
  return reading(current_ ? &current_->name : nullptr);
}
std::optional<std::string_view> nick_class::mail() const {
  return reading(current_ ? &current_->mail : nullptr);
}

group_class::~group_class() {
  // Each group owns its members' pool; walk the groups one by one, so that
  // a long list needs no deep recursion, and let the pool free the rest.
  for (group_record* group = head_; group != nullptr;) {
    group_record* next = group->next;
    group->~group_record();
    group = next;
  }
}

std::int32_t group_class::add(std::optional<std::string_view> name,
                              std::optional<std::string_view> nickname) {
  auto* entry = pool_.make<group_record>();
  entry->info.name.assign(name);
  entry->info.nickname.assign(nickname);
  return append(entry, head_, current_, tail_, count_);
}

std::int32_t group_class::add_member(std::optional<std::string_view> name,
                                     std::optional<std::string_view> mail) {
  if (current_ == nullptr) return 0;
  return current_->members.add(std::nullopt, name, mail);
}

void group_class::advance() {
  if (current_ != nullptr) current_ = current_->next;
}

std::optional<std::string_view> group_class::name() const {
  return reading(current_ ? &current_->info.name : nullptr);
}
std::optional<std::string_view> group_class::nickname() const {
  return reading(current_ ? &current_->info.nickname : nullptr);
}
std::int32_t group_class::member_count() const {
  return current_ ? current_->members.count() : 0;
}
void group_class::rewind_members() {
  if (current_ != nullptr) current_->members.rewind();
}
void group_class::advance_members() {
  if (current_ != nullptr) current_->members.advance();
}
std::optional<std::string_view> group_class::member_name() const {
  if (current_ == nullptr) return std::nullopt;
  return current_->members.name();
}
std::optional<std::string_view> group_class::member_mail() const {
  if (current_ == nullptr) return std::nullopt;
  return current_->members.mail();
}
