#pragma once
// A note beside a game open in a window, for the machines the folder's
// locks do not reach: on a share mounted in user space (sshfs), the game's
// hold is seen by the windows of one machine only. Where locks are this
// machine's only, a window makes the note before it writes, removes or puts
// back anything in the folder, and removes it as the game closes, while it
// is still its own. Every window looks for one before it plays a game.
//
// A note names the window's machine by the system's machine id, the boot,
// the file system its locks reach, a name of the window's own, the host's
// name (for the person) and the salts of the game it has (each game has a
// salt of its own: a note of another is of a game that lost this name). It
// appears whole or not at all: written under a temporary name, synced, and
// given its name by a link, which never replaces; it is written anew the
// same way, and removed by being set aside first and read there.

#include <memory>
#include <string>
#include <vector>

namespace gv::db {

// What the note's name adds to the game's.
constexpr const char* Sufixo_Nota = "-aberto";

// A note's owner, and its text.
struct Dono_Nota {
    std::string maquina_id, arranque, alcance, janela, maquina;
    std::vector<std::string> sais;
};
std::string texto_da_nota(const Dono_Nota& d);
// The owner of a note whole as written; false for a note cut short, or a
// file that is no note.
bool ler_nota(const std::string& texto, Dono_Nota& d);

// What a window makes of another's note.
enum class Juizo_Nota {
    Velha,            // no window has that game open under this name: taken over
    Noutra_Janela,    // a window of this machine whose hold this one cannot see
    Noutra_Maquina,   // a window of another machine
};
// `eu`: this window, its salt first (or none, with no game under the name).
// `trancado`: whether this window holds the game's lock, which every
// window of this machine reaching the folder through the same file system
// sees: with it, no such window has the game.
Juizo_Nota julgar_nota(const Dono_Nota& eu, const Dono_Nota& outro, bool trancado);

// Whether the note beside the game `jogo` in the folder is of a window
// whose locks reach as this one's do (this boot, this file system): that
// window's hold then says whether it is still there.
bool nota_deste_alcance(int pasta, const std::string& jogo);

class Nota_Aberto {
public:
    // The note of the game `nome` in the folder open at `pasta`: made where
    // the folder's locks are this machine's only (else nothing is made, and
    // one found is still honoured). `sal` is the first bytes of the file
    // under the name, empty when there is none; `trancado` as above.
    // Throws Erro_BD naming `escolhido`: Noutra_Janela or Noutra_Maquina
    // (with the machine's name and the note), Sobra_Alheia when a file that
    // is no whole note has its name, and the system's cause (a full disk,
    // a folder that cannot be written, a disk error) when it cannot be made:
    // the game is never opened without it.
    // The note this process has of it already is shared.
    static std::shared_ptr<Nota_Aberto> tomar(int pasta, const std::string& nome, const std::string& escolhido,
                                              const std::string& sal, bool trancado);
    // Another file is about to take the game's name (a rewrite, a new game
    // in its place): its salt is in the note before then. Throws Erro_BD
    // with the cause when the note cannot be written.
    void acrescentar(const std::string& sal);
    // The game under the name is the one of this salt alone.
    void renovar(const std::string& sal);
    // Gone, while it is still this window's.
    ~Nota_Aberto();
    Nota_Aberto(const Nota_Aberto&) = delete;
    Nota_Aberto& operator=(const Nota_Aberto&) = delete;

private:
    Nota_Aberto() = default;
    bool reescrever(const std::vector<std::string>& sais);
    int pasta_ = -1;   // its own descriptor of the folder
    std::string nome_, escolhido_, escrito_;
    Dono_Nota dono_;
};

} // namespace gv::db
