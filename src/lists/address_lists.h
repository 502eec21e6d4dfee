// The address lists of a run: the persons already written as rows and the
// mailing lists still to be written, each a counted singly linked list with
// one cursor.
#ifndef LDIF2KESTRUNE_LISTS_ADDRESS_LISTS_H
#define LDIF2KESTRUNE_LISTS_ADDRESS_LISTS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string_view>

// A text of fixed capacity 256: at most 255 bytes and the terminator.
class list_text {
 public:
  static constexpr std::size_t capacity = 256;

  // Stores the first 255 bytes of source (up to its first zero byte); none
  // stores the empty text.
  void assign(std::optional<std::string_view> source);
  std::string_view view() const { return {bytes_.data(), size_}; }

 private:
  // The size comes first: a search reads it, and the text's first bytes,
  // from one cache line.
  std::uint8_t size_ = 0;
  std::array<char, capacity> bytes_;  // only the first size_ + 1 are set
};

// The fields a search reads, next and name, lead the record, so that most
// entries a search passes cost it one cache line.
struct nick_record {
  nick_record* next = nullptr;
  list_text name;
  list_text mail;
  list_text nickname;
};

// Where a list takes the memory of its entries: blocks that grow with the
// list, all released with it. A run adds entries by the hundred thousand
// and frees none before its end, so one block serves many entries.
class entry_pool {
 public:
  entry_pool();
  template <typename Record>
  Record* make() {
    return new (blocks_.allocate(sizeof(Record), alignof(Record))) Record;
  }

 private:
  std::pmr::monotonic_buffer_resource blocks_;
};

// Persons, or the members of one mailing list, in the order added.
class nick_class {
 public:
  nick_class() = default;
  ~nick_class() = default;  // the pool releases the entries
  nick_class(const nick_class&) = delete;
  nick_class& operator=(const nick_class&) = delete;

  // Appends an entry holding the three texts and makes it current; returns
  // the new count.
  std::int32_t add(std::optional<std::string_view> nickname,
                   std::optional<std::string_view> name,
                   std::optional<std::string_view> mail);
  // The first entry whose name and mail equal these, byte for byte; the
  // cursor stays on it, or is none when nothing matched.
  const nick_record* find(std::string_view name, std::string_view mail);
  void rewind() { current_ = head_; }
  // Moves the cursor to the next entry; does nothing when it is none.
  void advance();

  std::int32_t count() const { return count_; }
  // Readings through the cursor; none when the cursor is none.
  std::optional<std::string_view> nickname() const;
  std::optional<std::string_view> name() const;
  std::optional<std::string_view> mail() const;

 private:
  std::int32_t count_ = 0;
  nick_record* head_ = nullptr;
  nick_record* current_ = nullptr;
  nick_record* tail_ = nullptr;
  entry_pool pool_;
};

struct group_record {
  nick_record info;  // the list's own nickname and name; mail stays unused
  nick_class members;
  group_record* next = nullptr;
};

// Mailing lists with their members, in the order added.
class group_class {
 public:
  group_class() = default;
  ~group_class();
  group_class(const group_class&) = delete;
  group_class& operator=(const group_class&) = delete;

  // Appends a group with no members and makes it current; returns the new
  // count.
  std::int32_t add(std::optional<std::string_view> name,
                   std::optional<std::string_view> nickname);
  // Adds a member, with an empty nickname, to the current group; returns
  // that group's new member count, or 0 (adding nothing) with no group.
  std::int32_t add_member(std::optional<std::string_view> name,
                          std::optional<std::string_view> mail);
  void rewind() { current_ = head_; }
  void advance();

  std::int32_t count() const { return count_; }
  // Readings of the current group; none (or 0 members) when there is none.
  std::optional<std::string_view> name() const;
  std::optional<std::string_view> nickname() const;
  std::int32_t member_count() const;
  void rewind_members();
  void advance_members();
  std::optional<std::string_view> member_name() const;
  std::optional<std::string_view> member_mail() const;

 private:
  std::int32_t count_ = 0;
  group_record* head_ = nullptr;
  group_record* current_ = nullptr;
  group_record* tail_ = nullptr;
  entry_pool pool_;
};

// The run's lists; groups is released before people when the program ends.
extern nick_class people;
extern group_class groups;

#endif
