#pragma once
// Three clubs up and three down between neighbouring divisions.

namespace gv {

// The bottom three of division 1 and the top three of division 2 change
// places, and likewise between divisions 2 and 3, by the standings order
// of the tables (ties by name). Every club is read before any moves.
void Actualizar_Subidas_Descidas();

} // namespace gv
