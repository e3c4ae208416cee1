#include "skin/data/LacquerDataRules.h"

#include <array>

#include "framework/core/Text.h"
#include "skin/data/AnsiText.h"

namespace bw::skin {

TColor RGBToColor(std::int32_t red, std::int32_t green, std::int32_t blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

TColor strcolor(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  std::array<std::int32_t, 3> rgb{0, 0, 0};
  std::size_t taken = 0;
  std::int32_t number = 0;  // kept as its low byte, so long digit runs cannot overflow
  bool inNumber = false;
  for (char c : trimmed) {
    if (c >= '0' && c <= '9') {
      number = (number * 10 + (c - '0')) & 0xFF;
      inNumber = true;
      continue;
    }
    if (inNumber && taken < rgb.size()) rgb[taken] = number;
    if (inNumber) ++taken;
    number = 0;
    inNumber = false;
  }
  if (inNumber && taken == 2) rgb[2] = number;
  return RGBToColor(rgb[0], rgb[1], rgb[2]);
}

TColor GetColor(std::string_view text, TColor defaultColor) {
  return text.empty() ? defaultColor : strcolor(text);
}

std::string GetFileName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return std::string(name.substr(0, dot));
}

std::string SkinBitmapEntryName(std::string_view value) {
  const std::size_t cut = value.find_last_of("\\:");
  const std::string_view name = cut == std::string_view::npos ? value : value.substr(cut + 1);
  if (name.empty()) return {};
  const std::size_t dot = value.find_last_of('.');
  if (dot == std::string_view::npos || value.substr(dot) != ".bmp") return {};
  return std::string(name);
}

namespace {

// Grouped by kind; the spelling of a kind varies between entries as it always has.
constexpr const char* kSkin3rd[] = {
    "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TAdvPanelGroup=scrollbar",
    "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar", "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
    "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar",
    "TTBXDockablePanel=Panel", "TControlBar=Panel", "TTBDock=Panel", "TTBToolbar=Panel", "TRzGroup=panel",
    "TLMDCalculator=panel", "TLMDGROUPBOX=panel", "TLMDSIMPLEPANEL=panel", "TLMDDBCalendar=panel",
    "TLMDButtonPanel=panel", "TLMDLMDCalculator=panel", "TLMDHeaderPanel=panel", "TLMDTechnicalLine=panel",
    "TLMDLMDClock=panel", "TLMDTrackbar=panel",
    "TComboboxex=combobox", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox", "TcxDBDateEdit=combobox",
    "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox", "TcxDBBlobEdit=combobox",
    "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox", "TcxDBShellComboBox=combobox",
    "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TRzDateTimeEdit=Combobox", "TRzColorEdit=Combobox",
    "TRzDateTimePicker=Combobox", "TRzDBDateTimeEdit=Combobox", "TRzDbColorEdit=Combobox",
    "TRzDBDateTimePicker=Combobox", "TLMDListCombobox=Combobox", "TLMDCheckListCombobox=Combobox",
    "TLMDHeaderListCombobox=Combobox", "TLMDImageCombobox=Combobox", "TLMDColorCombobox=Combobox",
    "TLMDFontCombobox=Combobox", "TLMDFontSizeCombobox=Combobox", "TLMDFontSizeCombobox=Combobox",
    "TLMDPrinterCombobox=Combobox", "TLMDDriveCombobox=Combobox", "TLMDCalculatorComboBox=Combobox",
    "TLMDTrackBarComboBox=Combobox", "TLMDCalendarComboBox=Combobox", "TLMDTreeComboBox=Combobox",
    "TDBLookupCombobox=combobox", "TWWDBCombobox=combobox", "TWWDBCombobox=combobox",
    "TWWDBLookupCombo=combobox", "TWWKeyCombo=combobox", "TWWTempKeyCombo=combobox",
    "TWWDBDateTimePicker=combobox",
    "TRxSpeedButton=speedbutton", "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton",
    "TAdvPageControl=nil",
    "TRzButton=button",
    "TRzBitbtn=bitbtn", "TRzMenuButton=bitbtn", "TLMDButton=bitbtn", "TcxButton=bitbtn",
    "TRzCheckGroup=CheckGroup", "TLMDCheckGroup=CheckGroup", "TLMDDBCheckGroup=CheckGroup",
    "TRzRadioGroup=Radiogroup", "TRzDBRadioGroup=Radiogroup", "TLMDRADIOGROUP=radiogroup",
    "TLMDDBRADIOGROUP=radiogroup", "TWWRADIOGROUP=radiogroup", "TcxDBRadioGroup=Radiogroup",
    "TcxRadioGroup=Radiogroup",
    "TRzButtonEdit=Edit", "TLMDCalculatorEdit=Edit", "TLMDEDIT=edit", "TLMDMASKEDIT=edit",
    "TLMDBROWSEEDIT=edit", "TLMDEXTSPINEDIT=edit", "TLMDCALENDAREDIT=edit", "TLMDFILEOPENEDIT=edit",
    "TLMDFILESAVEEDIT=edit", "TLMDCOLOREDIT=edit", "TLMDDBEDIT=edit", "TLMDDBMASKEDIT=edit",
    "TLMDDBEXTSPINEDIT=edit", "TLMDDBSPINEDIT=edit", "TLMDDBEDITDBLookup=edit", "TLMDEDITDBLookup=edit",
    "TWWDBEDIT=edit", "TOVCPICTUREFIELD=edit", "TOVCDBPICTUREFIELD=edit", "TOVCSLIDEREDIT=edit",
    "TOVCDBSLIDEREDIT=edit", "TOVCSIMPLEFIELD=edit", "TOVCDBSIMPLEFIELD=edit", "TO32DBFLEXEDIT=edit",
    "TOVCNUMERICFIELD=edit", "TOVCDBNUMERICFIELD=edit",
    "TRzDBRadioButton=Radiobutton", "TLMDRadiobutton=Radiobutton",
    "TLMDGroupBox=Groupbox",
    "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=checkbox", "TLMDDBCHECKBOX=checkbox",
    "TcxDBCheckBox=checkbox", "TcxCheckBox=checkbox",
};
static_assert(std::size(kSkin3rd) == kSkin3rdEntryCount);

}  // namespace

void InitControlList(core::TStrings& list) {
  list.BeginUpdate();
  list.Clear();
  for (const char* entry : kSkin3rd) list.Add(entry);
  list.EndUpdate();
}

std::string FindSkin3rdKind(const core::TStrings& list, std::string_view className) {
  const std::string prefix = core::LowerCase(className) + "=";
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    const std::string entry = core::LowerCase(list.Get(i));
    if (entry.compare(0, prefix.size(), prefix) == 0) return entry.substr(prefix.size(), kMaxSkin3rdKindChars);
  }
  return {};
}

}  // namespace bw::skin
