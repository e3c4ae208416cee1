#pragma once
// String lists: lines with an object attached to each. TStrings is the interface
// (a control may keep its lines in its window); TStringList keeps them in memory,
// sorted or not. Text joins lines with CR LF.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/TypeInfo.h"

namespace bw::core {

class TStream;

class TStrings : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  virtual std::int32_t Count() const = 0;
  virtual std::string Get(std::int32_t index) const = 0;
  virtual void Put(std::int32_t index, const std::string& text);
  virtual TObject* GetObject(std::int32_t index) const = 0;
  virtual void PutObject(std::int32_t index, TObject* object) = 0;
  virtual void Insert(std::int32_t index, const std::string& text) = 0;
  virtual void Delete(std::int32_t index) = 0;
  virtual void Clear() = 0;
  virtual std::int32_t Add(const std::string& text);
  virtual std::int32_t IndexOf(std::string_view text) const;  // letter case ignored; -1 when absent

  std::string operator[](std::int32_t index) const { return Get(index); }
  std::int32_t AddObject(const std::string& text, TObject* object);
  void InsertObject(std::int32_t index, const std::string& text, TObject* object);
  std::int32_t IndexOfObject(const TObject* object) const;
  void Move(std::int32_t from, std::int32_t to);
  void Exchange(std::int32_t a, std::int32_t b);

  // Every line followed by CR LF. Setting splits at CR LF, CR or LF; a final line
  // break does not make an empty last line.
  std::string Text() const;
  void SetText(std::string_view text);

  // "name=value" lines; names compare ignoring letter case.
  std::string Names(std::int32_t index) const;
  std::int32_t IndexOfName(std::string_view name) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, const std::string& value);  // empty value deletes

  void Assign(const TPersistent& source) override;
  bool Equals(const TStrings& other) const;
  void LoadFromStream(TStream& stream);  // from the stream's position to its end
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  void BeginUpdate();
  void EndUpdate();

 protected:
  std::int32_t UpdateCount() const { return FUpdateCount; }
  // Called when the first BeginUpdate starts and the last EndUpdate ends.
  virtual void SetUpdateState(bool updating);

 private:
  std::int32_t FUpdateCount = 0;
};

enum class TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  std::int32_t Count() const override { return static_cast<std::int32_t>(FItems.size()); }
  std::string Get(std::int32_t index) const override;
  void Put(std::int32_t index, const std::string& text) override;
  TObject* GetObject(std::int32_t index) const override;
  void PutObject(std::int32_t index, TObject* object) override;
  // Raises EStringListError on a sorted list: its order is not the caller's.
  void Insert(std::int32_t index, const std::string& text) override;
  void Delete(std::int32_t index) override;
  void Clear() override;
  // On a sorted list: at its place; a duplicate is ignored (answering the existing
  // index), accepted or refused with EStringListError, as Duplicates says.
  std::int32_t Add(const std::string& text) override;
  std::int32_t IndexOf(std::string_view text) const override;

  // Binary search of a sorted list: true when found; index is the place either way.
  bool Find(std::string_view text, std::int32_t& index) const;
  void Sort();
  void CustomSort(const std::function<int(const TStringList&, std::int32_t, std::int32_t)>& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  struct TItem {
    std::string Text;
    TObject* Object;
  };
  int Compare(std::string_view a, std::string_view b) const;
  void CheckIndex(std::int32_t index) const;
  void InsertItem(std::int32_t index, const std::string& text, TObject* object);
  void Changing();
  void Changed();

  std::vector<TItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = TDuplicates::dupIgnore;
};

}  // namespace bw::core
