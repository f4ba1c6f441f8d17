#include "fake_form_view.h"

#include "form/controls.h"

namespace tv::testing {
namespace {

bool IsKind(int control, form::ControlKind kind) {
  const form::FormControl* found = form::FindControl(control);
  return found != nullptr && found->kind == kind;
}

}  // namespace

FakeFormView::FakeFormView() {
  for (const form::FormControl& control : form::FormControls()) {
    texts_.emplace(control.id, control.caption);
  }
}

void FakeFormView::Click(int control) {
  if (IsKind(control, form::ControlKind::kCheckBox)) SetCheck(control, !IsChecked(control));
  form_->Click(control);
}

void FakeFormView::Type(int control, const std::wstring& text) {
  texts_.at(control) = text;
  form_->Change(control);
}

std::wstring FakeFormView::Text(int control) const {
  const auto found = texts_.find(control);
  return found == texts_.end() ? std::wstring() : found->second;
}

void FakeFormView::SetText(int control, const std::wstring& text) {
  if (!texts_.contains(control)) return;
  texts_[control] = text;
  written.push_back(control);
  if (IsKind(control, form::ControlKind::kTextBox)) form_->Change(control);
}

void FakeFormView::SetCheck(int control, bool checked) {
  if (!IsKind(control, form::ControlKind::kCheckBox)) return;
  if (checked) {
    checked_.insert(control);
  } else {
    checked_.erase(control);
  }
}

}  // namespace tv::testing
