#pragma once
// The main window's screen for native tests: every control's text and check as the window holds
// them, starting as the controls table has them, and the window's height and what was done to it.
// Click and Type act as the user does and run the handler that the window would run; a text box
// written by code runs its change handler too, as in the window.

#include <map>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/form1.h"
#include "form/form_view.h"

namespace tv::testing {

class FakeFormView final : public form::FormView {
 public:
  FakeFormView() {
    for (const form::FormControl& control : form::FormControls())
      texts_[control.id] = control.caption;
  }
  // The form whose handlers run; set before the first action.
  void Attach(form::Form1& form) { form_ = &form; }

  // A click on a button or check box; a check box changes its value first.
  void Click(int control) {
    if (Is(control, form::ControlKind::kCheckBox)) SetCheck(control, !IsChecked(control));
    form_->Click(control);
  }
  void Type(int control, const std::wstring& text) {
    texts_.at(control) = text;
    form_->Change(control);
  }

  std::wstring Text(int control) const override {
    return texts_.contains(control) ? texts_.at(control) : std::wstring();
  }
  void SetText(int control, const std::wstring& text) override {
    if (!texts_.contains(control)) return;
    texts_[control] = text;
    written.push_back(control);
    if (Is(control, form::ControlKind::kTextBox)) form_->Change(control);
  }
  bool IsChecked(int control) const override {
    return checked_.contains(control) && checked_.at(control);
  }
  void SetCheck(int control, bool checked) override {
    if (Is(control, form::ControlKind::kCheckBox)) checked_[control] = checked;
  }
  void SetClientHeight(int twips) override { clientHeightTwips = twips; }
  void AddTrayIcon() override { log.emplace_back("AddTrayIcon"); }
  void RemoveTrayIcon() override { log.emplace_back("RemoveTrayIcon"); }
  bool IsMinimised() const override { return minimised; }
  void MinimiseAndHide() override {
    minimised = true;
    log.emplace_back("MinimiseAndHide");
  }
  void RestoreAndShow() override {
    minimised = false;
    log.emplace_back("RestoreAndShow");
  }
  void EndProcess() override { log.emplace_back("EndProcess"); }

  int clientHeightTwips = 0;
  bool minimised = false;
  // The controls whose text code wrote, in order.
  std::vector<int> written;
  // The window operations: "AddTrayIcon", "RemoveTrayIcon", "MinimiseAndHide", "RestoreAndShow",
  // "EndProcess".
  std::vector<std::string> log;

 private:
  static bool Is(int control, form::ControlKind kind) {
    const form::FormControl* found = form::FindControl(control);
    return found != nullptr && found->kind == kind;
  }

  form::Form1* form_ = nullptr;
  std::map<int, std::wstring> texts_;
  std::map<int, bool> checked_;
};

}  // namespace tv::testing
