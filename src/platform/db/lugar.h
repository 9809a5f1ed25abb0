#pragma once
// A game's place: the folder it was first reached in, held open from the
// load or the new game to the close, and its file's name there. Whatever
// the game does by a name it does through that folder, right after
// checking the file is the one it must be: the engine reaches the game's
// file, log and journal by names that lead through the folder held, and is
// handed the very file held, and a log or journal this place made or found
// and holds; it removes nothing here that is not one of these. A folder
// renamed meanwhile changes nothing: the game's files go on beside it. Only
// the file's own name in its folder can be lost (replaced, moved away,
// deleted), and then the file held is found under another name, or saved
// beside where it was.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/bloqueio_jogo.h"
#include "platform/db/erro_bd.h"
#include "platform/db/nota_aberto.h"
#include "platform/db/vigia.h"

#include <sys/stat.h>

namespace gv::db {

// What a log or journal set aside is named by: its own name and this.
constexpr const char* Sufixo_De_Lado = ".gvantigo";

class Lugar_Jogo : public std::enable_shared_from_this<Lugar_Jogo> {
public:
    // The folder of `caminho`, the file itself (caminho_real.h), held; the
    // file is not looked at yet. `escolhido` names the game in a refusal,
    // as the player chose it. Throws Erro_BD Sem_Pasta when there is no
    // such folder.
    static std::shared_ptr<Lugar_Jogo> alcancar(const std::string& caminho, const std::string& escolhido = {});
    ~Lugar_Jogo();
    Lugar_Jogo(const Lugar_Jogo&) = delete;
    Lugar_Jogo& operator=(const Lugar_Jogo&) = delete;

    // The file's path as first reached, as chosen, and its name.
    const std::string& caminho() const { return caminho_; }
    const std::string& escolhido() const { return escolhido_; }
    const std::string& nome() const { return nome_; }
    int pasta() const { return pasta_; }
    // Whether the system refuses to write in the folder.
    bool so_de_leitura() const;
    // Whether anything has the file's name now (a link is not followed).
    bool ocupado() const;

    // Holds the file the name names now. Throws Erro_BD: Sem_Ficheiro when
    // there is no regular file, Noutra_Janela when another window holds it.
    // A file this window cannot write is not held (bloqueio_jogo.h).
    void segurar();
    // The file `b` holds, just put under the name, held in place of the old.
    void segurar(Bloqueio_Jogo b);
    // The note that this window has the game open, for the machines the
    // folder's locks do not reach (nota_aberto.h): looked for, and made
    // where needed, once, after every refusal this machine's holds give and
    // before anything is written, removed or put back in the folder.
    // `trancado`: this window holds the game's lock (the file's, or where
    // there is none yet, its making's). Throws Erro_BD as Nota_Aberto::tomar.
    void anotar(bool trancado);
    // Whether the game is this window's by the note (looked for, and made
    // where needed).
    bool anotado() const { return anotado_; }
    const Bloqueio_Jogo& ficheiro() const { return ficheiro_; }
    std::uintmax_t tamanho() const;
    // Whether the name names the file held, and how many names it has.
    bool nomeia() const;
    unsigned nomes() const;
    // The name the engine is given for a file of the folder: one that leads
    // through the folder held; for the game's own file, to the file held.
    std::string no_motor(const std::string& nome) const;
    std::string no_motor() const { return no_motor(nome_); }

    // The log and journal a load finds beside the file: each a regular file
    // (else Sobra_Estranha) no other window holds (else Sobra_Noutra_Janela),
    // held by this window from now on, open at `fd` to be read.
    // One that a rewrite or a close set aside and a kill left there is put
    // back under its name first, and judged as any other (`posto`).
    struct Ao_Lado {
        std::string caminho;
        bool log;
        int fd;
        std::uintmax_t tamanho;
        bool posto;
    };
    std::vector<Ao_Lado> ver_ao_lado();
    // The one put back that is not the file's: the old file's, whose
    // rewrite took everything in it, gone.
    void remover_posto(bool log);
    // The shared index beside the file held alone: a killed load's, gone.
    void remover_indice_partilhado() const;
    // Whether the log held has commits the file does not hold.
    bool log_com_commits() const;

    // The failure that tells that the file lost its name, after `perda`:
    // where the game is is worked out each time it is told (paradeiro).
    Erro_BD perdido(Perda perda);
    // Where the game is now: the file under a name (its own again, another
    // in the folder, or where the system finds it), when it holds
    // everything; else a copy of it, whole with its log, saved beside
    // where it was, made the first time it can be.
    Paradeiro paradeiro(Perda perda);
    // Whether the player is to be told again as the game closes: no copy
    // could be made, or the copy told of is gone or under another name.
    bool dizer_de_novo();
    // Why the engine was last refused a file of the game, taken.
    std::optional<Erro_BD> recusa();
    // The file `de` of the folder, held from now on, put under the game's
    // name in one step: over the file held (`havia`), only while the name
    // names it, or where no file is, never over one that came meanwhile
    // (else the loss, Perda::Nada). The log and journal held beside it are
    // set aside first, put back if it fails and gone once it is done.
    void substituir(const std::string& de, bool havia);

    // The watch for another program's writes into the file held and the
    // log held (vigia.h), which the engine's writes, truncations and reads
    // of them go through.
    Vigia& vigia() { return vigia_; }
    // A step of the engine's work ends (a transaction, the move of a commit
    // into the file), and the next begins: what it wrote is looked at, and
    // each file again before the next step's first write into it.
    void deixado();
    // A transaction begins: whether another program wrote into the file
    // held, or the log held, since this window last left them (a backup
    // copied over it in place). Once found, it stays so, and nothing more
    // is written into either.
    bool alterado();
    // The failure that tells it.
    Erro_BD alterado_por_outro() const;
    // Whether the file took in everything the log holds, as the last move
    // of the log into it left it.
    void log_passado(bool tudo) { log_por_passar_ = !tudo; }
    // Another program wrote into the file or the log: the log and the
    // journal this window made, untouched by the other, go, so that the
    // next load finds nothing of this window's to refuse or to take into
    // what the other wrote; a log the other wrote is set aside, as it left
    // it, under a name of its own beside the game (`-wal.alterado`), so
    // that the next load opens without it. What the engine's close would
    // write into either is refused as every write after the other's is.
    void largar_alterados();
    // The engine let go of the file and the log, for a file written anew
    // under the game's name: its descriptors of them lead to files of its
    // own from then on, and its close of the old file writes nothing into
    // it (a second name of it keeps its bytes); the log, which holds nothing
    // the new file lacks, goes as the new file takes the name, if the
    // engine has not removed it.
    void soltar_motor();
    // Refuses the engine a file of the game, and keeps why (recusa()).
    void recusar(Erro_BD e);

    // The engine's own opening and removal of a file of the folder.
    int abrir_no_motor(const std::string& nome, int flags, int modo);
    int apagar_no_motor(const std::string& nome);

private:
    Lugar_Jogo() = default;
    enum Lado { Log, Diario };
    static constexpr const char* Sufixos[2] = {"-wal", "-journal"};
    std::string pasta_agora() const;
    // The first bytes of the file held, or else of the file under the name
    // (a game's salt), in hex; empty when there is none.
    std::string sal() const;
    std::string sal(int fd) const;   // of the file open at fd (-1: the file under the name)
    std::string outro_nome() const;
    bool guardar_copia(int pasta);
    // The folder a copy is made in, open: the game's while it has a name;
    // else the one its path names now, if it can be written, else the
    // player's data folder. -1 and errno when none opens.
    int pasta_da_copia() const;
    std::string onde_copia();
    int abrir_ao_lado(Lado l, int flags, int modo);
    bool remover_lado(Lado l);
    std::string caminho_, escolhido_, nome_;
    int pasta_ = -1;
    Bloqueio_Jogo ficheiro_;
    Bloqueio_Jogo ao_lado_[2];   // the log and the journal held
    bool anotado_ = false;
    std::shared_ptr<Nota_Aberto> nota_;
    bool posto_[2] = {};         // put back as the load found it set aside
    // The copy, once made: open, with the folder it was made in, and its
    // name there then; why the last try failed (errno), and where the
    // player was last told it is.
    int copia_ = -1, pasta_copia_ = -1;
    std::string nome_copia_, dito_;
    int erro_copia_ = 0;
    bool copia_por_fazer_ = false;
    std::optional<Erro_BD> recusa_;
    Vigia vigia_;
    Olhado copia_vista_;   // the copy, as it was made
    // Whether the copy is as it was made: one written over in place holds
    // the game no more.
    bool copia_intacta();
    bool log_por_passar_ = false;
    // The name the log another program wrote was set aside under, and
    // whether the player is yet to be told it.
    std::string log_de_parte_;
    bool de_parte_por_dizer_ = false;
};

// The engine reaches the game's files through their places from its first
// file on: set once, before it opens any.
void instalar_lugares();

// The player's own data folder, where a copy goes when the game's folder is
// gone: set once at start-up (by default, the system's place for it).
void definir_pasta_dados(const std::string& pasta);
const std::string& pasta_dados();

} // namespace gv::db
