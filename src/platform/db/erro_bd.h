#pragma once
// The database layer's failures: their kinds, for the person, and the
// engine's or the system's detail, for the error log.

#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>

namespace gv::db {

// Where a game is once its file lost its name: worked out when the person
// is told, not when it was found.
struct Paradeiro {
    enum class Onde { Nenhum, Nome, Copia };
    Onde onde = Onde::Nenhum;
    // The file under its name now, or the copy saved of it; with Nenhum,
    // the folder a copy could not be saved in.
    std::string caminho;
    bool apagado = false;        // the file has no name left
    bool nome_ocupado = false;   // another file has the game's name now
    // The folder held has no name left (deleted, or moved to another disk):
    // `pasta` is where it was.
    bool pasta_perdida = false;
    std::string pasta;
    // With Nenhum, why the copy could not be made (the system's errno).
    int erro = 0;
};

// What had been done in a game when its file lost its name: nothing
// written; played; or, in a load, taken in from a log or journal beside it.
enum class Perda { Nada, Jogado, Lido };

// A failure of the database, of either kind below: what the one place that
// owns a whole transaction (a deal, the line-up) catches to report it.
class Falha_BD : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every failure of the layer. numero is the engine's extended result code
// (or one of ours below); descricao the technical detail (the engine's
// words, the statement): for the error log, never for the person, who is
// told the cause by its kind.
class Erro_BD : public Falha_BD {
public:
    // What went wrong: the file itself, or the machine around it.
    enum class Tipo {
        Geral,          // anything else
        Sem_Ficheiro,   // the file is not there
        Nao_E_Base,     // not a database of ours, or another password
        Danificada,     // a database of ours, damaged
        Bloqueada,      // another program holds it
        So_Leitura,     // the file or its folder may only be read
        Sem_Permissao,  // the system refuses the access
        Disco_Cheio,    // no room left on the disk
        Erro_ES,        // the disk failed a read or a write
        Sobra_Alheia,   // a log or journal beside the file is not the file's own
        Sobra_Danificada, // the file's own log or journal, damaged: the file alone is whole
        Sobra_Estranha, // beside the file, under a log's or journal's name, something that is no file
        Sobra_Grande,   // beside the file, under a log's or journal's name, a file larger than any the game writes
        Pasta_Temporaria, // the temporary folder cannot take a private copy
        Pasta_So_Leitura, // the game's folder may only be read: the game cannot be played there
        Noutra_Janela,  // another window of the game has this game open
        Noutra_Maquina, // a window of the game on another machine has this game open (maquina, nota)
        Criado_Noutra_Janela, // another window of the game is making this game
        Sobra_Noutra_Janela, // beside the file, a log another window of the game is writing
        Ficheiro_Movido, // the game's file was moved, renamed, replaced or deleted while it was open
        Ficheiro_Alterado, // another program wrote into the game's file (or its log) while it was open
        Ligacoes_Em_Circulo, // the path's links lead round in a circle
        Sem_Pasta,      // the folder the file would be in is not there
        Nome_De_Obra,   // a new game's name ends as the files of a game being made do
        Nome_Ao_Lado,   // a new game's name ends as the files beside a game in play do
    };
    Erro_BD(int numero, std::string descricao, Tipo tipo = Tipo::Geral, std::string ficheiro = {},
            Tipo causa = Tipo::Geral);
    int numero() const { return numero_; }
    const std::string& descricao() const { return descricao_; }
    Tipo tipo() const { return tipo_; }
    // The file (or folder) the failure is about, where it is known.
    const std::string& ficheiro() const { return ficheiro_; }
    // For the temporary folder: what the system said of it (Sem_Ficheiro,
    // So_Leitura, Disco_Cheio...). For the game's own damaged side file:
    // Danificada when the game file does not stand without it.
    Tipo causa() const { return causa_; }
    // The file is named with its folder: it is not beside the game as the
    // player chose it.
    bool com_pasta() const { return com_pasta_; }
    void nomear_com_pasta() { com_pasta_ = true; }
    // For a game open on another machine: that machine's name, and the note
    // beside the game that says so.
    const std::string& maquina() const { return maquina_; }
    const std::string& nota() const { return nota_; }
    void com_maquina(std::string maquina, std::string nota) {
        maquina_ = std::move(maquina);
        nota_ = std::move(nota);
    }
    // For the game's log written by another program: it held rounds the
    // file had not taken in yet (a move into the file that failed).
    bool log_por_passar() const { return log_por_passar_; }
    void com_log_por_passar() { log_por_passar_ = true; }
    // For the game's file or log written by another program in the very
    // instant this window wrote into it: it may hold parts of both.
    bool partes_de_ambos() const { return partes_de_ambos_; }
    void com_partes_de_ambos() { partes_de_ambos_ = true; }
    // For the game's log written by another program as its pages went into
    // the game's file: the file took part of them only.
    bool ficheiro_a_meio() const { return ficheiro_a_meio_; }
    void com_ficheiro_a_meio() { ficheiro_a_meio_ = true; }
    // For the game's log written by another program: the name it was set
    // aside under, so that the game opens without it; empty while it has
    // its own.
    const std::string& posto_de_parte() const { return posto_de_parte_; }
    void com_posto_de_parte(std::string nome) { posto_de_parte_ = std::move(nome); }
    // For a game file moved, replaced or deleted while open: what had been
    // done in it, and where it is, asked anew each time.
    Perda perda() const { return perda_; }
    Paradeiro paradeiro() const { return paradeiro_ ? paradeiro_() : Paradeiro{}; }
    void com_paradeiro(Perda p, std::function<Paradeiro()> onde) {
        perda_ = p;
        paradeiro_ = std::move(onde);
    }
private:
    int numero_;
    std::string descricao_;
    Tipo tipo_;
    std::string ficheiro_;
    Tipo causa_;
    bool com_pasta_ = false;
    std::string maquina_, nota_;
    bool log_por_passar_ = false;
    bool partes_de_ambos_ = false, ficheiro_a_meio_ = false;
    std::string posto_de_parte_;
    Perda perda_ = Perda::Nada;
    std::function<Paradeiro()> paradeiro_;
};

// The engine undid the open transaction on its own (a full disk, an I/O
// error, no memory, an interrupt): every statement and commit after it
// throws this until the outermost level is rolled back. Not an Erro_BD, so
// that a place which passes over an ordinary failure of one statement
// cannot swallow it by accident; whoever owns the transaction reports it,
// with its cause.
class Transaccao_Desfeita : public Falha_BD {
public:
    explicit Transaccao_Desfeita(Erro_BD causa) : Falha_BD(causa.what()), causa_(std::move(causa)) {}
    const Erro_BD& causa() const { return causa_; }
private:
    Erro_BD causa_;
};

// The game's file `caminho` moved, renamed, replaced or deleted while it was
// being used, before anything was written to it.
Erro_BD ficheiro_movido(const std::string& caminho);

// The kind of an engine result code, and of a system error (file copies,
// renames).
Erro_BD::Tipo tipo_do_codigo(int codigo);
Erro_BD::Tipo tipo_do_sistema(const std::error_code& ec);

// Our own error numbers (above the engine's range).
constexpr int ERRO_SEM_BASE = 3000;        // no open database
constexpr int ERRO_NAO_ACTUALIZAVEL = 3027; // recordset cannot be updated
constexpr int ERRO_SEM_REGISTO = 3021;     // no current record
constexpr int ERRO_CAMPO = 3265;           // no such field in the recordset
constexpr int ERRO_FICHEIRO = 3044;        // file missing / not a game database

} // namespace gv::db
