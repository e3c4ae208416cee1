#pragma once
// The skin engine's private window messages. Frames, painters and popup menus send and
// answer them; other windows of the process may answer them too.
#include <windows.h>

namespace bw::skin {

constexpr UINT SKIN_MSG_CHANGED = 0x3401;        // a form's frame re-reads the skin
constexpr UINT SKIN_MSG_NCPAINT = 0x3502;        // a frame repaints its non-client area now
constexpr UINT CN_SkinActive = 0x3503;           // posted once the frame exists; finishes the set-up
constexpr LPARAM kSkinActiveLParam = 1000;
constexpr UINT SKIN_MSG_ENABLE = 0x3506;         // wParam > 0 switches a control painter on, 0 off
constexpr UINT SKIN_MSG_BUTTONACTION = 0x3514;   // a caption button of the application's own: wParam = action
constexpr UINT SKIN_MSG_BUTTONVISIBLE = 0x3515;  // is caption button wParam shown? above 0: yes
constexpr UINT SKIN_MSG_MDIMAX = 0x3516;         // to the MDI client: an MDI child was maximised
constexpr UINT SKIN_MSG_QUERY = 0x3523;          // every skinned window answers 1

}  // namespace bw::skin
