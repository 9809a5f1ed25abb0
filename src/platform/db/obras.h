#pragma once
// Making a game file anew in the game's folder (lugar.h): a new game built
// under other names and put over the chosen one, or a game written anew
// under its own name. Its files are held by the window making it from the
// first to the last; what a making that was killed left behind goes once
// no window holds it, known by the mark its hold carries.

#include <memory>
#include <string>
#include <string_view>

#include "platform/db/bloqueio_jogo.h"

namespace gv::db {

class Lugar_Jogo;

// What the hold of a making holds, and nothing else does: born with it, a
// hold is a making's by it alone. After it, what the making window's locks
// reach (maquina.h), so that where locks are this machine's only a cleaner
// tells this machine's making from another's.
constexpr std::string_view Marca_Obra = "Golvantario 99: um jogo a ser criado.\n";
// The whole mark a making's hold in the folder open at `pasta` (or named
// `pasta`) is born with.
std::string marca_de_obra(int pasta);
std::string marca_de_obra(const std::string& pasta);

class Obra {
public:
    // Holds the making of the game in `lugar`: its hold, beside the game,
    // is made and marked as a making's. Erro_BD: Criado_Noutra_Janela when
    // another window still holds it after `espera_ms` (bloqueio_jogo.h);
    // Sobra_Alheia when a file not a making's has the hold's name.
    Obra(std::shared_ptr<Lugar_Jogo> lugar, int espera_ms);
    // Its files go with it, through the game's folder, the hold last.
    ~Obra();
    Obra(const Obra&) = delete;
    Obra& operator=(const Obra&) = delete;
    // The engine's names of the file first built, and of the file the game
    // is written out to whole.
    std::string a_semear() const;
    std::string a_cifrar() const;
    // What an earlier making left, gone: every file but the hold.
    void limpar() const;
    // The game written out put under the game's name (Lugar_Jogo::substituir).
    void por_no_lugar(bool havia) const;
    // Whether this window holds the making (a folder without locks holds
    // nothing).
    bool tomada() const { return dono_.tomado(); }

private:
    std::shared_ptr<Lugar_Jogo> lugar_;
    std::string base_;   // the game's name in its folder
    bool feita_ = false;   // the hold was made by this window, not found
    Bloqueio_Jogo dono_;
};

// How long a making's hold is waited for by a load or a game in play, which
// hold the game (no other window can be making it, only looking), and by a
// new game.
constexpr int Espera_Obra_Carregar = 5000, Espera_Obra_Novo = 250;

// Whether a name ends as a making's files do: no game is made under one.
bool nome_de_obra(const std::string& nome);
// Whether a name ends as the files the engine keeps beside a game while it
// is played do (its log, journal or shared index): no game is made under
// one either.
bool nome_ao_lado(const std::string& nome);

// The files of makings killed halfway in the folder open at `pasta` (or
// named `pasta`), gone: those whose marked hold no window holds, with the
// game's own temporary files no window holds (a copy or a note left
// halfway). Where the folder's locks are this machine's only, what another
// machine may be making is left until it is old.
void limpar_obras_orfas(int pasta);
void limpar_obras_orfas(const std::string& pasta);

} // namespace gv::db
