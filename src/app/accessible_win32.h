// What a screen reader reads of a control whose caption does not say enough:
// the control's standard accessible object, with its name and description
// replaced. Made when a screen reader first asks (WM_GETOBJECT), never before.
#pragma once

#include <windows.h>

#include <string>

namespace tavlin::app {

// Answers WM_GETOBJECT for the control's client object with the standard
// object of the control, its name and description replaced where the texts
// given are not empty. False, with nothing made, when both are empty, when the
// request is for another object, or when the system has no accessibility
// library: the control then answers as it would without us.
bool AnswerAccessibleObject(HWND control, WPARAM wp, LPARAM lp, const std::wstring& name,
                            const std::wstring& description, LRESULT& answer);

}  // namespace tavlin::app
