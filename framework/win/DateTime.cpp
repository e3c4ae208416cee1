#include "framework/win/DateTime.h"

#include <commctrl.h>

#include <cstdio>

#include "framework/core/Exceptions.h"
#include "framework/win/ComCtrls.h"

namespace bw::win {

namespace {
// Exactly `count` decimal digits at text[at...].
bool Digits(std::string_view text, size_t at, size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

bool ParseDate(std::string_view text, SYSTEMTIME& st) {
  int y, m, d;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  if (!Digits(text, 0, 4, y) || !Digits(text, 5, 2, m) || !Digits(text, 8, 2, d)) return false;
  // The picker's range: the system time starts in 1601.
  if (y < 1601 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = 0;
  return true;
}

bool ParseTime(std::string_view text, SYSTEMTIME& st) {
  int h, m, s;
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
  if (!Digits(text, 0, 2, h) || !Digits(text, 3, 2, m) || !Digits(text, 6, 2, s)) return false;
  if (h > 23 || m > 59 || s > 59) return false;
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(m);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = 0;
  return true;
}

std::string FormatDate(const SYSTEMTIME& st) {
  char text[16];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
  return text;
}

std::string FormatTime(const SYSTEMTIME& st) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
  return text;
}

const core::TPropInfo TDateTimePicker::kProps[] = {
    core::EnumProp<&TDateTimePicker::FKind, &TDateTimePicker::SetKind>("Kind", core::kDateTimeKindInfo,
                                                                       TDateTimeKind::dtkDate),
    core::EnumProp<&TDateTimePicker::FDateMode, &TDateTimePicker::SetDateMode>("DateMode", core::kDTDateModeInfo,
                                                                               TDTDateMode::dmComboBox),
    core::StrProp<&TDateTimePicker::Date, &TDateTimePicker::SetDate>("Date"),
    core::StrProp<&TDateTimePicker::Time, &TDateTimePicker::SetTime>("Time"),
    core::EventProp<&TDateTimePicker::OnChange>("OnChange"),
};
const core::TClassInfo TDateTimePicker::kClass{"TDateTimePicker", &TWinControl::kClass, kProps, {},
                                               &core::CreateComponentOf<TDateTimePicker>};

TDateTimePicker::TDateTimePicker(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 186;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  GetLocalTime(&FValue);
  FValue.wMilliseconds = 0;
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
  if (kind == FKind) return;
  FValue = Current();
  FKind = kind;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode mode) {
  if (mode == FDateMode) return;
  FValue = Current();
  FDateMode = mode;
  RecreateWnd();
}

SYSTEMTIME TDateTimePicker::Current() const {
  SYSTEMTIME st = FValue;
  if (HWND h = WindowHandle()) {
    SYSTEMTIME shown{};
    if (SendMessageW(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_VALID) st = shown;
  }
  return st;
}

void TDateTimePicker::Push() {
  if (HWND h = WindowHandle()) SendMessageW(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FValue));
}

std::string TDateTimePicker::Date() const { return FormatDate(Current()); }
std::string TDateTimePicker::Time() const { return FormatTime(Current()); }

void TDateTimePicker::SetDate(const std::string& text) {
  SYSTEMTIME st = Current();
  if (!ParseDate(text, st)) throw core::Exception("'" + text + "' is not a date (YYYY-MM-DD)");
  FValue = st;
  Push();
}

void TDateTimePicker::SetTime(const std::string& text) {
  SYSTEMTIME st = Current();
  if (!ParseTime(text, st)) throw core::Exception("'" + text + "' is not a time (HH:MM:SS)");
  FValue = st;
  Push();
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_DATE_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = DATETIMEPICK_CLASSW;
  params.Style |= FKind == TDateTimeKind::dtkTime ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT;
  if (FDateMode == TDTDateMode::dmUpDown && FKind == TDateTimeKind::dtkDate) params.Style |= DTS_UPDOWN;
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  Push();
}

void TDateTimePicker::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    message.Result = 0;
    if (header->code == static_cast<UINT>(DTN_DATETIMECHANGE)) {
      FValue = Current();
      OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(message);
}

}  // namespace bw::win
