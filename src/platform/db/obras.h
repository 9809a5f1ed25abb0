#pragma once
// Making a game file anew beside the game: a new game built under other
// names and moved over the chosen one, or a game given a key of its own.
// Its files are held by the window making it from the first to the last;
// what a making that was killed left behind goes once no window holds it.

#include <string>

#include "platform/db/bloqueio_jogo.h"

namespace gv::db {

class Obra {
public:
    // Holds the making of `jogo` (the file itself, not a link to it);
    // `nome` names the game in a refusal: Erro_BD Criado_Noutra_Janela when
    // another window still holds it after `espera_ms` (bloqueio_jogo.h).
    Obra(const std::string& jogo, const std::string& nome, int espera_ms);
    // Its files go with it: a game that took its name is no longer one.
    ~Obra();
    Obra(const Obra&) = delete;
    Obra& operator=(const Obra&) = delete;
    // Where the game is first built, and where it is written out whole.
    const std::string& a_criar() const { return a_criar_; }
    const std::string& a_cifrar() const { return a_cifrar_; }
    // What an earlier making left, gone: the file written out and every
    // journal; the hold's own file is kept.
    void limpar() const;

private:
    std::string a_criar_, a_cifrar_;
    Bloqueio_Jogo dono_;
};

// Puts origem in place of destino in one atomic step, first setting aside
// the journal and log beside destino (the file replaced would have them
// played back onto the new one: they go once it is in place, or come back
// if it fails). With `substituir` false no file stands there to be
// replaced: one that took the name meanwhile is kept, and Erro_BD thrown.
// When the two lie on different file systems origem is first copied
// beside destino.
void substituir_ficheiro(const std::string& origem, const std::string& destino, bool substituir = true);

// The files of makings killed halfway in this folder, gone: those no window
// holds, whatever the game's name.
void limpar_obras_orfas(const std::string& pasta);

} // namespace gv::db
