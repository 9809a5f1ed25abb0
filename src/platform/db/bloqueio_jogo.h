#pragma once
// The game's holds on a game file. Both are locks of the open file itself,
// not of the process: closing another descriptor of the same file, as a
// copy of it does, never lets them go; closing this one, or a kill, does.

#include <string>

namespace gv::db {

// Held by the window that has a game loaded, from its first look at the
// file until the game is closed, on a byte the engine never locks: another
// window of the game that loads the same file is told it is open there.
class Bloqueio_Jogo {
public:
    Bloqueio_Jogo() = default;
    // Throws Erro_BD (Noutra_Janela, naming the file) when another window
    // holds it. A file that cannot be written is not held, as opening it
    // for play is refused anyway, but another window's hold on it is still
    // told. The hold is on the file the name names once it is taken, even
    // when the name is given to another file meanwhile. `nome` names the
    // game in a refusal, when the player chose it so (a link to it, say).
    static Bloqueio_Jogo tomar(const std::string& caminho, const std::string& nome = {});
    // Held by the window that makes a game anew, a new game or the same
    // game under a key of its own, from its first file to the last: the
    // file `obra` beside the game, made for it. Another window may hold it
    // for a moment only (a cleaner looking, a new game refused): it is
    // waited for up to `espera_ms`. Throws Erro_BD (Criado_Noutra_Janela,
    // naming `jogo`) when another window still holds it.
    static Bloqueio_Jogo tomar_obra(const std::string& obra, const std::string& jogo, int espera_ms);
    // Without waiting or telling: a hold when no other window has one.
    static Bloqueio_Jogo se_livre(const std::string& obra);
    ~Bloqueio_Jogo();
    Bloqueio_Jogo(Bloqueio_Jogo&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Bloqueio_Jogo& operator=(Bloqueio_Jogo&& o) noexcept;
    Bloqueio_Jogo(const Bloqueio_Jogo&) = delete;
    Bloqueio_Jogo& operator=(const Bloqueio_Jogo&) = delete;
    bool tomado() const { return fd_ >= 0; }
    // Whether `caminho` names the file held (a replacement, a rename or a
    // delete since make it name another, or nothing).
    bool nomeia(const std::string& caminho) const;
    // How many names the file held has in all, and where one of them is
    // now: empty when it has none left (a file replaced or deleted).
    unsigned nomes() const;
    std::string onde_esta() const;
    // The file held, open to be read and written.
    int descritor() const { return fd_; }

private:
    int fd_ = -1;
};

// Whether another window holds the file open at fd (read without taking it).
bool segura_noutra_janela(int fd);
// The refusal of the log or journal `sobra` beside the game file `caminho`
// that another window holds: the log of a game it plays, which had this
// name before (Erro_BD Sobra_Noutra_Janela, naming it).
[[noreturn]] void sobra_noutra_janela(const std::string& caminho, const std::string& sobra);
// Throws it for whatever log or journal beside `caminho` another window holds.
void exigir_sobras_livres(const std::string& caminho);

// A shared hold on the engine's own lock bytes, taken as the engine takes
// it: refused while another program writes the file or holds it alone. A
// file copied under it gets no commit halfway through the copy.
class Leitura_Partilhada {
public:
    // Throws Erro_BD: Bloqueada, naming the file, when another program has
    // it; or the system's reason when it cannot be opened.
    explicit Leitura_Partilhada(const std::string& caminho);
    ~Leitura_Partilhada();
    Leitura_Partilhada(const Leitura_Partilhada&) = delete;
    Leitura_Partilhada& operator=(const Leitura_Partilhada&) = delete;
    // The file, open for reading.
    int descritor() const { return fd_; }

private:
    int fd_ = -1;
};

} // namespace gv::db
