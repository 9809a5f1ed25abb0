#pragma once
// The game's chain of screens, run flat.
//
// The desk hands over to a match screen, the match screen to the tables,
// the tables back to a fresh desk, and so on for as long as the game is
// played. Were each screen to show the next one modally from its own
// handler, every matchday would nest one more modal loop. Instead a screen
// names the next one with passar_para<T>() and then unloads (or hides)
// itself; its modal show returns to this loop, which shows the named
// screen modally in turn. The loop ends when a screen returns without
// naming a successor. The person sees the same screens in the same order.
//
// Screens opened from a menu and closed again (statistics, bank, ...) are
// simply shown modally by their caller; they do not go through here.

#include <functional>

#include "platform/qt/ecra.h"

namespace gv {

class Navegacao {
public:
    using Fabrica = std::function<Ecra&()>;

    template <class T>
    static Fabrica fabrica() {
        return []() -> Ecra& { return instancia<T>(); };
    }

    // Runs the chain from `primeiro` until no successor is named. Called
    // while the chain runs, it only names the successor. Returns at once
    // after parar().
    static void executar(Fabrica primeiro);
    template <class T>
    static void executar() { executar(fabrica<T>()); }

    // Names the screen shown once the running screen's modal show returns.
    // The screen is loaded (its instancia<T>() taken) only then. Named
    // while no chain runs, a chain starting with it begins from the event
    // loop as soon as the caller's handler returns.
    static void passar_para(Fabrica seguinte);
    template <class T>
    static void passar_para() { passar_para(fabrica<T>()); }

    static bool a_correr();
    // Whether a successor has been named and not yet shown.
    static bool seguinte_pedido();
    // Ends the chain after the running screen returns; forgets any
    // successor already named (the program is ending).
    static void parar();
};

} // namespace gv
