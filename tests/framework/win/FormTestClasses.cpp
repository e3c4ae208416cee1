#include "tests/framework/win/FormTestClasses.h"

#include "framework/core/ClassRegistry.h"

namespace bw::win::test {

const core::TClassInfo TTestPaintBox::kClass{"TTestPaintBox", &TCustomControl::kClass, {}, {},
                                             &core::CreateComponentOf<TTestPaintBox>};
const core::TClassInfo TTestGraphic::kClass{"TTestGraphic", &TGraphicControl::kClass, {}, {},
                                            &core::CreateComponentOf<TTestGraphic>};
const core::TClassInfo TTestButton::kClass{"TTestButton", &TWinControl::kClass, {}, {},
                                           &core::CreateComponentOf<TTestButton>};

const core::TMethodInfo kFormMethods[] = {
    core::Method<&TTestForm1::FormCreate>("FormCreate"),
    core::Method<&TTestForm1::Button1Click>("Button1Click"),
};
const core::TFieldInfo kFormFields[] = {
    core::Field<&TTestForm1::Box1>("Box1"),
    core::Field<&TTestForm1::Graphic1>("Graphic1"),
    core::Field<&TTestForm1::Button1>("Button1"),
};
const core::TClassInfo TTestForm1::kClass{"TTestForm1", &TForm::kClass, {}, kFormMethods,
                                          &core::CreateComponentOf<TTestForm1>, kFormFields};

void TTestPaintBox::Paint() {
  ++Paints;
  Canvas().Brush().SetColor(Color());
  const RECT r = ClientRect();
  Canvas().FillRect(r);
}

void TTestGraphic::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TTestButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = L"BUTTON";
  params.Style |= BS_PUSHBUTTON;
}

void TTestButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    ++ReflectedCommands;
    Click();
    return;
  }
  TWinControl::WndProc(message);
}

void RegisterFormTestClasses() {
  core::RegisterComponentClass(TTestPaintBox::kClass);
  core::RegisterComponentClass(TTestGraphic::kClass);
  core::RegisterComponentClass(TTestButton::kClass);
  core::RegisterComponentClass(TTestForm1::kClass);
}

}  // namespace bw::win::test
