#include "editor/core/ruby_list.h"

#include <string>

namespace orvi {

std::u16string StatusText(int filled, int total) {
  const std::string text =
      "Filled/Total:  " + std::to_string(filled) + "/" + std::to_string(total) + " rubies";
  return std::u16string(text.begin(), text.end());
}

namespace {

bool HasLineBreak(std::u16string_view s) {
  return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

bool HasBlank(std::u16string_view s) {
  return s.find_first_of(u" \u3000") != std::u16string_view::npos;
}

}  // namespace

RubyList::RubyList() = default;

RubyList::~RubyList() { FreeTree(root_); }

bool RubyList::FillBase(std::u16string_view text) {
  base_buffer_.clear();
  if (text.size() > kBaseCapacity) return false;
  base_buffer_.assign(text);
  return true;
}

bool RubyList::FillReading(std::u16string_view text) {
  reading_buffer_.clear();
  if (text.size() > kReadingCapacity) return false;
  reading_buffer_.assign(text);
  return true;
}

void RubyList::Update(Node* n) {
  n->subtree_displacement = SumOf(n->left) + n->entry.displacement() + SumOf(n->right);
}

void RubyList::Split(Node* n, std::int32_t key, Node*& less, Node*& rest) {
  if (!n) {
    less = rest = nullptr;
    return;
  }
  if (n->entry.start < key) {
    Split(n->right, key, n->right, rest);
    less = n;
  } else {
    Split(n->left, key, less, n->left);
    rest = n;
  }
  Update(n);
}

RubyList::Node* RubyList::Merge(Node* a, Node* b) {
  if (!a) return b;
  if (!b) return a;
  if (a->priority > b->priority) {
    a->right = Merge(a->right, b);
    Update(a);
    return a;
  }
  b->left = Merge(a, b->left);
  Update(b);
  return b;
}

void RubyList::FreeTree(Node* n) {
  std::vector<Node*> stack;
  if (n) stack.push_back(n);
  while (!stack.empty()) {
    Node* top = stack.back();
    stack.pop_back();
    if (top->left) stack.push_back(top->left);
    if (top->right) stack.push_back(top->right);
    delete top;
  }
}

std::uint32_t RubyList::NextPriority() {
  // xorshift64*: cheap, deterministic priorities for the treap.
  random_state_ ^= random_state_ >> 12;
  random_state_ ^= random_state_ << 25;
  random_state_ ^= random_state_ >> 27;
  return static_cast<std::uint32_t>((random_state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

RubyList::Node* RubyList::FirstEndingAtOrAfter(std::int32_t p, bool strict) const {
  // Entries do not overlap, so their ends ascend with their starts.
  Node* found = nullptr;
  Node* n = root_;
  while (n) {
    const bool after = strict ? n->entry.end > p : n->entry.end >= p;
    if (after) {
      found = n;
      n = n->left;
    } else {
      n = n->right;
    }
  }
  return found;
}

bool RubyList::GapIsFree(std::int32_t start, std::int32_t end) const {
  // The first entry that ends after start is the only one that can overlap from the left;
  // every later one starts at or after its end.
  const Node* n = FirstEndingAtOrAfter(start, /*strict=*/true);
  return !n || end <= n->entry.start;
}

bool RubyList::CanAnnotate(std::int32_t start, std::int32_t end) const {
  const std::u16string_view b = base_buffer_;
  if (start >= end || b.empty()) return false;
  if (static_cast<std::size_t>(end - start) != b.size()) return false;
  if (HasLineBreak(b) || HasBlank(b)) return false;
  return GapIsFree(start, end);
}

std::int32_t RubyList::Insert(std::int32_t start, std::int32_t end) {
  const std::u16string_view b = base_buffer_;
  if (start >= end || b.empty() || static_cast<std::size_t>(end - start) != b.size() ||
      HasLineBreak(b)) {
    return 0;
  }
  if (!GapIsFree(start, end)) return -1;

  ++counter_;
  auto* node = new Node;
  node->entry.id = counter_;
  node->entry.start = start;
  node->entry.end = end;
  node->entry.base.assign(b);
  if (!reading_buffer_.empty()) {
    node->entry.reading = reading_buffer_;
    reading_buffer_.clear();
  }
  node->priority = NextPriority();
  Update(node);

  Node* less = nullptr;
  Node* rest = nullptr;
  Split(root_, start, less, rest);
  root_ = Merge(Merge(less, node), rest);
  by_id_[node->entry.id] = node;
  ++total_;
  if (node->entry.filled()) ++filled_;

  if (observer_) observer_->OnEntryInserted(node->entry);
  NotifyCounts();
  return node->entry.id;
}

void RubyList::RefreshSubtreeSumsTo(std::int32_t start) {
  std::vector<Node*> path;
  Node* n = root_;
  while (n) {
    path.push_back(n);
    if (start == n->entry.start) break;
    n = start < n->entry.start ? n->left : n->right;
  }
  for (auto it = path.rbegin(); it != path.rend(); ++it) Update(*it);
}

void RubyList::SetReading(RubyEntry& entry) {
  if (entry.filled()) --filled_;
  entry.reading.clear();
  if (!reading_buffer_.empty()) {
    entry.reading = reading_buffer_;
    reading_buffer_.clear();
    ++filled_;
  }
  RefreshSubtreeSumsTo(entry.start);
  NotifyCounts();
}

void RubyList::Delete(std::int32_t id) {
  const auto it = by_id_.find(id);
  if (it == by_id_.end()) return;
  Node* node = it->second;

  // Deleting removes the current entry's highlight, whichever entry is current.
  current_ = nullptr;
  if (observer_) observer_->OnCurrentEntryCleared();

  Node* less = nullptr;
  Node* rest = nullptr;
  Node* same = nullptr;
  Node* greater = nullptr;
  Split(root_, node->entry.start, less, rest);
  Split(rest, node->entry.start + 1, same, greater);
  root_ = Merge(less, greater);
  by_id_.erase(it);
  --total_;
  if (node->entry.filled()) --filled_;
  delete same;
  NotifyCounts();
}

void RubyList::Clear() {
  FreeTree(root_);
  root_ = nullptr;
  by_id_.clear();
  counter_ = -1;
  filled_ = total_ = 0;
  current_ = nullptr;
  NotifyCounts();
}

void RubyList::NotifyCounts() {
  if (observer_) observer_->OnCountsChanged(filled_, total_);
}

RubyEntry* RubyList::FindById(std::int32_t id) const {
  const auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : &it->second->entry;
}

RubyEntry* RubyList::FindCovering(std::int32_t p) const {
  Node* n = FirstEndingAtOrAfter(p, /*strict=*/false);
  return n && n->entry.start <= p ? &n->entry : nullptr;
}

RubyEntry* RubyList::FindContaining(std::int32_t p) const {
  Node* n = FirstEndingAtOrAfter(p, /*strict=*/true);
  return n && n->entry.start <= p ? &n->entry : nullptr;
}

std::int64_t RubyList::DisplacementBefore(std::int32_t p) const {
  std::int64_t sum = 0;
  const Node* n = root_;
  while (n) {
    if (n->entry.start < p) {
      sum += SumOf(n->left) + n->entry.displacement();
      n = n->right;
    } else {
      n = n->left;
    }
  }
  return sum;
}

bool RubyList::VerifyRange(const RubyEntry& entry, VerifySpan& span) const {
  const auto it = by_id_.find(entry.id);
  if (it == by_id_.end() || &it->second->entry != &entry) return false;
  span.start = static_cast<std::int32_t>(entry.start + DisplacementBefore(entry.start));
  span.end = span.start + static_cast<std::int32_t>(entry.reading.size());
  return true;
}

RubyEntry* RubyList::FindAtVerifyOffset(std::int32_t q) const {
  // Verify ranges ascend with the list order and never overlap but at their ends, so the
  // first entry whose verify range ends at or after q is the only candidate.
  Node* found = nullptr;
  std::int64_t found_start = 0;
  std::int64_t before = 0;  // displacement of everything left of the current subtree
  Node* n = root_;
  while (n) {
    const std::int64_t vstart = n->entry.start + before + SumOf(n->left);
    const std::int64_t vend = vstart + static_cast<std::int64_t>(n->entry.reading.size());
    if (vend >= q) {
      found = n;
      found_start = vstart;
      n = n->left;
    } else {
      before += SumOf(n->left) + n->entry.displacement();
      n = n->right;
    }
  }
  return found && found_start <= q ? &found->entry : nullptr;
}

std::int32_t RubyList::ToVerifyOffset(std::int32_t p) const {
  return static_cast<std::int32_t>(p + DisplacementBefore(p));
}

std::vector<const RubyEntry*> RubyList::Entries() const {
  std::vector<const RubyEntry*> out;
  out.reserve(static_cast<std::size_t>(total_));
  ForEach([&out](const RubyEntry& e) { out.push_back(&e); });
  return out;
}

}  // namespace orvi
