// What the program sets up before its window opens: the application's name,
// which titles every message box, the settings location and the icon.
#pragma once

namespace quirlex::gui {

// Registered as the settings location (organisation name): the window keeps
// its check boxes and last folders there.
inline constexpr const char* kSettingsLocation =
    "Vom lokalen Anwendungs-Assistenten generierte Anwendungen";

// Names the running application after its program file, without extension,
// registers the settings location and sets the program's icon. Needs the
// QApplication object.
void set_up_application();

// Sets up the application, shows the window until it is closed and returns
// the program's exit code.
int run_application();

}  // namespace quirlex::gui
