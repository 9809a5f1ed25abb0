#pragma once
// The program's entry and its end.

namespace gv {

// Sets the connect string and the program's folder, seeds the random
// source, installs the Qt user-interface port, then loads and shows the
// main window (whose load starts the splash and the entry screen from the
// event loop) and clears the real-game option. Needs a QApplication.
void Main();

// Ends the program at once: the chain of screens stops, the game database
// is closed (errors skipped) and every event loop returns.
void Terminar_Programa();

} // namespace gv
