#pragma once
// Date and time pickers over the system date-time picker. Date and time are texts:
// "YYYY-MM-DD" and "HH:MM:SS" (24 hours), read from the window where the user changes them.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/core/Enums.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TDateTimeKind;
using core::TDTDateMode;

// "YYYY-MM-DD" into the date fields of `st` (years 1601 to 9999, real calendar days);
// false, `st` untouched, for anything else.
bool ParseDate(std::string_view text, SYSTEMTIME& st);
// "HH:MM:SS" into the time fields; false for anything else.
bool ParseTime(std::string_view text, SYSTEMTIME& st);
std::string FormatDate(const SYSTEMTIME& st);
std::string FormatTime(const SYSTEMTIME& st);

class TDateTimePicker : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TDateTimePicker(core::TComponent* owner);

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind kind);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode mode);
  std::string Date() const;
  // Raises core::Exception for a text that is not a date "YYYY-MM-DD".
  void SetDate(const std::string& text);
  std::string Time() const;
  // Raises core::Exception for a text that is not a time "HH:MM:SS".
  void SetTime(const std::string& text);

  core::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  SYSTEMTIME Current() const;
  void Push();
  TDateTimeKind FKind = TDateTimeKind::dtkDate;
  TDTDateMode FDateMode = TDTDateMode::dmComboBox;
  SYSTEMTIME FValue{};  // kept while there is no window
};

}  // namespace bw::win
