// Scroll bars, track bars, up-down buttons and scroll boxes: scroll
// requests and their events, an up-down driving the text of its edit, and scroll ranges
// taken from the children of a scroll box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/framework/win/ControlsForm.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

class RangeCtrlsTest : public ControlsFormTest {
 protected:
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(FForm->Log.begin(), FForm->Log.end(), entry));
  }
  // A scroll request of a scroll-bar control, as its parent receives it.
  void Scroll(TScrollBar& bar, WORD code) {
    SendMessageW(bar.Parent()->Handle(), bar.Kind() == TScrollBarKind::sbVertical ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar.Handle()));
  }
  SCROLLINFO BarInfo(HWND window, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    EXPECT_TRUE(GetScrollInfo(window, bar, &info));
    return info;
  }
};

TEST_F(RangeCtrlsTest, ScrollBarAnswersScrollRequests) {
  Show();
  TScrollBar& bar = *FForm->ScrollBar1;  // 0..200, page 20, at 50, steps 5 and 20
  std::vector<TScrollCode> codes;
  bar.OnScroll = [&](core::TObject*, TScrollCode code, int&) { codes.push_back(code); };
  const struct {
    WORD Code;
    int Position;
  } steps[] = {{SB_LINEDOWN, 55}, {SB_PAGEDOWN, 75}, {SB_LINEUP, 70}, {SB_PAGEUP, 50},
               {SB_BOTTOM, 181},  {SB_LINEDOWN, 181}, {SB_TOP, 0},      {SB_ENDSCROLL, 0}};
  for (const auto& step : steps) {
    Scroll(bar, step.Code);
    EXPECT_EQ(bar.Position(), step.Position) << step.Code;
    EXPECT_EQ(BarInfo(bar.Handle(), SB_CTL).nPos, step.Position) << step.Code;
  }
  EXPECT_EQ(codes.size(), 8u);
  EXPECT_EQ(codes.back(), TScrollCode::scEndScroll);
  EXPECT_EQ(Count("ScrollBar1Change"), 6);  // not at the end nor beyond it
  // The handler may change where a request leads.
  bar.OnScroll = [](core::TObject*, TScrollCode, int& position) { position = 100; };
  Scroll(bar, SB_LINEDOWN);
  EXPECT_EQ(bar.Position(), 100);
  // Another kind: a vertical bar in the swapped size, same settings.
  bar.SetKind(TScrollBarKind::sbVertical);
  EXPECT_TRUE(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(bar.Width(), 17);
  EXPECT_EQ(bar.Height(), 140);
  EXPECT_EQ(BarInfo(bar.Handle(), SB_CTL).nPos, 100);
  EXPECT_EQ(BarInfo(bar.Handle(), SB_CTL).nPage, 20u);
  // A maximum below the minimum is the minimum.
  bar.SetParams(5, 10, 3);
  EXPECT_EQ(bar.Max(), 10);
  EXPECT_EQ(bar.Position(), 10);
}

TEST_F(RangeCtrlsTest, TrackBarReportsEveryMove) {
  Show();
  TTrackBar& track = *FForm->TrackBar1;  // 0..20 at 5
  track.SetFocus();
  SendMessageW(track.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(track.Position(), 6);
  EXPECT_EQ(Count("TrackBar1Change"), 1);
  track.SetPosition(30);  // clamped to the range
  EXPECT_EQ(SendMessageW(track.Handle(), TBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(Count("TrackBar1Change"), 2);
  track.SetPosition(20);
  EXPECT_EQ(Count("TrackBar1Change"), 2);
  track.SetMax(10);  // the position follows the range
  EXPECT_EQ(track.Position(), 10);
  track.SetOrientation(TTrackBarOrientation::trVertical);
  EXPECT_TRUE(GetWindowLongPtrW(track.Handle(), GWL_STYLE) & TBS_VERT);
  EXPECT_EQ(track.Position(), 10);
  EXPECT_EQ(track.Height(), 140);
}

TEST_F(RangeCtrlsTest, UpDownDrivesTheTextOfItsEdit) {
  Show();
  TUpDown& spin = *FForm->UpDown1;  // 0..10 at 5, steps of 2, inside Edit2
  TEdit& edit = *FForm->Edit2;
  std::vector<TUDBtnType> clicks;
  spin.OnClick = [&](core::TObject*, TUDBtnType button) { clicks.push_back(button); };
  // A click on the upper button, as the mouse gives it.
  HWND h = spin.Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.Width() / 2, 2));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(spin.Width() / 2, 2));
  EXPECT_EQ(spin.Position(), 7);
  EXPECT_EQ(edit.Text(), "7");
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], TUDBtnType::btNext);
  // The arrow keys in the edit step too; the lower button goes down.
  SendMessageW(edit.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(edit.Text(), "5");
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.Width() / 2, spin.Height() - 3));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(spin.Width() / 2, spin.Height() - 3));
  EXPECT_EQ(edit.Text(), "3");
  EXPECT_EQ(clicks.size(), 3u);
  // OnChanging may refuse a step.
  spin.OnChanging = [](core::TObject*, bool& allow) { allow = false; };
  SendMessageW(edit.Handle(), WM_KEYDOWN, VK_UP, 0);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.Width() / 2, 2));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(spin.Width() / 2, 2));
  EXPECT_EQ(spin.Position(), 3);
  EXPECT_EQ(clicks.size(), 3u);
  spin.OnChanging = nullptr;
  // A number typed into the edit is the position; other text leaves it; the maximum stops it.
  edit.SetText("9");
  EXPECT_EQ(spin.Position(), 9);
  edit.SetText("nine");
  EXPECT_EQ(spin.Position(), 9);
  SendMessageW(edit.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(spin.Position(), 10);
  SendMessageW(edit.Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(clicks.size(), 4u);
  // Docked inside the edit, it follows the edit's size.
  edit.SetWidth(180);
  EXPECT_EQ(spin.Left() + spin.Width(), edit.ClientWidth());
}

TEST_F(RangeCtrlsTest, UpDownLetsGoOfItsAssociateInEitherOrder) {
  TEdit& edit = *FForm->Edit2;
  EXPECT_TRUE(edit.WindowProc.Replaced());
  FForm->UpDown1->SetAssociate(FForm->Edit1);
  EXPECT_FALSE(edit.WindowProc.Replaced());
  EXPECT_EQ(FForm->Edit1->Text(), "5");
  delete FForm->Edit1;  // the up-down forgets its associate
  FForm->Edit1 = nullptr;
  EXPECT_EQ(FForm->UpDown1->Associate(), nullptr);
  FForm->UpDown1->SetPosition(4);
  FForm->UpDown1->SetAssociate(&edit);
  delete FForm->UpDown1;  // the edit's handler chain is left as it was
  FForm->UpDown1 = nullptr;
  EXPECT_FALSE(edit.WindowProc.Replaced());
  edit.SetText("still an edit");
  EXPECT_EQ(edit.Text(), "still an edit");
}

TEST_F(RangeCtrlsTest, ScrollBoxRangesComeFromItsChildren) {
  Show();
  TScrollBox& box = *FForm->ScrollBox1;  // children reach to (300, 171)
  HWND h = box.Handle();
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  ASSERT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  RECT client;
  GetClientRect(h, &client);
  SCROLLINFO vertical = BarInfo(h, SB_VERT);
  EXPECT_EQ(vertical.nMax + 1, 171);
  EXPECT_EQ(static_cast<int>(vertical.nPage), client.bottom);
  EXPECT_EQ(BarInfo(h, SB_HORZ).nMax + 1, 300);
  // Scrolling moves the children, windows included.
  SendMessageW(h, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(box.ScrollPosition().y, TAutoScroller::kLineStepPx);
  EXPECT_EQ(FForm->ScrollBoxButton->Top(), 8 - TAutoScroller::kLineStepPx);
  RECT button;
  GetWindowRect(FForm->ScrollBoxButton->Handle(), &button);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.top, 8 - TAutoScroller::kLineStepPx);
  SendMessageW(h, WM_VSCROLL, SB_BOTTOM, 0);
  SendMessageW(h, WM_HSCROLL, SB_BOTTOM, 0);
  const TEdit& corner = *FForm->ScrollBoxEdit;
  EXPECT_EQ(corner.Top() + corner.Height(), client.bottom);  // the far corner comes into view
  EXPECT_EQ(corner.Left() + corner.Width(), client.right);
  SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(box.ScrollPosition().y, 171 - client.bottom - 3 * TAutoScroller::kLineStepPx);
  SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
  SendMessageW(h, WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(FForm->ScrollBoxButton->Top(), 8);
  EXPECT_EQ(corner.Left(), 200);
  // A child moved further out widens the range; with the far child hidden all fits.
  FForm->ScrollBoxEdit->SetLeft(400);
  EXPECT_EQ(BarInfo(h, SB_HORZ).nMax + 1, 500);
  FForm->ScrollBoxEdit->Hide();
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
  FForm->ScrollBoxEdit->Show();
  box.SetAutoScroll(false);
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
}

}  // namespace
}  // namespace bw::win::test
