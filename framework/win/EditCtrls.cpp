#include "framework/win/EditCtrls.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

// Every CR LF, CR or LF ends a line; an empty text has no line, a text ending in a line
// break has an empty last one. JoinLines is the exact inverse.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// The memo's lines, read from its text at each call; between BeginUpdate and EndUpdate
// changes collect here and reach the window once.
class TMemoLines : public core::TStrings {
 public:
  explicit TMemoLines(TCustomMemo& memo) : FMemo(memo) {}

  std::int32_t Count() const override { return static_cast<std::int32_t>(Read().size()); }
  std::string Get(std::int32_t index) const override {
    const std::vector<std::string> lines = Read();
    Check(index, lines.size());
    return lines[static_cast<std::size_t>(index)];
  }
  void Put(std::int32_t index, const std::string& text) override {
    std::vector<std::string> lines = Read();
    Check(index, lines.size());
    lines[static_cast<std::size_t>(index)] = text;
    Write(std::move(lines));
  }
  core::TObject* GetObject(std::int32_t) const override { return nullptr; }
  void PutObject(std::int32_t, core::TObject*) override {}  // a memo keeps text only
  void Insert(std::int32_t index, const std::string& text) override {
    std::vector<std::string> lines = Read();
    Check(index, lines.size() + 1);
    lines.insert(lines.begin() + index, text);
    Write(std::move(lines));
  }
  void Delete(std::int32_t index) override {
    std::vector<std::string> lines = Read();
    Check(index, lines.size());
    lines.erase(lines.begin() + index);
    Write(std::move(lines));
  }
  void Clear() override { Write({}); }

 protected:
  void SetUpdateState(bool updating) override {
    if (updating) {
      FPending = SplitLines(FMemo.Text());
      return;
    }
    std::vector<std::string> lines = std::move(*FPending);
    FPending.reset();
    FMemo.SetText(JoinLines(lines));
  }

 private:
  static void Check(std::int32_t index, std::size_t limit) {
    if (index < 0 || static_cast<std::size_t>(index) >= limit)
      throw core::EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  std::vector<std::string> Read() const { return FPending ? *FPending : SplitLines(FMemo.Text()); }
  void Write(std::vector<std::string> lines) {
    if (FPending) *FPending = std::move(lines);
    else FMemo.SetText(JoinLines(lines));
  }

  TCustomMemo& FMemo;
  std::optional<std::vector<std::string>> FPending;
};

}  // namespace

// ---- TCustomEdit

const core::TPropInfo TCustomEdit::kProps[] = {
    core::StrProp<&TCustomEdit::Text, &TCustomEdit::SetText>("Text"),
    core::BoolProp<&TCustomEdit::FReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    core::IntProp<&TCustomEdit::FMaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    core::EnumProp<&TCustomEdit::FBorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", core::kBorderStyleInfo,
                                                                            TBorderStyle::bsSingle),
    core::EventProp<&TCustomEdit::OnChange>("OnChange"),
};
const core::TClassInfo TCustomEdit::kClass{"TCustomEdit", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TEdit::kClass{"TEdit", &TCustomEdit::kClass, {}, {}, &core::CreateComponentOf<TEdit>};

TCustomEdit::TCustomEdit(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
}

std::string TCustomEdit::WindowText() const {
  HWND h = WindowHandle();
  const int length = GetWindowTextLengthW(h);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(h, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return Narrow(text);
}

std::string TCustomEdit::Text() const { return WindowHandle() ? WindowText() : FCaption; }

void TCustomEdit::SetText(const std::string& text) {
  // Through the window even when the caption field already holds this text: the user
  // may have typed since.
  if (!SetTextThroughWindow(text)) SetCaption(text);
}

void TCustomEdit::SetReadOnly(bool readOnly) {
  FReadOnly = readOnly;
  if (WindowHandle()) SendMessageW(WindowHandle(), EM_SETREADONLY, readOnly, 0);
}

void TCustomEdit::SetMaxLength(int length) {
  FMaxLength = std::max(length, 0);
  if (WindowHandle()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = L"EDIT";
  // Clip children: an up-down button may sit inside the edit.
  params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_CLIPCHILDREN;
  if (FReadOnly) params.Style |= ES_READONLY;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::DestroyWnd() {
  if (WindowHandle()) FCaption = WindowText();
  TWinControl::DestroyWnd();
}

void TCustomEdit::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND) {
    if (HIWORD(message.WParam) == EN_CHANGE) {
      // The caption field follows the window, so that it never holds a stale text.
      std::string text = WindowText();
      if (text != FCaption) {
        FCaption = std::move(text);
        Perform(CM_TEXTCHANGED);
      }
      if (!IsLoading()) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TCustomMemo

const core::TPropInfo TCustomMemo::kProps[] = {
    core::StringsProp<&TCustomMemo::Lines>("Lines"),
    core::EnumProp<&TCustomMemo::FScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars", core::kScrollStyleInfo,
                                                                         TScrollStyle::ssNone),
    core::BoolProp<&TCustomMemo::FWordWrap, &TCustomMemo::SetWordWrap>("WordWrap", true),
};
const core::TClassInfo TCustomMemo::kClass{"TCustomMemo", &TCustomEdit::kClass, kProps, {}};
const core::TClassInfo TMemo::kClass{"TMemo", &TCustomMemo::kClass, {}, {}, &core::CreateComponentOf<TMemo>};

TCustomMemo::TCustomMemo(core::TComponent* owner)
    : TCustomEdit(owner), FLines(std::make_unique<TMemoLines>(*this)) {
  FWidth = 185;
  FHeight = 89;
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetScrollBars(TScrollStyle bars) {
  if (bars == FScrollBars) return;
  FScrollBars = bars;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool wrap) {
  if (wrap == FWordWrap) return;
  FWordWrap = wrap;
  RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | ES_WANTRETURN;
  if (FWordWrap) params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) params.Style |= WS_HSCROLL;
  if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
}

// ---- TRichEdit

const core::TClassInfo TRichEdit::kClass{"TRichEdit", &TCustomMemo::kClass, {}, {},
                                         &core::CreateComponentOf<TRichEdit>};

namespace {
// The library registers the rich edit window classes; it stays loaded for the process.
void LoadRichEditLibrary() {
  static const HMODULE library = LoadLibraryW(L"riched20.dll");
  if (!library) throw core::Exception("Cannot load the rich edit library riched20.dll");
}
}  // namespace

void TRichEdit::CreateParams(TCreateParams& params) {
  TCustomMemo::CreateParams(params);
  LoadRichEditLibrary();
  params.SystemClass = RICHEDIT_CLASSW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  // Its bars stay, disabled while not needed, as a memo's do.
  params.Style |= ES_DISABLENOSCROLL;
}

void TRichEdit::CreateWnd() {
  TCustomMemo::CreateWnd();
  HWND h = WindowHandle();
  // Rich edits report changes only when asked, and limit the text to 32K unless told.
  SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
  SendMessageW(h, EM_EXLIMITTEXT, 0, MaxLength() > 0 ? MaxLength() : 0x7FFFFFFE);
  // Line width 0 wraps at the window's edge, 1 does not wrap.
  SendMessageW(h, EM_SETTARGETDEVICE, 0, FWordWrap ? 0 : 1);
  SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

void RegisterEditControls() {
  for (const core::TClassInfo* cls : {&TEdit::kClass, &TMemo::kClass, &TRichEdit::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::win
