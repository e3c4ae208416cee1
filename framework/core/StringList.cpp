#include "framework/core/StringList.h"

#include <algorithm>
#include <numeric>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/Text.h"

namespace bw::core {

const TClassInfo TStrings::kClass{"TStrings", &TPersistent::kClass, {}, {}};
const TClassInfo TStringList::kClass{"TStringList", &TStrings::kClass, {}, {}};

void TStrings::Put(std::int32_t index, const std::string& text) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, text, object);
}

std::int32_t TStrings::Add(const std::string& text) {
  const std::int32_t index = Count();
  Insert(index, text);
  return index;
}

std::int32_t TStrings::IndexOf(std::string_view text) const {
  for (std::int32_t i = 0; i < Count(); ++i)
    if (SameText(Get(i), text)) return i;
  return -1;
}

std::int32_t TStrings::AddObject(const std::string& text, TObject* object) {
  const std::int32_t index = Add(text);
  if (index >= 0) PutObject(index, object);
  return index;
}

void TStrings::InsertObject(std::int32_t index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

std::int32_t TStrings::IndexOfObject(const TObject* object) const {
  for (std::int32_t i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

void TStrings::Move(std::int32_t from, std::int32_t to) {
  if (from == to) return;
  BeginUpdate();
  try {
    const std::string text = Get(from);
    TObject* object = GetObject(from);
    Delete(from);
    InsertObject(to, text, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(std::int32_t a, std::int32_t b) {
  BeginUpdate();
  try {
    const std::string textA = Get(a);
    TObject* objectA = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, textA);
    PutObject(b, objectA);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string text;
  for (std::int32_t i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(start, end - start)));
      if (end < text.size() && text[end] == '\r') ++end;
      if (end < text.size() && text[end] == '\n') ++end;
      start = end;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Names(std::int32_t index) const {
  const std::string line = Get(index);
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::int32_t TStrings::IndexOfName(std::string_view name) const {
  for (std::int32_t i = 0; i < Count(); ++i) {
    const std::string line = Get(i);
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name)) return i;
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  const std::int32_t index = IndexOfName(name);
  if (index < 0) return {};
  const std::string line = Get(index);
  return line.substr(line.find('=') + 1);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  const std::int32_t index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    Put(index, std::string(name) + "=" + value);
  } else {
    Add(std::string(name) + "=" + value);
  }
}

void TStrings::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (std::int32_t i = 0; i < other->Count(); ++i) AddObject(other->Get(i), other->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (std::int32_t i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::LoadFromStream(TStream& stream) {
  const std::int64_t size = stream.Size() - stream.Position();
  if (size > TMemoryStream::kMaxMemoryStreamBytes) throw EReadError("Text too large for a string list");
  std::string text(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

std::string TStringList::Get(std::int32_t index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].Text;
}

void TStringList::Put(std::int32_t index, const std::string& text) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  FItems[static_cast<std::size_t>(index)].Text = text;
  Changed();
}

TObject* TStringList::GetObject(std::int32_t index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].Object;
}

void TStringList::PutObject(std::int32_t index, TObject* object) {
  CheckIndex(index);
  Changing();
  FItems[static_cast<std::size_t>(index)].Object = object;
  Changed();
}

void TStringList::Insert(std::int32_t index, const std::string& text) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
  InsertItem(index, text, nullptr);
}

void TStringList::Delete(std::int32_t index) {
  CheckIndex(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems.clear();
  Changed();
}

std::int32_t TStringList::Add(const std::string& text) {
  if (!FSorted) {
    InsertItem(Count(), text, nullptr);
    return Count() - 1;
  }
  std::int32_t index = 0;
  if (Find(text, index)) {
    if (FDuplicates == TDuplicates::dupIgnore) return index;
    if (FDuplicates == TDuplicates::dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, text, nullptr);
  return index;
}

std::int32_t TStringList::IndexOf(std::string_view text) const {
  if (!FSorted) {
    for (std::int32_t i = 0; i < Count(); ++i)
      if (Compare(FItems[static_cast<std::size_t>(i)].Text, text) == 0) return i;
    return -1;
  }
  std::int32_t index = 0;
  return Find(text, index) ? index : -1;
}

bool TStringList::Find(std::string_view text, std::int32_t& index) const {
  // Lower bound; with duplicates accepted it lands on the first of equal lines.
  std::int32_t low = 0;
  std::int32_t high = Count();
  bool found = false;
  while (low < high) {
    const std::int32_t mid = low + (high - low) / 2;
    const int c = Compare(FItems[static_cast<std::size_t>(mid)].Text, text);
    if (c < 0) {
      low = mid + 1;
    } else {
      if (c == 0) found = true;
      high = mid;
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  CustomSort([](const TStringList& list, std::int32_t a, std::int32_t b) {
    return list.Compare(list.FItems[static_cast<std::size_t>(a)].Text, list.FItems[static_cast<std::size_t>(b)].Text);
  });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, std::int32_t, std::int32_t)>& compare) {
  if (FItems.size() < 2) return;
  Changing();
  std::vector<std::int32_t> order(FItems.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::int32_t a, std::int32_t b) { return compare(*this, a, b) < 0; });
  std::vector<TItem> sorted;
  sorted.reserve(FItems.size());
  for (std::int32_t i : order) sorted.push_back(FItems[static_cast<std::size_t>(i)]);
  FItems = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == FSorted) return;
  if (sorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == FCaseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) OnChanging(this);
  else OnChange(this);
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
  if (FCaseSensitive) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareText(a, b);
}

void TStringList::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TStringList::InsertItem(std::int32_t index, const std::string& text, TObject* object) {
  Changing();
  FItems.insert(FItems.begin() + index, TItem{text, object});
  Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

}  // namespace bw::core
