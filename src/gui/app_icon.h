// The program's icon, drawn from its SVG source at the sizes desktops ask
// for: window title, task bar, About box.
#pragma once

#include <QIcon>

namespace quirlex::gui {

// Path of the SVG source among the program's compiled-in resources.
inline constexpr const char* kIconResource = ":/quirlex/quirlex.svg";

QIcon application_icon();

}  // namespace quirlex::gui
