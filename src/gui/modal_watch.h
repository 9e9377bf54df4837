// Test help for boxes that run their own event loop (exec): the test asks in
// advance to be called when the next modal box or pop-up menu is open, looks
// at it and closes it, so that the code under test can go on.
#pragma once

#include <functional>

class QWidget;

namespace quirlex::gui::testing {

// Calls `action` with the next modal box once it is open and visible. Gives
// up after a few seconds; `action` is then never called.
void when_modal_opens(std::function<void(QWidget*)> action);

// The same for the next pop-up menu.
void when_popup_opens(std::function<void(QWidget*)> action);

}  // namespace quirlex::gui::testing
