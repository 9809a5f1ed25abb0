#pragma once
// A note beside a game open in a window, for the machines the folder's
// locks do not reach: on a share mounted in user space (sshfs), the game's
// hold is seen by this machine's windows only. The note is made exclusively
// where locks are this machine's only, names the machine, its boot and the
// window's process, and goes when the game closes. Every window looks for
// one before it holds a game: another machine's refuses it; one of this
// machine whose process is gone, or of an earlier boot, is stale and is
// taken over.

#include <memory>
#include <string>

namespace gv::db {

// What the note's name adds to the game's.
constexpr const char* Sufixo_Nota = "-aberto";

class Nota_Aberto {
public:
    // The note of the game `nome` in the folder open at `pasta`: made where
    // the folder's locks are this machine's only (else nothing is made).
    // Throws Erro_BD naming `escolhido`: Noutra_Janela when a window of this
    // machine has the game open, Noutra_Maquina (with the machine's name)
    // when another machine's has.
    // The note this process has of it already is shared. `sal` is the first
    // bytes of the file under the name (each game has a salt of its own),
    // empty when there is none: a note of another salt is of a window whose
    // game has lost this name since, and is taken over.
    static std::shared_ptr<Nota_Aberto> tomar(int pasta, const std::string& nome, const std::string& escolhido,
                                              const std::string& sal);
    // The game under the name is another now (written anew, or a new game
    // put in its place): the note says its salt.
    void renovar(const std::string& sal);
    // Gone, while it is still this window's.
    ~Nota_Aberto();
    Nota_Aberto(const Nota_Aberto&) = delete;
    Nota_Aberto& operator=(const Nota_Aberto&) = delete;

private:
    Nota_Aberto() = default;
    int pasta_ = -1;   // its own descriptor of the folder
    std::string nome_, escrito_;
};

} // namespace gv::db
