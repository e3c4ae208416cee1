#pragma once
// Small component classes with one property of every kind, for the streaming and
// property-access tests.
#include <string>
#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Enums.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"

namespace bw::core::test {

class TTestFont : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  std::string FName = "MS Sans Serif";
  std::int32_t FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;

 private:
  static const TPropInfo kProps[];
};

// A picture-like object whose pixels travel as a binary property "Data".
class TTestGlyph : public TPersistent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  void DefineProperties(TFiler& filer) override;
  std::string FBytes;
};

class TTestItem : public TCollectionItem {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  explicit TTestItem(TCollection& c) : TCollectionItem(c) {}
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;
  std::string FText;
  TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
  std::string FData;

 private:
  static const TPropInfo kProps[];
};

class TTestForm;

class TTestButton : public TComponent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  explicit TTestButton(TComponent* owner);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  TTestFont* Font() const { return &FFont; }
  TTestGlyph* Glyph() const { return &FGlyph; }
  TStringList* Items() const { return &FItems; }
  TCollection* Panels() const { return &FPanels; }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* buddy);
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* parent) override { FParent = parent; }
  void GetChildren(const std::function<void(TComponent&)>& visit, TComponent& root) override;

  std::string FCaption;
  std::int32_t FLeft = 0;
  std::int32_t FWidth = 75;
  TColor FColor = clBtnFace;
  bool FVisible = true;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  TSet<TAlign> FAnchors;
  TNotifyEvent FOnClick;
  TComponent* FParent = nullptr;
  TComponent* FBuddy = nullptr;
  mutable TTestFont FFont;
  mutable TTestGlyph FGlyph;
  mutable TStringList FItems;
  mutable TCollection FPanels;

 protected:
  void Notification(TComponent& component, TOperation operation) override;

 private:
  static const TPropInfo kProps[];
};

// Records, in order, what the reader does to it.
class TRecorder : public TComponent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  explicit TRecorder(TComponent* owner) : TComponent(owner), FLog(sLog) {}
  // Recorders created while a scope lives log into its list.
  struct TLogScope {
    explicit TLogScope(std::vector<std::string>& log) { sLog = &log; }
    ~TLogScope() { sLog = nullptr; }
  };
  void DefineProperties(TFiler& filer) override;
  void Loaded() override;
  void SetActive(bool active);
  void SetMode(std::int32_t mode);

  static inline std::vector<std::string>* sLog = nullptr;
  std::vector<std::string>* FLog;
  bool FActive = false;
  std::int32_t FMode = 0;
  std::string FBlob;
  bool FReadingDuringSet = false;
  bool FLoadingDuringLoaded = false;

 private:
  static const TPropInfo kProps[];
};

class TTestForm : public TComponent {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  explicit TTestForm(TComponent* owner) : TComponent(owner) {}
  void Button1Click(TObject* sender) { Clicks.push_back(sender); }
  void OtherClick(TObject* sender) { Clicks.push_back(sender); }
  void WrongSignature(std::int32_t) {}
  std::vector<TObject*> Clicks;
  TTestButton* Button1 = nullptr;
  TRecorder* Recorder1 = nullptr;

 private:
  static const TMethodInfo kMethods[];
  static const TFieldInfo kFields[];
};

// Registers the classes above once per test program.
void RegisterTestClasses();

}  // namespace bw::core::test
