#pragma once
// The program's entry and its end, and the user-interface port the game
// runs with.

#include <string>

#include "platform/qt/interface_qt.h"

namespace gv {

// The Qt port plus the game's own screens behind the engine's calls: at
// half time of the manager's match it shows the league or cup
// substitution screen modally and returns once it has closed.
class Interface_Jogo : public Interface_Qt {
public:
    void intervalo(bool taca, const std::string& casa, const std::string& fora, int golos_casa,
                   int golos_fora) override;
};

// Sets the connect string and the program's folder, seeds the random
// source, installs the game's user-interface port, then loads and shows the
// main window (whose load starts the splash and the entry screen from the
// event loop) and clears the real-game option. Needs a QApplication.
void Main();

// Ends the program at once: the chain of screens stops, the game database
// is closed (errors skipped) and every event loop returns.
void Terminar_Programa();

} // namespace gv
