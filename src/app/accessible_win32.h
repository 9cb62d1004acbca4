// What a screen reader reads of a control whose caption does not say enough:
// the control's standard accessible object, with its name and description
// replaced, and for a link its role, address and default action. Made when a
// screen reader first asks (WM_GETOBJECT), never before.
#pragma once

#include <windows.h>

#include <string>

#include "app/links.h"

namespace tavlin::app {

struct AccessibleFacts {
  std::wstring name, description;  // empty: the standard object's own
  AccessibleKind kind = AccessibleKind::Standard;
  std::wstring value;  // a link's address
};

// Answers WM_GETOBJECT for the control's client object with the standard
// object of the control, told the facts given where they say anything. False,
// with nothing made, when they say nothing, when the request is for another
// object, or when the system has no accessibility library: the control then
// answers as it would without us. A link's default action clicks it.
bool AnswerAccessibleObject(HWND control, WPARAM wp, LPARAM lp, const AccessibleFacts& facts,
                            LRESULT& answer);

}  // namespace tavlin::app
