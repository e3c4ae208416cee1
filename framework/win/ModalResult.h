#pragma once
// Modal results: what a modal form or a message dialog answers. The values are the
// dialog-box command identifiers (IDOK, IDCANCEL, ...), so message boxes map one to one.
namespace bw::win {

inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

}  // namespace bw::win
