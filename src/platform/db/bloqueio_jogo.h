#pragma once
// The game's holds on a file. Each is a lock of the open file itself, not
// of the process: closing another descriptor of the same file, as a copy
// of it does, never lets it go; closing this one, or a kill, does. Files
// are reached by their name in a folder held open (lugar.h).

#include <string>
#include <string_view>

namespace gv::db {

class Bloqueio_Jogo {
public:
    Bloqueio_Jogo() = default;
    // The file `nome` in the folder open at `pasta`, held on a byte the
    // engine never locks. Throws Erro_BD (Noutra_Janela, naming `quem`, or
    // the file when `quem` is empty) when another window holds it. A file
    // that cannot be written is not held, as playing it is refused anyway,
    // but another window's hold on it is still told. The hold is on the
    // file the name names once it is taken.
    static Bloqueio_Jogo tomar(int pasta, const std::string& nome, const std::string& quem);
    // The hold of a making: the file `obra` in the folder, as it is there
    // (whoever takes it judges it), else made holding `marca`: born with
    // it, held before it has its name, where the folder makes files with no
    // name; else made by its name and marked at once. Another window may
    // hold it for a moment only (a cleaner looking, a new game refused): it
    // is waited for up to `espera_ms`. Throws Erro_BD (Criado_Noutra_Janela,
    // naming `jogo`) when another window still holds it.
    // `feita`, when given, says whether this window made it.
    static Bloqueio_Jogo tomar_obra(int pasta, const std::string& obra, const std::string& jogo,
                                    std::string_view marca, int espera_ms, bool* feita = nullptr);
    // The file open at `fd`, taken over: held when no other window holds it,
    // else nothing (the descriptor closed).
    static Bloqueio_Jogo do_descritor(int fd);
    ~Bloqueio_Jogo();
    Bloqueio_Jogo(Bloqueio_Jogo&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Bloqueio_Jogo& operator=(Bloqueio_Jogo&& o) noexcept;
    Bloqueio_Jogo(const Bloqueio_Jogo&) = delete;
    Bloqueio_Jogo& operator=(const Bloqueio_Jogo&) = delete;
    bool tomado() const { return fd_ >= 0; }
    // Whether `nome` in the folder open at `pasta` names the file held.
    bool nomeia(int pasta, const std::string& nome) const;
    // The file held, open to be read and written.
    int descritor() const { return fd_; }

private:
    int fd_ = -1;
};

// Whether another window holds the file open at fd (read without taking it).
bool segura_noutra_janela(int fd);
// The same of the file `nome` in the folder open at `pasta`, opened to be
// read without following a link or waiting on a pipe.
bool segura_noutra_janela(int pasta, const std::string& nome);
// The refusal of the log or journal `sobra` beside the game file `caminho`
// that another window holds: the log of a game it plays, which had this
// name before (Erro_BD Sobra_Noutra_Janela, naming it).
[[noreturn]] void sobra_noutra_janela(const std::string& caminho, const std::string& sobra);

// A shared hold on the engine's own lock bytes of the file open at fd,
// taken as the engine takes it: refused while another program writes the
// file or holds it alone. A file copied under it gets no commit halfway
// through the copy.
class Leitura_Partilhada {
public:
    // Throws Erro_BD: Bloqueada, naming `caminho`, when another program has it.
    Leitura_Partilhada(int fd, const std::string& caminho);
    ~Leitura_Partilhada();
    Leitura_Partilhada(const Leitura_Partilhada&) = delete;
    Leitura_Partilhada& operator=(const Leitura_Partilhada&) = delete;

private:
    int fd_ = -1;
};

// The file open at fd opened anew, with these flags (the system's reopening
// through its descriptor): the same file, whatever its names now.
int reabrir(int fd, int flags);

} // namespace gv::db
