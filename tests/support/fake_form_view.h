#pragma once
// The main window's screen for native tests: every control's text and check as the window holds
// them, starting as the controls table has them, and the window's height and what was done to it.
// Click and Type act as the user does and run the handler that the window would run; a text box
// written by code runs its change handler too, as in the window.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "form/form1.h"
#include "form/form_view.h"

namespace tv::testing {

class FakeFormView final : public form::FormView {
 public:
  FakeFormView();
  // The form whose handlers run; set before the first action.
  void Attach(form::Form1& form) { form_ = &form; }

  // A click on a button or check box; a check box changes its value first.
  void Click(int control);
  void Type(int control, const std::wstring& text);

  std::wstring Text(int control) const override;
  void SetText(int control, const std::wstring& text) override;
  bool IsChecked(int control) const override { return checked_.contains(control); }
  void SetCheck(int control, bool checked) override;
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
  form::Form1* form_ = nullptr;
  std::map<int, std::wstring> texts_;
  std::set<int> checked_;
};

}  // namespace tv::testing
