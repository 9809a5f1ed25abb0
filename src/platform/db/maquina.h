#pragma once
// Who a window is to the others that reach a game's folder: its machine, by
// the system's machine id (two machines never share one, whatever their
// names), this boot of it (a new one at every start), and the name the
// person knows the machine by, which only names it in a message.

#include <string>

namespace gv::db {

struct Esta_Maquina {
    std::string id;         // the system's machine id; this boot's where it has none
    std::string arranque;   // this boot's id
    std::string nome;       // the host's name, for the person
};
const Esta_Maquina& esta_maquina();

// What this machine's locks reach, for the folder open at `pasta`: this
// boot and the file system the folder is on, as a short tag. Two windows
// whose tags differ cannot tell each other apart by their locks (two mounts
// of one share, or two machines).
std::string alcance_dos_trincos(int pasta);

// A name no window, of this machine or another, has given or will give:
// random, from the system's own source.
std::string unico();

// For tests: this process taken for a window of another machine, or of
// another boot of this one: its holds on the game's files are then taken
// where this machine's windows never look (desvio_dos_trincos), as another
// machine's on a share never reach this one.
void fingir_maquina(Esta_Maquina m);
// 0, but for a machine a test stands for.
long desvio_dos_trincos();

} // namespace gv::db
