#pragma once
// Small control and form classes for the framework's window tests.
#include <string>
#include <vector>

#include "framework/win/Forms.h"

namespace bw::win::test {

// Paints its colour and counts its paints.
class TTestPaintBox : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTestPaintBox(core::TComponent* owner) : TCustomControl(owner) {}
  int Paints = 0;

 protected:
  void Paint() override;
};

// A windowless control painting a solid colour.
class TTestGraphic : public TGraphicControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTestGraphic(core::TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override;
};

// A system push button under the framework's own class name; clicks arrive reflected.
class TTestButton : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTestButton(core::TComponent* owner) : TWinControl(owner) { FTabStop = true; }
  int ReflectedCommands = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
};

class TTestForm1 : public TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTestForm1(core::TComponent* owner) : TForm(owner) {}

  TTestPaintBox* Box1 = nullptr;
  TTestGraphic* Graphic1 = nullptr;
  TTestButton* Button1 = nullptr;
  std::vector<std::string> Log;

  void FormCreate(core::TObject*) { Log.push_back("FormCreate"); }
  void Button1Click(core::TObject*) { Log.push_back("Button1Click"); }
};

void RegisterFormTestClasses();

}  // namespace bw::win::test
