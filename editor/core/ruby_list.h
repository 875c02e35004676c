#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvi {

// One annotation: a reading attached to the run [start, end) of the document text, in text
// offsets (a paragraph break counts as one unit). An empty reading means "not yet filled".
struct RubyEntry {
  std::int32_t id = 0;
  std::int32_t start = 0;
  std::int32_t end = 0;
  std::u16string base;
  std::u16string reading;

  bool filled() const { return !reading.empty(); }
  // How much longer the verify text is than the document text because of this entry.
  std::int32_t displacement() const {
    return static_cast<std::int32_t>(reading.size()) - static_cast<std::int32_t>(base.size());
  }
};

// What the list tells its owner (the editor window) about its changes.
class RubyListObserver {
 public:
  virtual ~RubyListObserver() = default;
  // A new entry was inserted; the Ruby Table appends, selects and shows its row.
  virtual void OnEntryInserted(const RubyEntry& entry) = 0;
  // The counts changed; the status bar shows StatusText(filled, total).
  virtual void OnCountsChanged(int filled, int total) = 0;
  // The current entry's highlight must be removed; the reference is already cleared.
  virtual void OnCurrentEntryCleared() = 0;
};

// "Filled/Total:  F/T rubies", as the status bar shows the counts.
std::u16string StatusText(int filled, int total);

// A range in the verify text, both ends included in lookups.
struct VerifySpan {
  std::int32_t start = 0;
  std::int32_t end = 0;
};

// The ordered, non-overlapping annotations of the document.
//
// Entries are kept in a treap ordered by start, each node carrying the sum of the
// displacements of its subtree, so that lookups by text offset or verify offset are
// logarithmic and no cached offset needs updating when the list changes. Entries never move
// in memory while they are in the list, so the owner may keep pointers to them.
class RubyList {
 public:
  static constexpr std::size_t kBaseCapacity = 31;
  static constexpr std::size_t kReadingCapacity = 63;

  RubyList();
  ~RubyList();
  RubyList(const RubyList&) = delete;
  RubyList& operator=(const RubyList&) = delete;

  void set_observer(RubyListObserver* observer) { observer_ = observer; }

  // Staging buffers. A text longer than the buffer cannot be held: the buffer is left empty
  // and false is answered, so the following CanAnnotate or Insert refuses.
  bool FillBase(std::u16string_view text);
  bool FillReading(std::u16string_view text);
  const std::u16string& base_buffer() const { return base_buffer_; }
  const std::u16string& reading_buffer() const { return reading_buffer_; }

  // True when the base buffer may annotate [start, end): a well-formed range of the buffer's
  // length, no line break or blank in the base, and no overlap with an entry.
  bool CanAnnotate(std::int32_t start, std::int32_t end) const;
  // Adds an entry from the buffers and empties the reading buffer. Answers the new id, 0 for a
  // malformed range or base, -1 for an overlap. Blanks are not refused here.
  std::int32_t Insert(std::int32_t start, std::int32_t end);
  // Replaces the entry's reading with the reading buffer (empty: unfilled), emptying the buffer.
  void SetReading(RubyEntry& entry);
  void Delete(std::int32_t id);
  void Clear();

  RubyEntry* FindById(std::int32_t id) const;
  // First entry with start <= p <= end.
  RubyEntry* FindCovering(std::int32_t p) const;
  // First entry with start <= p < end.
  RubyEntry* FindContaining(std::int32_t p) const;
  // The entry's range in the verify text; false when the entry is not in the list.
  bool VerifyRange(const RubyEntry& entry, VerifySpan& span) const;
  // First entry whose verify range holds q (both ends included).
  RubyEntry* FindAtVerifyOffset(std::int32_t q) const;
  // p plus the displacements of all entries that start before p.
  std::int32_t ToVerifyOffset(std::int32_t p) const;

  int filled_count() const { return filled_; }
  int total_count() const { return total_; }
  bool empty() const { return total_ == 0; }

  RubyEntry* current() const { return current_; }
  void set_current(RubyEntry* entry) { current_ = entry; }

  // Visits the entries in ascending order of start.
  template <typename F>
  void ForEach(F&& visit) const {
    std::vector<const Node*> stack;
    const Node* node = root_;
    while (node || !stack.empty()) {
      while (node) {
        stack.push_back(node);
        node = node->left;
      }
      node = stack.back();
      stack.pop_back();
      visit(static_cast<const RubyEntry&>(node->entry));
      node = node->right;
    }
  }
  // The entries in ascending order of start.
  std::vector<const RubyEntry*> Entries() const;

 private:
  struct Node {
    RubyEntry entry;
    Node* left = nullptr;
    Node* right = nullptr;
    std::uint32_t priority = 0;
    std::int64_t subtree_displacement = 0;
  };

  static std::int64_t SumOf(const Node* n) { return n ? n->subtree_displacement : 0; }
  static void Update(Node* n);
  static void Split(Node* n, std::int32_t key, Node*& less, Node*& rest);
  static Node* Merge(Node* a, Node* b);
  static void FreeTree(Node* n);

  // True when [start, end) overlaps no entry.
  bool GapIsFree(std::int32_t start, std::int32_t end) const;
  // The first entry (in order) whose end is >= p, or > p when strict.
  Node* FirstEndingAtOrAfter(std::int32_t p, bool strict) const;
  std::int64_t DisplacementBefore(std::int32_t p) const;
  void RefreshSubtreeSumsTo(std::int32_t start);
  void NotifyCounts();
  std::uint32_t NextPriority();

  Node* root_ = nullptr;
  std::unordered_map<std::int32_t, Node*> by_id_;
  std::int32_t counter_ = -1;
  int filled_ = 0;
  int total_ = 0;
  RubyEntry* current_ = nullptr;
  RubyListObserver* observer_ = nullptr;
  std::u16string base_buffer_;
  std::u16string reading_buffer_;
  std::uint64_t random_state_ = 0x9E3779B97F4A7C15ull;
};

}  // namespace orvi
